#include "platform/port_devices.h"
#include "schedule/daily_journal.h"
#include "schedule/today_reload.h"
#include "tests/support/program_station.h"
#include "ui/days_without_bells.h"
#include "ui/journal_viewer.h"
#include "ui/main_window_events.h"
#include "ui/ports_form.h"
#include "ui/signals_form.h"
#include "ui/special_timetables.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace quorel {
namespace {

using Station = test::ProgramStation<test::FakeWindow>;

// A dialog whose operator acts as the test says.
template <typename Shown> struct ScriptedScreen final : FormScreen {
    void show(Form& shown) override { ++opened, act(dynamic_cast<Shown&>(shown)); }
    void openFolder(const std::string& folder) override { folders.push_back(folder); }
    std::function<void(Shown&)> act = [](Shown&) {};
    int opened = 0;
    std::vector<std::string> folders;
};
using PeriodsScreen = ScriptedScreen<DaysWithoutBellsForm>;

TEST(DaysWithoutBells, AnUnreadableFileIsRefusedWithItsMessageAndNeverShownAsAnEmptyList) {
    Station s;
    s.start({2020, 6, 22}, 8 * 3600);
    std::filesystem::create_directory(s.folder.file("Quorel.conges"));
    PeriodsScreen screen;
    editDaysWithoutBells(s.program, screen);
    EXPECT_EQ(screen.opened, 0);
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(s.dialogs.messages[0].text.starts_with("Impossible de lire le fichier « " +
                                                       s.folder.file("Quorel.conges") + " » : "))
        << s.dialogs.messages[0].text;
}

TEST(DaysWithoutBells, TheFormEditsAddsAndRemovesAndASavedListSilencesTodayAtOnce) {
    Station s;
    s.start({2020, 6, 22}, 8 * 3600, // a Monday
            {{"Quorel.0", "\"1\",\"09:00:00\",\"5\"\r\n"},
             {"Quorel.conges", "\"2020-06-01\",\"2020-06-05\",\"Pont\"\r\n"}});
    s.program.portChoice.select(1);
    ASSERT_EQ(s.program.shownNextBell().text, "Prochaine sonnerie\n09:00:00 - S1 - 5 s");
    const PeriodRow bridge{"01/06/2020", "05/06/2020", "Pont", true};
    const PeriodRow strike{"22/06/2020", "22/06/2020", "Grève", false};
    PeriodsScreen screen;
    screen.act = [&](DaysWithoutBellsForm& form) {
        EXPECT_EQ(form.rows(), std::vector<PeriodRow>{bridge});
        EXPECT_TRUE(form.from() == LocalDate({2020, 6, 22}) && form.to() == form.from());
        form.setFrom({2020, 6, 23});
        form.setLabel("Grève");
        form.addClicked(); // "Au" before "Du"
        EXPECT_EQ(s.dialogs.messages.size(), 1u);
        EXPECT_EQ(form.label(), "Grève");
        form.setFrom({2020, 6, 22});
        form.addClicked();
        EXPECT_EQ(form.rows(), (std::vector<PeriodRow>{bridge, strike}));
        EXPECT_EQ(form.label(), "");
        form.removeClicked(); // no row chosen
        form.choosePeriod(0);
        form.removeClicked();
        form.removeClicked(); // the row chosen went with its period
        EXPECT_EQ(form.rows(), std::vector<PeriodRow>{strike});
        form.holidaysClicked();
        EXPECT_EQ(form.rows().size(), 23u); // 2020's and 2021's
        EXPECT_FALSE(form.ended());
        form.saveClicked();
        EXPECT_TRUE(form.ended() && form.saved());
    };
    editDaysWithoutBells(s.program, screen);
    ASSERT_EQ(screen.opened, 1);
    EXPECT_NE(s.dialogs.messages[0].text.find("(22/06/2020) précède"), std::string::npos);
    const std::string saved = s.folder.read("Quorel.conges");
    EXPECT_NE(saved.find("\"2020-06-22\",\"2020-06-22\",\"Gr\xE8ve\"\r\n"), std::string::npos);
    EXPECT_EQ(s.program.shownNextBell().text, "Jour sans sonnerie\nGrève");

    screen.act = [](DaysWithoutBellsForm& form) {
        form.holidaysClicked();
        form.cancelClicked();
        EXPECT_TRUE(form.ended() && !form.saved());
    };
    editDaysWithoutBells(s.program, screen);
    EXPECT_EQ(s.folder.read("Quorel.conges"), saved);

    // A save that fails is said and the edits stay for another try.
    DaysWithoutBellsForm form({}, {2020, 6, 22}, s.folder.file("missing/Quorel.conges"), s.dialogs);
    form.holidaysClicked();
    form.saveClicked();
    EXPECT_FALSE(form.ended() || form.saved());
    EXPECT_TRUE(s.dialogs.messages.back().text.starts_with("Impossible d'enregistrer le fichier"));
    EXPECT_EQ(form.rows().size(), 22u);
}

// Each device present is offered under its names; the detection asks each device once, never
// the one in use, and takes the first module (a USB-RLY02 or a board with more relays) for the
// option it was opened for; the save writes only what changed.
TEST(Ports, TheFormOffersTheDevicesPresentDetectsTheModuleAndSavesWhatChanged) {
    test::MemorySettingsStore store;
    test::FakeDialogs dialogs;
    std::vector<std::string> asked;
    const std::map<std::string, ProbeOutcome> answers{{"/dev/serial/by-id/usb-other", {true, 7, 1}},
                                                      {"/dev/ttyUSB0", {false, {}, 0}},
                                                      {"/dev/ttyACM1", {true, 10, 3}},
                                                      {"/dev/ttyACM2", {true, 10, 4}}};
    const PortsForm::Probe probe = [&](const std::string& device) {
        asked.push_back(device);
        const auto found = answers.find(device);
        return found != answers.end() ? found->second : ProbeOutcome{true, {}, 0};
    };
    const std::vector<PresentPort> present{
        {"/dev/serial/by-id/usb-relay", "/dev/ttyACM0", "/dev/ttyACM0"},
        {"/dev/serial/by-id/usb-other", "/dev/ttyUSB1", "/dev/ttyUSB1"},
        {"/dev/ttyACM0", "", "/dev/ttyACM0"},
        {"/dev/ttyUSB0", "", "/dev/ttyUSB0"},
        {"/dev/ttyUSB1", "", "/dev/ttyUSB1"},
        {"/dev/ttyACM1", "", "/dev/ttyACM1"},
        {"/dev/ttyACM2", "", "/dev/ttyACM2"}};
    PortsForm form({"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyACM2", "/dev/ttyACM3"}, present, 1,
                   "/dev/ttyACM0", probe, store, dialogs);
    ASSERT_EQ(form.choices().size(), present.size());
    EXPECT_EQ(form.choices()[0], "/dev/serial/by-id/usb-relay — /dev/ttyACM0");
    EXPECT_EQ(form.choices()[3], "/dev/ttyUSB0");
    form.setDevice(2, form.choices()[0]);
    EXPECT_EQ(form.device(2), "/dev/serial/by-id/usb-relay");
    form.setDevice(3, "COM7");
    form.chooseDevice(3, 99);
    EXPECT_EQ(form.device(3), "COM7");
    form.chooseDevice(3, 3);
    EXPECT_EQ(form.device(3), "/dev/ttyUSB0");

    form.detectClicked();
    EXPECT_EQ(asked, (std::vector<std::string>{"/dev/serial/by-id/usb-other", "/dev/ttyUSB0",
                                               "/dev/ttyACM1"}));
    EXPECT_EQ(form.device(1), "/dev/ttyACM1");
    EXPECT_EQ(form.detection(),
              "Module USB-RLY02, version 3 trouvé sur /dev/ttyACM1, choisi pour COM2:");
    EXPECT_EQ(form.changedOptions(), (std::vector<int>{2, 3}));
    form.saveClicked();
    EXPECT_TRUE(form.ended() && form.saved());
    EXPECT_EQ(store.values, (std::map<std::string, std::string>{
                                {"VornAlmare/Ports/COM3", "/dev/serial/by-id/usb-relay"},
                                {"VornAlmare/Ports/COM4", "/dev/ttyUSB0"}}));

    PortsForm alone({"/dev/ttyACM0", "", "", ""}, {present[0], present[2]}, 0, "/dev/ttyACM0",
                    probe, store, dialogs);
    alone.detectClicked();
    EXPECT_EQ(alone.detection(), "Aucun autre port série n'est présent.");
    const PortsForm::Probe board = [](const std::string&) { return ProbeOutcome{true, 15, 2}; };
    PortsForm bigger({"", "", "", ""}, {present[1]}, 0, "", board, store, dialogs);
    bigger.detectClicked(); // a board with more relays is taken as well
    EXPECT_EQ(bigger.detection(), "Module USB-RLY16L (4 relais pilotés), version 2 trouvé sur "
                                  "/dev/serial/by-id/usb-other, choisi pour COM1:");
    PortsForm silent({"/dev/ttyACM0", "", "", ""},
                     {present[3], present[4], {"/dev/ttyACM5", "", "/dev/ttyACM5"}}, 0, "", probe,
                     store, dialogs);
    silent.detectClicked();
    EXPECT_EQ(silent.detection(),
              "Aucun module USB-RLY02 trouvé (3 ports interrogés, 1 inaccessible).");
    EXPECT_EQ(silent.device(0), "/dev/ttyACM0");
    store.failWrites = true;
    silent.setDevice(0, "/dev/ttyACM5");
    silent.saveClicked();
    EXPECT_FALSE(silent.ended());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "refused");
    silent.cancelClicked();
    EXPECT_TRUE(silent.ended() && !silent.saved());
}

// A new device for the option in use is opened at once, its relays switched off on the old one
// first; a new device for another option, or a cancelled dialog, leaves the port as it is.
TEST(Ports, TheOptionInUseReopensOnItsNewDeviceAndABellRingingGoesOnThere) {
    Station s;
    s.start({2020, 6, 22}, 8 * 3600 - 0.5, {{"Quorel.0", "\"1\",\"08:00:00\",\"600\"\r\n"}});
    s.program.portChoice.select(1);
    for (int i = 0; i < 5; ++i) {
        s.clock.advance(0.2), s.program.tick.TimerSat_Timer();
    }
    ASSERT_EQ(s.link.bytes().back(), 'p'); // relay 1 on, relay 2 off
    const size_t before = s.link.bytes().size();
    using Screen = ScriptedScreen<PortsForm>;
    Screen screen;
    screen.act = [&s](PortsForm& form) {
        EXPECT_EQ(form.device(0), deviceForPort(s.store, 1)); // the system's own name
        form.setDevice(1, "/dev/ttyUSB4");
        form.saveClicked();
    };
    editPorts(s.program, screen);
    EXPECT_EQ(s.store.values.at("VornAlmare/Ports/COM2"), "/dev/ttyUSB4");
    screen.act = [](PortsForm& form) {
        form.setDevice(0, "/dev/ttyUSB5");
        form.cancelClicked();
    };
    editPorts(s.program, screen);
    EXPECT_EQ(s.link.calls.back(), "open");
    EXPECT_EQ(s.link.openings(), 1u);

    screen.act = [](PortsForm& form) {
        form.setDevice(0, "/dev/serial/by-id/usb-relay");
        form.saveClicked();
    };
    editPorts(s.program, screen);
    EXPECT_EQ(s.program.store().read("VornAlmare", "Ports", "COM1", ""),
              "/dev/serial/by-id/usb-relay");
    EXPECT_EQ(s.link.openings(), 2u);
    const std::vector<std::string> reopened(s.link.calls.end() - 4, s.link.calls.end());
    EXPECT_EQ(reopened,
              (std::vector<std::string>{"close", "port 1", "parameters 4800,N,8,1", "open"}));
    EXPECT_EQ(s.link.bytes().at(before), 'o'); // on the old device, before it closed
    EXPECT_EQ(s.program.panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
    for (int i = 0; i < 5; ++i) {
        s.clock.advance(0.2), s.program.tick.TimerSat_Timer();
    }
    const std::vector<uint8_t> bytes = s.link.bytes();
    EXPECT_NE(std::find(bytes.begin() + before + 1, bytes.end(), 'e'), bytes.end());
}

using TimetablesScreen = ScriptedScreen<SpecialTimetablesForm>;

// The special timetables are added, renamed and removed by name, the periods edited and both
// files written; once saved, the day list shows the timetables and today rings by the periods.
TEST(SpecialTimetables, TheFormEditsTimetablesAndPeriodsAndTheSaveTakesEffectAtOnce) {
    Station s;
    s.start({2020, 6, 22}, 8 * 3600, // a Monday
            {{"Quorel.noms", "\"7\",\"Examens\"\r\n"},
             {"Quorel.7", "\"1\",\"09:00:00\",\"5\"\r\n"},
             {"Quorel.8", "\"2\",\"10:00:00\",\"5\"\r\n"},
             {"Quorel.horaires", "\"2020-06-29\",\"2020-07-03\",\"7\"\r\n"
                                 "\"2020-02-30\",\"2020-03-01\",\"4\"\r\n"
                                 "\"2020-06-22\",\"2020-06-26\",\"9\"\r\n"
                                 "\"2020-01-06\",\"2020-01-10\",\"4\"\r\n"}});
    s.program.portChoice.select(1);
    using Names = std::vector<std::string>;
    const Names week(kDayNames.begin(), kDayNames.end());
    const auto with = [&week](Names special) {
        Names all = week;
        all.insert(all.end(), special.begin(), special.end());
        return all;
    };
    EXPECT_EQ(s.program.days.JourSemaine(), with({"Examens", "Horaire 8"}));
    EXPECT_EQ(s.program.shownNextBell().text, "Prochaine sonnerie\naucune aujourd'hui");
    s.dialogs.answer = [](const std::string&) { return Answer::Yes; };
    TimetablesScreen screen;
    screen.act = [&](SpecialTimetablesForm& form) {
        EXPECT_EQ(form.timetables(), (Names{"Examens", "Horaire 8"}));
        EXPECT_EQ(form.timetableChoices(), with({"Examens"}));
        const auto row = [&form](size_t index) {
            const DatedPeriodRow r = form.rows().at(index);
            return r.from + " " + r.to + " " + r.timetable + (r.over ? " over" : "") + " " +
                   r.fault;
        };
        EXPECT_EQ(row(0), "06/01/2020 10/01/2020 Vendredi over ");
        EXPECT_EQ(row(1), "29/06/2020 03/07/2020 Examens ");
        EXPECT_EQ(row(2), "2020-02-30 2020-03-01 4 Date inexistante : période ignorée");
        EXPECT_EQ(row(3), "2020-06-22 2020-06-26 9 Horaire particulier sans nom : période ignorée");
        for (const char* taken : {"Examens", "Lundi"}) {
            form.setName(taken);
            form.addTimetableClicked();
        }
        form.setName("Demi-journée"); // number 9: 8 has a day file
        form.addTimetableClicked();
        EXPECT_EQ(form.timetables(), (Names{"Examens", "Horaire 8", "Demi-journée"}));
        EXPECT_EQ(row(1), "22/06/2020 26/06/2020 Demi-journée "); // rings now, in its place
        form.chooseTimetable(1);
        EXPECT_EQ(form.name(), "Horaire 8");
        form.setName("Brevet");
        form.renameTimetableClicked();
        form.chooseTimetable(2);
        form.removeTimetableClicked(); // a period rings it
        form.chooseTimetable(1);
        form.removeTimetableClicked();
        EXPECT_EQ(form.timetables(), (Names{"Examens", "Demi-journée"}));
        form.setFrom({2020, 6, 23});
        form.pickTimetable(8);   // Demi-journée
        form.addPeriodClicked(); // "Au" before "Du"
        form.setTo({2020, 6, 23});
        form.addPeriodClicked();
        form.choosePeriod(0);
        form.removePeriodClicked();
        form.setFrom({2020, 6, 29}); // the start of one listed: after it, so it rings
        form.setTo({2020, 6, 29});
        form.pickTimetable(1); // Mardi
        form.addPeriodClicked();
        form.saveClicked();
    };
    editSpecialTimetables(s.program, screen);
    std::vector<std::string> said;
    for (const test::ShownMessage& message : s.dialogs.messages) {
        said.push_back(message.text);
    }
    EXPECT_EQ(said, (Names{"Un horaire porte déjà le nom « Examens ».",
                           "Un horaire porte déjà le nom « Lundi ».",
                           "L'horaire « Demi-journée » sonne pendant une période : supprimez "
                           "d'abord la période.",
                           "La date « Au » (22/06/2020) précède la date « Du » (23/06/2020)."}));
    EXPECT_EQ(s.dialogs.questions,
              (Names{"Supprimer l'horaire particulier « Brevet » et ses entrées ?"}));
    EXPECT_EQ(s.folder.read("Quorel.noms"),
              "\"7\",\"Examens\"\r\n\"9\",\"Demi-journ\xE9\x65\"\r\n");
    EXPECT_EQ(s.folder.read("Quorel.horaires"), "\"2020-06-22\",\"2020-06-26\",\"9\"\r\n"
                                                "\"2020-06-23\",\"2020-06-23\",\"9\"\r\n"
                                                "\"2020-06-29\",\"2020-07-03\",\"7\"\r\n"
                                                "\"2020-06-29\",\"2020-06-29\",\"1\"\r\n"
                                                "\"2020-02-30\",\"2020-03-01\",\"4\"\r\n");
    EXPECT_EQ(timetableOn(s.program.scheduler, {2020, 6, 29}), 1);
    EXPECT_FALSE(s.folder.exists("Quorel.8"));
    EXPECT_EQ(s.program.days.JourSemaine(), with({"Examens", "Demi-journée"}));
    EXPECT_EQ(s.program.shownNextBell().text,
              "Horaire particulier « Demi-journée »\naucune aujourd'hui");

    std::filesystem::remove(s.folder.file("Quorel.horaires"));
    std::filesystem::create_directory(s.folder.file("Quorel.horaires"));
    editSpecialTimetables(s.program, screen);
    EXPECT_EQ(screen.opened, 1);
    EXPECT_TRUE(s.dialogs.messages.back().text.starts_with("Impossible de lire le fichier"));
}

TEST(JournalViewer, ShowsTodaysLinesAtFirstThenThoseOfTheDayChosenOrWhyThereAreNone) {
    Station s;
    s.start({2020, 6, 22}, 10 * 3600);
    const std::string folder = s.program.paths.JournalFolder;
    std::filesystem::create_directory(journalFilePath(folder, {2020, 6, 20}));
    s.folder.write("Journal/2020-06-19.txt", "");
    std::vector<std::string> shown;
    ScriptedScreen<JournalViewer> screen;
    screen.act = [&](JournalViewer& viewer) {
        EXPECT_TRUE(viewer.day() == LocalDate({2020, 6, 22}));
        EXPECT_EQ(viewer.folder(), folder);
        shown.push_back(viewer.lines());
        for (int day : {21, 20, 19, 22}) {
            viewer.chooseDay({2020, 6, day});
            shown.push_back(viewer.lines());
        }
        EXPECT_TRUE(viewer.day() == LocalDate({2020, 6, 22}));
    };
    showJournal(s.program, screen);
    ASSERT_EQ(screen.opened, 1);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0], "10:00:00.000 Démarrage de Quorel " QUOREL_VERSION "\n"
                        "10:00:00.000 Horaire du jour chargé : 0 entrée\n");
    EXPECT_EQ(shown[1], "Aucun événement ce jour.");
    EXPECT_TRUE(shown[2].starts_with("Journal illisible : ")) << shown[2];
    EXPECT_EQ(shown[3], shown[1]); // an empty file
    EXPECT_EQ(shown[4], shown[0]);
}

TEST(WindowEvents, EditsAndClicksReachTheirCommandsAndTheWindowIsToldWhatIsLeftToIt) {
    Station s;
    s.start({2020, 6, 22}, 8 * 3600);
    const auto raise = [&s](WindowInput input) { return handleWindowEvent(s.program, input); };
    const auto type = [&raise](int index, const char* text) {
        raise({.event = WindowEvent::EntryFieldEdited, .index = index, .text = text});
    };
    type(0, "1"), type(1, "07:00:00"), type(2, "5"), type(3, "ignored");
    EXPECT_EQ(raise({.event = WindowEvent::AddClicked}), WindowRequest::None);
    type(0, "2"), type(1, "08:00:00"), type(2, "9");
    raise({.event = WindowEvent::ReplaceClicked}); // no row selected
    raise({.event = WindowEvent::RowChosen, .position = 1});
    raise({.event = WindowEvent::ReplaceClicked});
    ASSERT_EQ(s.program.list.count(), 1);
    EXPECT_EQ(s.program.list.row(1), (ScheduleEntry{"2", "08:00:00", "9"}));
    raise({.event = WindowEvent::RowChosen, .position = 0});
    raise({.event = WindowEvent::RemoveClicked});
    EXPECT_EQ(s.program.list.count(), 1);
    raise({.event = WindowEvent::RowChosen, .position = 1});
    raise({.event = WindowEvent::RemoveClicked});
    EXPECT_EQ(s.program.list.count(), 0);

    raise({.event = WindowEvent::SeriesOutputChosen, .text = "2"});
    raise({.event = WindowEvent::SeriesOffsetEdited, .index = 1, .text = "30:00"});
    raise({.event = WindowEvent::SeriesOffsetEdited, .index = 2, .text = "ignored"});
    raise({.event = WindowEvent::SeriesDurationEdited, .text = "4"});
    raise({.event = WindowEvent::SeriesClicked});
    ASSERT_EQ(s.program.list.count(), 24);
    EXPECT_EQ(s.program.list.row(24), (ScheduleEntry{"2", "23:30:00", "4"}));

    EXPECT_EQ(raise({.event = WindowEvent::CopyDayClicked}), WindowRequest::OpenDayMenu);
    EXPECT_EQ(raise({.event = WindowEvent::DaysWithoutBellsClicked}),
              WindowRequest::EditDaysWithoutBells);
    EXPECT_EQ(raise({.event = WindowEvent::PortsClicked}), WindowRequest::EditPorts);
    EXPECT_EQ(raise({.event = WindowEvent::JournalClicked}), WindowRequest::ShowJournal);
    EXPECT_EQ(raise({.event = WindowEvent::QuitClicked}), WindowRequest::Quit);
    EXPECT_TRUE(s.dialogs.messages.empty());
}

// What is wrong with a window's description: a name given twice, a control in no described
// group box, an event no control raises or a part no control shows.
template <typename Event, typename Part>
std::vector<std::string> faultsOf(const WindowDescription<Event, Part>& window, Event lastEvent,
                                  Part lastPart) {
    std::vector<std::string> faults;
    std::set<std::string> names{window.name};
    std::set<std::string> groups;
    std::set<Event> events;
    std::set<Part> parts;
    const auto note = [&](const auto& described) {
        std::string name = described.name;
        if (described.index >= 0) {
            name.append(1, '_').append(std::to_string(described.index));
        }
        if (!names.insert(name).second) {
            faults.push_back(name + " twice");
        }
        events.insert(described.events.begin(), described.events.end());
        if (described.content) {
            parts.insert(*described.content);
        }
        return name;
    };
    for (const auto& menu : window.menus) {
        for (const auto& item : menu.items) {
            note(item);
        }
    }
    for (const auto& control : window.controls) {
        const std::string name = note(control);
        if (control.container != nullptr && groups.count(control.container) == 0) {
            faults.push_back(name + " in no group box before it");
        }
        if (control.kind == ControlKind::GroupBox) {
            groups.insert(control.name);
        }
    }
    if (events.size() != static_cast<size_t>(lastEvent) + 1) {
        faults.push_back(std::to_string(events.size()) + " events raised");
    }
    if (parts.size() != static_cast<size_t>(lastPart) + 1) {
        faults.push_back(std::to_string(parts.size()) + " parts shown");
    }
    return faults;
}

TEST(Descriptions, NameEachControlOnceInsideItsGroupBoxAndRaiseEveryEventAndShowEveryPart) {
    using Faults = std::vector<std::string>;
    EXPECT_EQ(faultsOf(mainWindowDescription(), WindowEvent::SignalsClicked, ViewPart::Signals),
              Faults{});
    EXPECT_EQ(faultsOf(signalsDescription(), SignalsEvent::CancelClicked, SignalsPart::Fields),
              Faults{});
    EXPECT_EQ(faultsOf(daysWithoutBellsDescription(), DaysWithoutBellsEvent::CancelClicked,
                       DaysWithoutBellsPart::Fields),
              Faults{});
    EXPECT_EQ(faultsOf(portsDescription(), PortsEvent::CancelClicked, PortsPart::Detection),
              Faults{});
    EXPECT_EQ(faultsOf(journalDescription(), JournalEvent::CloseClicked, JournalPart::Lines),
              Faults{});
}

} // namespace
} // namespace quorel
