#include "tests/support/qt_window_station.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTime>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace quorel {
namespace {

class EditorWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        station.clock.set(LocalDate{2020, 6, 23}, 8 * 3600); // a Tuesday: "Mardi" is today
        station.start();
        list = station.find<QTreeView>("Quorel");
        days = station.find<QListWidget>("JourSemaine");
    }

    void type(const char* field, const char* text) {
        auto* edit = station.find<QLineEdit>(field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        // keyClicks cannot send non-ASCII characters; send each one as its own key event.
        for (QChar c : QString::fromUtf8(text)) {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }

    void click(const char* button) {
        QTest::mouseClick(station.find<QPushButton>(button), Qt::LeftButton);
    }

    QString cell(int row, int column) {
        return list->model()->index(row, column).data().toString();
    }

    void clickDay(int row) {
        const QRect place = days->visualItemRect(days->item(row));
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, place.center());
    }

    test::WindowStation station;
    QTreeView* list = nullptr;
    QListWidget* days = nullptr;
};

TEST_F(EditorWindow, TypedEntryIsAddedSavedAndShownAgain) {
    EXPECT_EQ(days->currentRow(), 1);
    EXPECT_EQ(days->count(), 7);
    type("ChEdit_0", "2");
    type("ChEdit_1", "07:45:00");
    type("ChEdit_2", "5");
    click("BtnAjouter");
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), "07:45:00");
    click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.1"), "\"2\",\"07:45:00\",\"5\"\r\n");

    clickDay(4);
    EXPECT_EQ(list->model()->rowCount(), 0);
    clickDay(1);
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), "2");
    EXPECT_EQ(cell(0, 2), "5");
    EXPECT_TRUE(station.dialogs.messages.empty());
}

TEST_F(EditorWindow, RefusesAnOutputOutsideTheRange) {
    type("ChEdit_0", "3");
    type("ChEdit_1", "07:45:00");
    click("BtnAjouter");
    ASSERT_EQ(station.dialogs.messages.size(), 1u);
    EXPECT_EQ(station.dialogs.messages[0].text, "Saisie invalide Sortie de 1 à 2 seulement");
    EXPECT_EQ(station.dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(list->model()->rowCount(), 0);
}

TEST_F(EditorWindow, ListClicksKeysAndHeadersReachTheEditor) {
    station.folder.write("Quorel.1", "\"1\",\"12:00:00\",\"10\"\r\n\"2\",\"07:45:00\",\"5\"\r\n"
                                     "\"1\",\"7:00:00\",\"60\"\r\n");
    clickDay(0);
    clickDay(1);
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 1), "07:45:00"); // loaded in time-text order
    EXPECT_EQ(cell(2, 1), "7:00:00");

    // A time that can never match the clock is shown as such.
    EXPECT_TRUE(list->model()->index(2, 1).data(Qt::ToolTipRole).toString().contains("jamais"));
    EXPECT_FALSE(list->model()->index(0, 1).data(Qt::ToolTipRole).isValid());

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 1)).center());
    EXPECT_EQ(station.find<QLineEdit>("ChEdit_1")->text(), "12:00:00");
    EXPECT_EQ(station.find<QLineEdit>("ChEdit_2")->text(), "10");

    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    EXPECT_EQ(cell(0, 2), "10");
    EXPECT_EQ(cell(1, 2), "5");
    EXPECT_EQ(cell(2, 2), "60");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_A); // another key: nothing
    EXPECT_EQ(list->model()->rowCount(), 3);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 2);
}

TEST_F(EditorWindow, FlagsRowsBeyondTheDaysCapacity) {
    std::string bytes;
    for (int minute = 0; minute < 601; ++minute) {
        bytes += "\"1\",\"" + QTime(0, 0).addSecs(minute * 60).toString("hh:mm:ss").toStdString() +
                 "\",\"5\"\r\n";
    }
    station.folder.write("Quorel.1", bytes);
    clickDay(0);
    clickDay(1);
    ASSERT_EQ(list->model()->rowCount(), 601);
    EXPECT_FALSE(list->model()->index(599, 1).data(Qt::ToolTipRole).isValid());
    EXPECT_TRUE(
        list->model()->index(600, 1).data(Qt::ToolTipRole).toString().contains("600 premières"));
}

TEST_F(EditorWindow, CopiesAnotherDayThroughThePopUpMenu) {
    station.folder.write("Quorel.0", "\"1\",\"09:00:00\",\"3\"\r\n");
    clickDay(4); // Vendredi is being edited
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr) {
            menu->actions()[0]->trigger(); // "Lundi"
            menu->close();
        }
    });
    click("BtnCopy");
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(days->currentRow(), 4);
    click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.4"), "\"1\",\"09:00:00\",\"3\"\r\n");
    EXPECT_EQ(station.folder.read("Quorel.0"), "\"1\",\"09:00:00\",\"3\"\r\n");

    QTimer::singleShot(50, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menu->close(); // dismissed: nothing happens
        }
    });
    station.program.list.clear();
    click("BtnCopy");
    EXPECT_EQ(station.program.list.count(), 0);
}

TEST_F(EditorWindow, GeneratesASeriesFromTheSeriesFields) {
    type("ChDecoupe_0", " 02:15 ");
    type("ChDure", "5");
    click("BtnInti");
    ASSERT_EQ(list->model()->rowCount(), 24);
    EXPECT_EQ(cell(23, 1), "23:02:15");
    EXPECT_EQ(cell(0, 0), "1");
}

} // namespace
} // namespace quorel
