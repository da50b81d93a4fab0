#include "platform/qt/qt_dialogs.h"
#include "relay/relay_bytes.h"
#include "tests/support/window_station.h"
#include "ui/qt/colours.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace quorel {
namespace {

struct Window : ::testing::Test {
    template <typename Widget = QWidget> Widget* find(const char* name) {
        return station.find<Widget>(name);
    }
    void click(const char* button) { QTest::mouseClick(find(button), Qt::LeftButton); }
    void clickDay(int row) {
        QTest::mouseClick(days->viewport(), Qt::LeftButton, {},
                          days->visualItemRect(days->item(row)).center());
        QApplication::processEvents(); // a question waits until the click is over
    }
    QString cell(int row, int column, int role = Qt::DisplayRole) {
        return list->model()->index(row, column).data(role).toString();
    }
    QString row(int index) { return cell(index, 0) + " " + cell(index, 1) + " " + cell(index, 2); }
    QString text(const char* label) { return find<QLabel>(label)->text(); }
    QString style(const char* control) { return find(control)->styleSheet(); }
    void tick(double s) { station.clock.advance(s), station.program.tick.TimerSat_Timer(); }

    test::WindowStation station;
    QTreeView* list = find<QTreeView>("Quorel");
    QListWidget* days = find<QListWidget>("JourSemaine");
};

TEST_F(Window, ShowsEachControlWithItsCaptionAndToolTipInItsPlaceAndKeepsItsSize) {
    station.start();
    QStringList shown{station.window.windowTitle()};
    for (QWidget* w : station.window.findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_") && !w->isHidden()) {
            const char* caption = qobject_cast<QGroupBox*>(w) != nullptr ? "title" : "text";
            const QString tip = w->toolTip().isEmpty() ? "" : "[" + w->toolTip() + "]";
            shown << w->objectName() + "=" + w->property(caption).toString() + tip;
        }
    }
    for (QAction* action : station.window.findChildren<QAction*>()) {
        if (action->isVisible()) {
            shown << action->objectName() + "=" + action->text();
        }
    }
    for (int column = 0; column < 3; ++column) {
        shown << list->model()->headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(
        shown.join(" ").toStdString(),
        "Gestion Quorel révision du 22/06/2020 - USB-RLY02 client= Frame9= Port de "
        "communication  Setting=4800,N,8,1 PortCom_0=Désactivé PortCom_1=COM1: "
        "PortCom_2=COM2: PortCom_3=COM3: PortCom_4=COM4: LblHeure=00:00:00[Synchronisation "
        "inconnue] "
        "LblProchaine=Sonneries arrêtées[Sonneries arrêtées] Label7=Etat des Sorties "
        "CheckS_0=S1 LedOut_0= LblTemp_0=00:00 LblMaxi_0=0 CheckS_1=S2 LedOut_1= "
        "LblTemp_1=00:00 LblMaxi_1=0 CmdRelais_0=Relais 1[ Test relais manuel ] "
        "CmdRelais_1=Relais 2[ Test relais manuel ] InfoERR= FrameQuorel= Quorel  Label9=Sortie "
        "Label20_0=H + Label20_1=H + Label3=Durée '' ComboS= ChDecoupe_0=[ minutes et secondes "
        "ex 02:15 ] ChDecoupe_1=[ minutes et secondes ex 02:15 ] ChDure=[ en secondes ] "
        "BtnInti=Intitialise Quorel= JourSemaine= BtnSave=Sauve BtnDelete=RAZ[ Remise a Zéro ] "
        "BtnCopy=Copier la journée[ Copier la journée du ] ChEdit_0=[ de 1 à 4 ] ChEdit_1=[ "
        "hh:mn:ss ] ChEdit_2=[ en secondes ] BtnAjouter=Ajouter BtnReplacer=Replacer "
        "BtnSupp=Supprimer Label1=Entrée Label2=Sortie E= S= =Options mnuautorun=Démarrer "
        "avec Windows MnuJoursSansSonnerie=Jours sans sonnerie… MnuHorairesParticuliers=Horaires "
        "particuliers… MnuPorts=Ports… "
        "MnuJournal=Journal… "
        "MnuQuit=Quitter =Signaux MnuArreterSignal=Arrêter le signal "
        "MnuSuspendre=Suspendre les sonneries MnuSignaux=Signaux… = "
        "=Jour "
        "Jour_1=Lundi Jour_2=Mardi Jour_3=Mercredi Jour_4=Jeudi Jour_5=Vendredi Jour_6=Samedi "
        "Jour_7=Dimanche S Heure Temps");
    EXPECT_FALSE(station.window.windowIcon().isNull());
    EXPECT_EQ(station.window.menuBar()->actions().size(), 2); // "Jour" is a pop-up only

    QWidget* client = station.window.centralWidget();
    EXPECT_EQ(client->size(), QSize(504, 460));
    EXPECT_EQ(find("FrameQuorel")->geometry(), QRect(172, 12, 313, 413));
    EXPECT_EQ(find("CmdRelais_1")->geometry(), QRect(16, 368, 121, 27));
    EXPECT_EQ(find("InfoERR")->geometry(), QRect(8, 432, 477, 21));
    // A caption wider than its design place grows from the place's left edge.
    const QRect option = find("PortCom_4")->geometry();
    EXPECT_EQ(option.left(), 20);
    EXPECT_NEAR(option.center().y(), 124 + 17 / 2, 1);
    EXPECT_GE(option.width(), std::max(73, find("PortCom_4")->sizeHint().width()));
    // The controls below the client area exist but lie outside it.
    EXPECT_FALSE(client->rect().contains(find("E")->geometry()));

    const QSize size = station.window.size();
    EXPECT_EQ(station.program.InitialWidth, size.width() * 15);
    EXPECT_EQ(station.program.InitialHeight, size.height() * 15);
    station.window.resize(800, 600);
    EXPECT_EQ(station.window.size(), size);
    // Maximising is the platform's business: the maximised size stays.
    station.window.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(station.window.frameGeometry().size(),
              station.window.screen()->availableGeometry().size());
}

TEST_F(Window, TypedEntryIsAddedSavedAndShownAgainAndSeriesFollow) {
    station.start({2020, 6, 23}, 8 * 3600); // a Tuesday: "Mardi" is today
    EXPECT_EQ(days->currentRow(), 1);
    EXPECT_EQ(days->count(), 7);
    QTest::keyClicks(find("ChEdit_0"), "2");
    QTest::keyClicks(find("ChEdit_1"), "07:45:00");
    QTest::keyClicks(find("ChEdit_2"), "5");
    click("BtnAjouter");
    ASSERT_EQ(list->model()->rowCount(), 1);
    click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.1"), "\"2\",\"07:45:00\",\"5\"\r\n");
    clickDay(4);
    EXPECT_EQ(list->model()->rowCount(), 0);
    clickDay(1);
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(row(0), "2 07:45:00 5");

    QTest::keyClicks(find("ChDecoupe_0"), " 02:15 ");
    QTest::keyClicks(find("ChDure"), "6");
    click("BtnInti");
    ASSERT_EQ(list->model()->rowCount(), 25);
    EXPECT_EQ(row(24), "1 23:02:15 6");
    EXPECT_TRUE(station.dialogs.messages.empty());
}

TEST_F(Window, ListClicksKeysHeadersAndTheDayCopyMenuReachTheEditor) {
    station.start({2020, 6, 23}, 8 * 3600,
                  {{"Quorel.0", "\"1\",\"07:00:00\",\"60\"\r\n\"2\",\"07:45:00\",\"5\"\r\n"
                                "\"1\",\"12:00:00\",\"10\"\r\n"}});
    clickDay(0); // loaded while the window is shown
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(2, 1)).center());
    EXPECT_EQ(find<QLineEdit>("ChEdit_1")->text(), "12:00:00");
    EXPECT_EQ(find<QLineEdit>("ChEdit_2")->text(), "10");

    QHeaderView* header = list->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
    EXPECT_EQ(row(0) + " " + row(2), "1 12:00:00 10 1 07:00:00 60");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_A); // another key: nothing
    EXPECT_EQ(list->model()->rowCount(), 3);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 2);

    clickDay(4); // Vendredi is being edited
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr) {
            menu->actions()[0]->trigger(); // "Lundi"
            menu->close();
        }
    });
    click("BtnCopy");
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(days->currentRow(), 4);
    click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.4"), station.folder.read("Quorel.0"));
}

TEST_F(Window, FlagsRowsThatWillNeverRing) {
    std::string bytes = "1,07:00:00,5\r\n"; // sorted behind 600 rows that never match
    for (int row = 0; row < 600; ++row) {
        bytes += "1,0,5\r\n";
    }
    station.start({2020, 6, 22}, 8 * 3600, {{"Quorel.0", bytes}});
    EXPECT_TRUE(cell(599, 1, Qt::ToolTipRole).contains("jamais : l'heure"));
    EXPECT_TRUE(cell(600, 1, Qt::ToolTipRole).contains("600 premières"));
}

TEST_F(Window, ThePortChoiceStartsTheSchedulerTheWindowShowsItAndDaysWithoutBellsSilenceIt) {
    // A Monday morning: the port in service and a bell ringing; the picture is the README's.
    station.start(
        {2020, 6, 22}, 7 * 3600 + 44 * 60 + 59.5,
        {{"Quorel.0", "\"1\",\"07:45:00\",\"5\"\r\n\"1\",\"10:00:00\",\"5\"\r\n\"2\",\"10:15:00\","
                      "\"600\"\r\n\"1\",\"12:00:00\",\"5\"\r\n\"1\",\"16:30:00\",\"10\"\r\n"}});
    QTest::mouseClick(find("PortCom_1"), Qt::LeftButton);
    EXPECT_EQ(text("InfoERR"), "Init COM1:4800,N,8,1 Ok");
    EXPECT_TRUE(station.timer.isEnabled());
    EXPECT_EQ(text("LblProchaine"), "Prochaine sonnerie\n07:45:00 - S1 - 5 s");
    EXPECT_TRUE(style("LblProchaine").isEmpty());
    tick(0.6);
    EXPECT_EQ(text("LblHeure"), "07:45:00");
    EXPECT_EQ(text("LblMaxi_0"), "5");
    EXPECT_EQ(text("LblTemp_0"), "--:--");
    EXPECT_TRUE(style("LedOut_0").contains("#00ff00"));
    tick(3);
    EXPECT_EQ(text("LblTemp_0"), "00:03");
    const QPixmap picture = station.window.grab();
    EXPECT_TRUE(picture.save(QUOREL_BUILD_DIR "/quorel-window.png"));

    tick(3);
    EXPECT_TRUE(style("LedOut_0").contains("#00c000"));

    // Days without bells are edited in their dialog and silence the day.
    auto* menu = station.window.findChild<QAction*>("MnuJoursSansSonnerie");
    const auto inDialog = [](const std::function<void(QWidget*)>& act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(dialog);
            if (dialog->isVisible()) { // a failed step must not leave the test waiting
                ADD_FAILURE() << "the dialog is still open";
                dialog->reject();
            }
        });
    };
    const auto pushIn = [](QWidget* dialog, const char* button) {
        QTest::mouseClick(dialog->findChild<QWidget*>(button), Qt::LeftButton);
    };
    QTreeWidget* periods = nullptr;
    inDialog([&](QWidget* dialog) {
        ASSERT_EQ(dialog->windowTitle(), "Jours sans sonnerie");
        periods = dialog->findChild<QTreeWidget*>("JoursSansSonnerie");
        dialog->findChild<QDateEdit*>("ChDu")->setDate(QDate(2020, 6, 23));
        pushIn(dialog, "BtnAjouterPeriode"); // "Au" is still today
        dialog->findChild<QLineEdit*>("ChMotif")->setText("Grève");
        dialog->findChild<QDateEdit*>("ChDu")->setDate(QDate(2020, 6, 22));
        pushIn(dialog, "BtnAjouterPeriode");
        pushIn(dialog, "BtnJoursFeries");
        EXPECT_EQ(periods->topLevelItemCount(), 23);
        EXPECT_EQ(periods->topLevelItem(0)->text(0), "01/01/2020");
        EXPECT_NE(periods->topLevelItem(0)->foreground(0),
                  periods->topLevelItem(22)->foreground(0));
        pushIn(dialog, "BtnEnregistrer");
    });
    menu->trigger();
    ASSERT_EQ(station.dialogs.messages.size(), 1u);
    EXPECT_NE(station.dialogs.messages[0].text.find("(22/06/2020) précède"), std::string::npos);
    const std::string saved = station.folder.read("Quorel.conges");
    EXPECT_NE(saved.find("\"2020-06-22\",\"2020-06-22\",\"Gr\xE8ve\"\r\n"), std::string::npos);
    EXPECT_EQ(text("LblProchaine"), "Jour sans sonnerie\nGrève");
    EXPECT_FALSE(style("LblProchaine").isEmpty());

    inDialog([&](QWidget* dialog) { // "Annuler" leaves the file as it is
        periods = dialog->findChild<QTreeWidget*>("JoursSansSonnerie");
        periods->setCurrentItem(periods->topLevelItem(0));
        pushIn(dialog, "BtnSupprimerPeriode");
        EXPECT_EQ(periods->topLevelItemCount(), 22);
        pushIn(dialog, "BtnAnnuler");
    });
    menu->trigger();
    EXPECT_EQ(station.folder.read("Quorel.conges"), saved);

    QTest::mouseClick(find("PortCom_0"), Qt::LeftButton);
    EXPECT_EQ(text("InfoERR"), "Port COM Close OK !");
    EXPECT_FALSE(station.timer.isEnabled());
    EXPECT_TRUE(find("InfoERR")->toolTip().isEmpty());
    station.link.openError = SerialError::DeviceBusy; // its tool tip says what to do
    QTest::mouseClick(find("PortCom_2"), Qt::LeftButton);
    EXPECT_TRUE(find("InfoERR")->toolTip().contains("dialout")) << text("InfoERR").toStdString();
}

// The dialog "Ports" offers the devices present, types a name by hand, finds the module for the
// option in use, and the port reopens on it once saved.
TEST_F(Window, ThePortsDialogFindsTheModuleAndThePortInUseReopensOnIt) {
    station.ports.ports = {{"/dev/ttyUSB0", "", "/dev/ttyUSB0"},
                           {"/dev/serial/by-id/usb-relay", "/dev/ttyACM1", "/dev/ttyACM1"}};
    station.ports.replies = {{"/dev/ttyUSB0", {}}, {"/dev/serial/by-id/usb-relay", {10, 3}}};
    station.start({2020, 6, 22}, 10 * 3600);
    QTest::mouseClick(find("PortCom_1"), Qt::LeftButton);
    const uint32_t openings = station.link.openings();
    QStringList shown;
    QTimer::singleShot(0, &station.window, [&] {
        auto* dialog = station.window.findChild<QDialog*>("FPorts");
        const auto field = [dialog](int option) {
            return dialog->findChild<QComboBox*>(QString("CbPort_%1").arg(option));
        };
        shown << dialog->windowTitle() << dialog->findChild<QLabel*>("LblPort_3")->text()
              << field(0)->currentText() << field(3)->itemText(1);
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnDetecter"), Qt::LeftButton);
        shown << dialog->findChild<QLabel*>("LblDetection")->text() << field(0)->currentText();
        field(1)->lineEdit()->clear();
        QTest::keyClicks(field(1)->lineEdit(), "/dev/ttyS4");
        QTest::keyClick(field(2), Qt::Key_Down); // the second device present
        shown << field(2)->currentText();
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnEnregistrer"), Qt::LeftButton);
        shown << (dialog->isVisible() ? "still open" : "closed");
    });
    station.window.findChild<QAction*>("MnuPorts")->trigger();
    EXPECT_EQ(
        shown,
        (QStringList{"Ports", "COM4:", "/dev/ttyACM0", "/dev/serial/by-id/usb-relay — /dev/ttyACM1",
                     "Module USB-RLY02, version 3 trouvé sur "
                     "/dev/serial/by-id/usb-relay, choisi pour COM1:",
                     "/dev/serial/by-id/usb-relay", "/dev/serial/by-id/usb-relay", "closed"}));
    EXPECT_EQ(station.store.values, (std::map<std::string, std::string>{
                                        {"VornAlmare/Ports/COM1", "/dev/serial/by-id/usb-relay"},
                                        {"VornAlmare/Ports/COM2", "/dev/ttyS4"},
                                        {"VornAlmare/Ports/COM3", "/dev/serial/by-id/usb-relay"}}));
    EXPECT_EQ(station.link.openings(), openings + 1);
    EXPECT_EQ(text("InfoERR"), "Init COM1:4800,N,8,1 Ok");
}

// The dialog "Horaires particuliers" adds a special timetable and a period that rings it today,
// and shows a record that does not ring in the warning colours; once saved, the day list and the
// pop-up "Jour" list the timetable and the label names it.
TEST_F(Window, SpecialTimetablesAreEditedInTheirDialogAndListedWithTheDays) {
    station.start({2020, 6, 22}, 8 * 3600,
                  {{"Quorel.0", "\"1\",\"09:00:00\",\"5\"\r\n"},
                   {"Quorel.horaires", "\"2020-13-01\",\"2020-13-02\",\"4\"\r\n"}});
    QTest::mouseClick(find("PortCom_1"), Qt::LeftButton);
    QStringList shown;
    QTimer::singleShot(0, &station.window, [&] {
        auto* dialog = station.window.findChild<QDialog*>("FHorairesParticuliers");
        const auto push = [dialog](const char* button) {
            QTest::mouseClick(dialog->findChild<QWidget*>(button), Qt::LeftButton);
        };
        QTest::keyClicks(dialog->findChild<QLineEdit*>("ChNom"), "Examens");
        push("BtnAjouterHoraire");
        auto* name = dialog->findChild<QLineEdit*>("ChNom");
        shown << "[" + name->text() + "]";
        dialog->findChild<QListWidget*>("ListeHoraires")->setCurrentRow(0);
        shown << name->text(); // the name of the timetable chosen, to rename it
        auto* choices = dialog->findChild<QComboBox*>("ComboHoraire");
        QTest::keyClick(choices, Qt::Key_End);
        push("BtnAjouterPeriode");
        auto* periods = dialog->findChild<QTreeWidget*>("Periodes");
        shown << dialog->windowTitle()
              << dialog->findChild<QListWidget*>("ListeHoraires")->item(0)->text();
        for (int row = 0; row < periods->topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = periods->topLevelItem(row);
            shown << item->text(0) + " " + item->text(1) + " " + item->text(2) + " [" +
                         item->toolTip(0) + "]";
        }
        shown << (periods->topLevelItem(1)->background(0).color() == warningBackgroundColour()
                      ? "warning"
                      : "plain");
        push("BtnEnregistrer");
    });
    station.window.findChild<QAction*>("MnuHorairesParticuliers")->trigger();
    EXPECT_EQ(shown, (QStringList{"[]", "Examens", "Horaires particuliers", "Examens",
                                  "22/06/2020 22/06/2020 Examens []",
                                  "2020-13-01 2020-13-02 4 [Date inexistante : période ignorée]",
                                  "warning"}));
    ASSERT_EQ(days->count(), 8);
    EXPECT_EQ(days->item(7)->text(), "Examens");
    EXPECT_TRUE(find<QAction>("Jour_8")->isVisible());
    EXPECT_EQ(find<QAction>("Jour_8")->text(), "Examens");
    EXPECT_FALSE(find<QAction>("Jour_9")->isVisible());
    EXPECT_EQ(text("LblProchaine"), "Horaire particulier « Examens »\naucune aujourd'hui");
    EXPECT_TRUE(find("LblProchaine")->toolTip().contains("du 22/06/2020 au 22/06/2020"));
    clickDay(7); // the special timetable is edited as a day is
    EXPECT_EQ(list->model()->rowCount(), 0);
    find<QAction>("Jour_1")->trigger(); // Monday's rows copied in
    EXPECT_EQ(row(0), "1 09:00:00 5");
    click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.7"), "\"1\",\"09:00:00\",\"5\"\r\n");
}

TEST_F(Window, TheJournalShowsTheLinesOfTheDayPickedNewestAtTheBottom) {
    station.start({2020, 6, 22}, 10 * 3600);
    QStringList shown;
    QTimer::singleShot(0, &station.window, [&] { // dropped with the window if never run
        auto* dialog = station.window.findChild<QDialog*>("FJournal");
        auto* lines = dialog->findChild<QPlainTextEdit*>("TexteJournal");
        shown << dialog->windowTitle() << lines->toPlainText()
              << (lines->isReadOnly() && lines->textCursor().atEnd() ? "at the end" : "");
        dialog->findChild<QDateEdit*>("ChDateJournal")->setDate(QDate(2020, 6, 21));
        shown << lines->toPlainText();
        dialog->reject();
    });
    station.window.findChild<QAction*>("MnuJournal")->trigger();
    EXPECT_EQ(shown, (QStringList{"Journal",
                                  "10:00:00.000 Démarrage de Quorel " QUOREL_VERSION "\n"
                                  "10:00:00.000 Horaire du jour chargé : 0 entrée\n",
                                  "at the end", "Aucun événement ce jour."}));
}

// The signals' dialog adds a signal, which the menu "Signaux" then offers and starts.
TEST_F(Window, TheSignalsDialogAddsASignalThatTheMenuStarts) {
    station.start({2020, 6, 22}, 10 * 3600);
    station.program.portChoice.select(1);
    QTimer::singleShot(0, &station.window, [&] {
        auto* dialog = station.window.findChild<QDialog*>("FSignaux");
        QTest::keyClicks(dialog->findChild<QLineEdit*>("ChNom"), "Alerte");
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnAjouter"), Qt::LeftButton);
        EXPECT_EQ(dialog->findChild<QTreeWidget*>("ListeSignaux")->topLevelItemCount(), 1);
        QTest::mouseClick(dialog->findChild<QWidget*>("BtnEnregistrer"), Qt::LeftButton);
    });
    station.window.findChild<QAction*>("MnuSignaux")->trigger();
    EXPECT_EQ(station.folder.read("Quorel.signaux"), "\"Alerte\",\"1\",\"1,1\",\"0\"\r\n");
    auto* signal = station.window.findChild<QAction*>("Signal_1");
    EXPECT_TRUE(signal->isVisible());
    EXPECT_EQ(signal->text(), "Alerte");
    station.dialogs.answer = [](const std::string&) { return Answer::Yes; };
    signal->trigger();
    ASSERT_TRUE(station.program.scheduler.signal);
    EXPECT_EQ(station.program.scheduler.signal->signal.name, "Alerte");
}

TEST_F(Window, ManualControlsAndTheAutoRunMenuShowTheirStateAndClosingShutsDownOnce) {
    station.start();
    QTest::mouseClick(find("PortCom_3"), Qt::LeftButton);
    click("CmdRelais_0");
    EXPECT_TRUE(style("CmdRelais_0").contains("#ff8080"));
    click("CmdRelais_0");
    EXPECT_TRUE(style("CmdRelais_0").isEmpty());
    click("CheckS_1");
    EXPECT_TRUE(find<QCheckBox>("CheckS_1")->isChecked());
    EXPECT_TRUE(style("LedOut_1").contains("#00ff00"));
    EXPECT_EQ(station.link.bytes(),
              (std::vector<uint8_t>{kRelay1On, kRelay1Off, kRelay1Off, kRelay2On}));

    auto* autorun = station.window.findChild<QAction*>("mnuautorun");
    autorun->trigger();
    EXPECT_TRUE(autorun->isChecked() && station.startup.present);
    autorun->trigger();
    EXPECT_FALSE(autorun->isChecked() || station.startup.present);

    int ended = 0;
    station.window.onEnded = [&ended] { ++ended; };
    station.window.findChild<QAction*>("MnuQuit")->trigger();
    station.window.close();
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(text("InfoERR"), "Port COM Close OK !");
}

// Questions about unsaved edits in the real box, answered by the test.
struct Question : Window {
    Question() {
        boxes.setParent(&station.window);
        station.dialogs.answer = [this](const std::string& text) { return boxes.ask(text); };
        station.window.onEnded = [this] { ++ended; };
    }
    void start() {
        station.start({2020, 6, 22}, 8 * 3600, // a Monday
                      {{"Quorel.0", "\"1\",\"07:00:00\",\"60\"\r\n"},
                       {"Quorel.2", "\"2\",\"09:00:00\",\"5\"\r\n"}});
        click("BtnDelete");
    }
    // Acts on the next question box once it shows, noting what it shows.
    void answer(const std::function<void(QMessageBox*)>& act) {
        QTimer::singleShot(20, &station.window, [this, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return answer(act);
            }
            QStringList buttons;
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text();
            }
            buttons.sort();
            asked << QStringList{box->windowTitle(), QString::number(box->icon()), box->text(),
                                 buttons.join(" ")}
                         .join("|");
            act(box);
        });
    }
    static std::function<void(QMessageBox*)> press(QMessageBox::StandardButton button) {
        return [button](QMessageBox* box) { box->button(button)->click(); };
    }

    QtDialogs boxes;
    QStringList asked;
    int ended = 0;
};

TEST_F(Question, DayListGoesBackToTheDayShownOnAnnulerAndMovesAfterOui) {
    start();
    answer(press(QMessageBox::Cancel));
    clickDay(2);
    EXPECT_EQ(days->currentRow(), 0);
    EXPECT_EQ(days->selectedItems(), QList<QListWidgetItem*>{days->item(0)});
    EXPECT_EQ(list->model()->rowCount(), 0);
    answer(press(QMessageBox::Yes));
    clickDay(2);
    EXPECT_EQ(station.folder.read("Quorel.0"), "");
    EXPECT_EQ(row(0), "2 09:00:00 5");
    EXPECT_EQ(asked.join("\n").toStdString(),
              "Gestion Quorel|4|Enregistrer les modifications de Lundi ?|Annuler Non Oui\n"
              "Gestion Quorel|4|Enregistrer les modifications de Lundi ?|Annuler Non Oui");
}

TEST_F(Question, JourMenuKeepsTheEditsOnEscapeAndDropsThemOnNon) {
    start();
    answer([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    find<QAction>("Jour_3")->trigger();
    EXPECT_EQ(list->model()->rowCount(), 0);
    answer(press(QMessageBox::No));
    find<QAction>("Jour_3")->trigger();
    EXPECT_EQ(row(0), "2 09:00:00 5");
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(station.folder.read("Quorel.0"), "\"1\",\"07:00:00\",\"60\"\r\n"); // not saved
}

TEST_F(Question, CopierLaJourneeKeepsTheEditsWhenTheBoxIsClosed) {
    start();
    answer([](QMessageBox* box) { box->close(); });
    QTimer::singleShot(50, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->close();
            menu->actions()[2]->trigger(); // "Mercredi"
        }
    });
    click("BtnCopy");
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(Question, CloseBoxAndQuitterStayOnAnnulerOrAFailedSaveAndASignalEndsTheQuestion) {
    start();
    answer(press(QMessageBox::Cancel));
    EXPECT_FALSE(station.window.close());
    station.program.paths.DayFilePrefix = station.folder.file("missing/Quorel");
    answer(press(QMessageBox::Yes));
    station.window.findChild<QAction*>("MnuQuit")->trigger();
    EXPECT_EQ(station.dialogs.messages.size(), 1u); // the failed save
    EXPECT_TRUE(station.window.isVisible() && ended == 0);
    answer([this](QMessageBox* box) { // the program's end then ends the box
        station.window.closeFor(ShutdownCause::Signal);
        box->close();
    });
    station.window.close();
    EXPECT_EQ(asked.size(), 3);
    EXPECT_TRUE(ended == 1 && station.program.ended() && !station.window.isVisible());
}

TEST(MessageBox, IsModalCaptionedWithTheApplicationTitleAndHasOnlyOk) {
    test::ensureQtApplication();
    QtDialogs dialogs;
    QStringList seen;
    for (MessageIcon icon : {MessageIcon::Critical, MessageIcon::None}) {
        QTimer::singleShot(50, [&seen] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen << box->windowTitle() + "|" + box->text() + "|" +
                            QString::number(box->icon()) + "|" +
                            QString::number(box->buttons().size());
                box->button(QMessageBox::Ok)->click();
            }
        });
        dialogs.message("Saisie invalide Sortie de 1 à 2 seulement", icon);
    }
    EXPECT_EQ(seen.join(" ").toStdString(),
              "Gestion Quorel|Saisie invalide Sortie de 1 à 2 seulement|3|1 "
              "Gestion Quorel|Saisie invalide Sortie de 1 à 2 seulement|0|1");
}

} // namespace
} // namespace quorel
