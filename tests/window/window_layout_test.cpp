#include "tests/support/program_process.h"
#include "tests/support/qt_window_station.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTreeView>
#include <gtest/gtest.h>

namespace quorel {
namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

class WindowLayout : public ::testing::Test {
  protected:
    void SetUp() override { station.start(); }
    test::WindowStation station;
};

TEST_F(WindowLayout, HasEveryControlWithItsCaptionAndToolTip) {
    struct Expected {
        const char* name;
        const char* caption;
        const char* toolTip;
    };
    const Expected buttons[] = {
        {"CmdRelais_0", "Relais 1", " Test relais manuel "},
        {"CmdRelais_1", "Relais 2", " Test relais manuel "},
        {"BtnInti", "Intitialise", ""},
        {"BtnSave", "Sauve", ""},
        {"BtnDelete", "RAZ", " Remise a Zéro "},
        {"BtnCopy", "Copier la journée", " Copier la journée du "},
        {"BtnAjouter", "Ajouter", ""},
        {"BtnReplacer", "Replacer", ""},
        {"BtnSupp", "Supprimer", ""},
    };
    for (const Expected& e : buttons) {
        auto* b = station.find<QPushButton>(e.name);
        ASSERT_NE(b, nullptr) << e.name;
        EXPECT_EQ(b->text(), utf8(e.caption)) << e.name;
        EXPECT_EQ(b->toolTip(), utf8(e.toolTip)) << e.name;
    }
    const Expected labels[] = {
        {"LblHeure", "00:00:00", ""},
        {"Label6", "Etat des Entrées", ""},
        {"Label7", "Etat des Sorties", ""},
        {"Setting", "4800,N,8,1", ""},
        {"Label9", "Sortie", ""},
        {"Label20_0", "H +", ""},
        {"Label20_1", "H +", ""},
        {"Label3", "Durée ''", ""},
        {"Label1", "Entrée", ""},
        {"Label2", "Sortie", ""},
        {"LblTemp_0", "00:00", ""},
        {"LblMaxi_3", "0", ""},
        {"InfoERR", "", ""},
    };
    for (const Expected& e : labels) {
        auto* l = station.find<QLabel>(e.name);
        ASSERT_NE(l, nullptr) << e.name;
        EXPECT_EQ(l->text(), utf8(e.caption)) << e.name;
    }
    const Expected fields[] = {
        {"ChEdit_0", "", " de 1 à 4 "},
        {"ChEdit_1", "", " hh:mn:ss "},
        {"ChEdit_2", "", " en secondes "},
        {"ChDure", "", " en secondes "},
        {"ChDecoupe_0", "", " minutes et secondes ex 02:15 "},
        {"ChDecoupe_1", "", " minutes et secondes ex 02:15 "},
        {"E", "", ""},
        {"S", "", ""},
    };
    for (const Expected& e : fields) {
        auto* f = station.find<QLineEdit>(e.name);
        ASSERT_NE(f, nullptr) << e.name;
        EXPECT_EQ(f->toolTip(), utf8(e.toolTip)) << e.name;
    }
    const char* options[] = {"Désactivé", "COM1:", "COM2:", "COM3:", "COM4:"};
    for (int i = 0; i < 5; ++i) {
        auto* option = station.find<QRadioButton>(QStringLiteral("PortCom_%1").arg(i));
        ASSERT_NE(option, nullptr);
        EXPECT_EQ(option->text(), utf8(options[i]));
        EXPECT_EQ(option->isChecked(), i == 0);
    }
    EXPECT_EQ(station.find<QGroupBox>("Frame9")->title(), utf8(" Port de communication "));
    EXPECT_EQ(station.find<QGroupBox>("FrameQuorel")->title(), utf8(" Quorel "));
    EXPECT_EQ(station.window.windowTitle(),
              utf8("Gestion Quorel révision du 22/06/2020 - USB-RLY02"));
    EXPECT_FALSE(station.window.windowIcon().isNull());

    auto* list = station.find<QTreeView>("Quorel");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "S");
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Heure");
    EXPECT_EQ(list->model()->headerData(2, Qt::Horizontal).toString(), "Temps");
}

TEST_F(WindowLayout, ShowsOnlyOutputsOneAndTwo) {
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < 2;
        const QString n = QString::number(i);
        EXPECT_EQ(station.find<QCheckBox>("CheckS_" + n)->isVisible(), shown) << i;
        EXPECT_EQ(station.find<QFrame>("LedOut_" + n)->isVisible(), shown) << i;
        EXPECT_EQ(station.find<QLabel>("LblTemp_" + n)->isVisible(), shown) << i;
        EXPECT_EQ(station.find<QLabel>("LblMaxi_" + n)->isVisible(), shown) << i;
        auto* input = station.find<QFrame>("LedSat_" + n);
        ASSERT_NE(input, nullptr);
        EXPECT_FALSE(input->isVisible());
    }
    EXPECT_FALSE(station.find<QLabel>("Label6")->isVisible());
    // The controls below the client area exist but lie outside it.
    auto* client = station.window.centralWidget();
    EXPECT_FALSE(client->rect().contains(station.find<QLineEdit>("E")->geometry()));
}

TEST_F(WindowLayout, PlacesControlsAtTheirDesignPlaces) {
    EXPECT_EQ(station.window.centralWidget()->size(), QSize(504, 460));
    EXPECT_EQ(station.find<QGroupBox>("FrameQuorel")->geometry(), QRect(172, 12, 313, 413));
    EXPECT_EQ(station.find<QPushButton>("CmdRelais_1")->geometry(), QRect(16, 368, 121, 27));
    // A caption wider than its design place grows from the place's left edge.
    const QRect option = station.find<QRadioButton>("PortCom_4")->geometry();
    EXPECT_EQ(option.left(), 20);
    EXPECT_NEAR(option.center().y(), 124 + 17 / 2, 1);
    EXPECT_GE(option.width(), 73);
    EXPECT_GE(option.width(), station.find<QRadioButton>("PortCom_4")->sizeHint().width());
    EXPECT_EQ(station.find<QLabel>("InfoERR")->geometry(), QRect(8, 432, 477, 21));
}

TEST_F(WindowLayout, HasTheOptionsMenuAndAHiddenDayMenu) {
    QMenuBar* bar = station.window.menuBar();
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "Options");
    auto* autorun = station.window.findChild<QAction*>("mnuautorun");
    ASSERT_NE(autorun, nullptr);
    EXPECT_EQ(autorun->text(), utf8("Démarrer avec Windows"));
    EXPECT_TRUE(autorun->isCheckable());
    EXPECT_FALSE(autorun->isChecked());
    EXPECT_EQ(station.window.findChild<QAction*>("MnuQuit")->text(), "Quitter");
    auto* days = station.find<QMenu>("mnuJour");
    ASSERT_NE(days, nullptr);
    ASSERT_EQ(days->actions().size(), 7);
    EXPECT_EQ(days->actions()[6]->text(), "Dimanche");
    EXPECT_EQ(days->actions()[6]->objectName(), "Jour_7");
}

TEST_F(WindowLayout, KeepsItsSizeButLetsTheWindowBeMaximised) {
    const QSize start = station.window.size();
    EXPECT_EQ(station.program.InitialWidth, start.width() * 15);
    EXPECT_EQ(station.program.InitialHeight, start.height() * 15);
    station.window.resize(800, 600);
    EXPECT_EQ(station.window.size(), start);
    // Maximising is the platform's business: the maximised size stays.
    station.window.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(station.window.frameGeometry().size(),
              station.window.screen()->availableGeometry().size());
}

TEST(WindowPicture, ShowsAStationInService) {
    // A Monday morning: the port in service and a bell ringing for three seconds now.
    test::WindowStation station;
    station.clock.set(LocalDate{2020, 6, 22}, 7 * 3600 + 59 * 60 + 59.9);
    station.folder.write("Quorel.ini", "1\r\n");
    station.folder.write("Quorel.0", "\"1\",\"08:00:00\",\"5\"\r\n\"1\",\"10:00:00\",\"5\"\r\n"
                                     "\"2\",\"10:15:00\",\"600\"\r\n\"1\",\"12:00:00\",\"5\"\r\n"
                                     "\"1\",\"13:30:00\",\"5\"\r\n\"1\",\"16:30:00\",\"10\"\r\n");
    station.start();
    station.clock.advance(0.2);
    station.program.tick.TimerSat_Timer();
    station.clock.advance(3);
    station.program.tick.TimerSat_Timer();
    ASSERT_EQ(station.find<QLabel>("LblTemp_0")->text(), "00:03");

    const QString path =
        QDir(QString::fromStdString(test::buildFolder())).filePath("quorel-window.png");
    const QPixmap picture = station.window.grab();
    ASSERT_TRUE(picture.save(path));
    EXPECT_EQ(picture.size(), station.window.size());
}

} // namespace
} // namespace quorel
