#include "tests/support/window_station.h"
#include "ui/qt/colours.h"
#include "ui/qt/qt_form_screen.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace quorel {
namespace {

enum Control { Name, List, Active, State, Ok, Cancel };

// A dialog of a field, a list, a check box and a label: "Ok" adds the name typed as a row and
// empties the field; the check box stays unchecked; a row picked waits for the click's end.
FormDescription tinyDialog() {
    FormDescription dialog{.name = "FEssai",
                           .title = "Essai",
                           .clientWidth = 4500,
                           .clientHeight = 3000,
                           .resizable = true,
                           .cancelButton = "BtnAnnuler"};
    dialog.controls = {
        {.name = "ChNom",
         .kind = ControlKind::TextField,
         .place = {150, 150, 3000, 300},
         .content = 0,
         .events = {0},
         .anchors = {.right = true}},
        {.name = "Liste",
         .kind = ControlKind::ReportList,
         .place = {150, 600, 3000, 1500},
         .content = 0,
         .events = {0},
         .columns = {{"Nom"}, {"N"}},
         .anchors = {.right = true, .bottom = true}},
        {.name = "CaseActive",
         .kind = ControlKind::CheckBox,
         .caption = "Active",
         .place = {3300, 150, 900, 300},
         .content = 0,
         .events = {0}},
        {.name = "LblEtat",
         .place = {150, 2250, 1500, 300},
         .content = 0,
         .clipsText = true,
         .anchors = {.top = false, .bottom = true}},
        {.name = "BtnOk",
         .kind = ControlKind::PushButton,
         .caption = "Ok",
         .place = {3300, 2550, 1050, 330},
         .events = {0}},
        {.name = "BtnAnnuler",
         .kind = ControlKind::PushButton,
         .caption = "Annuler",
         .place = {3300, 600, 1050, 330},
         .events = {0},
         .anchors = {.left = false, .right = true}},
    };
    return dialog;
}

struct TinyForm final : Form {
    FormDescription shape = tinyDialog();
    QStringList inputs;
    std::string name;
    std::vector<std::vector<std::string>> rows;
    bool done = false;

    const FormDescription& description() const override { return shape; }
    ControlValue value(size_t control, bool) const override {
        switch (control) {
        case Name:
            return {.text = name};
        case List:
            return {.rows = rows, .rowLooks = {Look::Plain, Look::Warning}};
        case State:
            return {.text = rows.size() < 2 ? "Prêt" : "Deux lignes, et beaucoup plus encore"};
        default:
            return {};
        }
    }
    void raise(const ControlInput& input) override {
        inputs << QString("%1 %2 %3")
                      .arg(shape.controls[input.control].name)
                      .arg(static_cast<int>(input.action))
                      .arg(input.row ? QString::number(*input.row)
                                     : QString::fromStdString(input.text));
        if (input.control == Name) {
            name = input.text;
        } else if (input.control == Ok) {
            rows.push_back({name, std::to_string(rows.size() + 1)});
            name.clear();
        }
        done = input.control == Cancel;
    }
    bool ended() const override { return done; }
    bool waitsForInputEnd(const ControlInput& input) const override {
        return input.control == List;
    }
};

TEST(FormScreen, DrawsTheFormsValuesHandsItTheOperatorsActionsAndClosesOnceItHasEnded) {
    test::ensureQtApplication();
    TinyForm form;
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* field = dialog->findChild<QLineEdit*>("ChNom");
        auto* list = dialog->findChild<QTreeWidget*>("Liste");
        auto* label = dialog->findChild<QLabel*>("LblEtat");
        const int type = QFontInfo(label->font()).pixelSize();
        seen << dialog->objectName() + " " + dialog->windowTitle() + " " + label->text();
        QTest::keyClicks(field, "ab");
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnOk"), Qt::LeftButton);
        QTest::keyClicks(field, "c");
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnOk"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QCheckBox*>("CaseActive"), Qt::LeftButton);
        seen << "[" + field->text() + "] " + list->topLevelItem(1)->text(0) +
                    list->topLevelItem(1)->text(1) + " " + label->text();
        EXPECT_EQ(list->topLevelItem(1)->background(0).color(), warningBackgroundColour());
        EXPECT_LT(QFontInfo(label->font()).pixelSize(), type); // a text too wide: smaller
        EXPECT_FALSE(dialog->findChild<QCheckBox*>("CaseActive")->isChecked());

        const QRect listPlace = list->geometry();
        const QRect cancelPlace = dialog->findChild<QWidget*>("BtnAnnuler")->geometry();
        dialog->resize(dialog->size() + QSize(40, 30));
        EXPECT_EQ(list->geometry(), listPlace.adjusted(0, 0, 40, 30));
        EXPECT_EQ(dialog->findChild<QWidget*>("BtnAnnuler")->geometry(),
                  cancelPlace.translated(40, 0));
        EXPECT_EQ(label->y(), 150 + 30);

        list->setCurrentItem(list->topLevelItem(0));
        seen << QString::number(form.inputs.size()); // the pick waits for the event loop
        QApplication::processEvents();
        QTest::keyClick(dialog, Qt::Key_Escape);
        seen << (dialog->isVisible() ? "open" : "closed");
    });
    QtFormScreen(nullptr).show(form);
    EXPECT_EQ(seen, (QStringList{"FEssai Essai Prêt", "[] c2 Deux lignes, et beaucoup plus encore",
                                 "6", "closed"}));
    EXPECT_EQ(form.inputs,
              (QStringList{"ChNom 1 a", "ChNom 1 ab", "BtnOk 0 ", "ChNom 1 c", "BtnOk 0 ",
                           "CaseActive 0 ", "Liste 2 0", "BtnAnnuler 0 "}));
}

} // namespace
} // namespace quorel
