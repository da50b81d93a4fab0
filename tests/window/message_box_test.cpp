#include "platform/qt_dialogs.h"
#include "tests/support/qt_window_station.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(MessageBox, IsModalCaptionedWithTheApplicationTitleAndHasOnlyOk) {
    test::ensureQtApplication();
    QtDialogs dialogs;
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
    };
    std::vector<Seen> seen;
    for (MessageIcon icon : {MessageIcon::Critical, MessageIcon::None}) {
        QTimer::singleShot(50, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            seen.push_back({box->windowTitle(), box->text(), box->icon(),
                            static_cast<int>(box->buttons().size())});
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.message("Saisie invalide Sortie de 1 à 2 seulement", icon);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Gestion Quorel");
    EXPECT_EQ(seen[0].text, QString::fromUtf8("Saisie invalide Sortie de 1 à 2 seulement"));
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(seen[0].buttons, 1);
    EXPECT_EQ(seen[1].icon, QMessageBox::NoIcon);
}

} // namespace
} // namespace quorel
