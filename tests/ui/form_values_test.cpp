#include "tests/support/program_station.h"
#include "ui/days_without_bells.h"
#include "ui/journal_viewer.h"
#include "ui/main_window_form.h"
#include "ui/main_window_view.h"
#include "ui/ports_form.h"
#include "ui/row_warnings.h"
#include "ui/signals_form.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string_view>

namespace quorel {
namespace {

// A window that records what the form asks of it, and a screen that shows each form as the test
// says.
struct RecordingWindow : MainWindowView {
    void showPart(int part) override { parts.push_back(part); }
    void closeFor(ShutdownCause cause) override { closes.push_back(cause); }
    void showCopyMenu() override { ++copyMenus; }
    TwipsSize outerSize() override { return {7680, 7200}; }
    TwipsSize screenSize() override { return {19200, 14400}; }
    void moveTo(TwipsPoint) override {}
    void attach(Program& program) { program_ = &program; }
    std::vector<int> parts;
    std::vector<ShutdownCause> closes;
    int copyMenus = 0;
};

struct RecordingScreen : FormScreen {
    void show(Form& form) override {
        shown.push_back(form.description().name);
        act(form);
    }
    void openFolder(const std::string& folder) override { folders.push_back(folder); }
    std::function<void(Form&)> act = [](Form&) {};
    std::vector<std::string> shown;
    std::vector<std::string> folders;
};

size_t at(const Form& form, std::string_view name, int index = -1) {
    const auto& controls = form.description().controls;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].name == name && controls[i].index == index) {
            return i;
        }
    }
    ADD_FAILURE() << "no control " << name;
    return 0;
}

size_t menuAt(const Form& form, std::string_view name, int index = -1) {
    const std::vector<FormMenuItem> items = menuItems(form.description());
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].item->name == name && items[i].item->index == index) {
            return i;
        }
    }
    ADD_FAILURE() << "no menu item " << name;
    return 0;
}

struct Window : ::testing::Test {
    test::ProgramStation<RecordingWindow> s;
    RecordingScreen screen;
    MainWindowForm form{s.program, s.window, screen};

    ControlValue value(std::string_view name, int index = -1) const {
        return form.value(at(form, name, index), false);
    }
    void act(std::string_view name, int index, ControlInput input) {
        input.control = at(form, name, index);
        form.raise(input);
    }
};

TEST_F(Window, ShowsTheProgramsStateInItsControlsAndMenus) {
    s.window.attach(s.program);
    s.start({2020, 6, 22}, 8 * 3600,
            {{"Quorel.0", "\"1\",\"09:00:00\",\"5\"\r\n\"2\",\"99:00:00\",\"5\"\r\n"},
             {"Quorel.noms", "\"7\",\"Examens\"\r\n"}});
    s.program.portChoice.select(1);
    EXPECT_EQ(value("PortCom", 1).check, CheckState::Checked);
    EXPECT_EQ(value("PortCom", 0).check, CheckState::Unchecked);
    const ControlValue next = value("LblProchaine");
    EXPECT_EQ(next.text, "Prochaine sonnerie\n09:00:00 - S1 - 5 s");
    EXPECT_EQ(next.toolTip, next.text); // no tool tip of its own: the text
    EXPECT_EQ(next.look, Look::Plain);
    EXPECT_EQ(value("LedOut", 0).look, Look::IndicatorOff);
    EXPECT_TRUE(value("CheckS", 1).visible);
    EXPECT_FALSE(value("CheckS", 2).visible); // as described

    const ControlValue list = value("Quorel");
    ASSERT_EQ(list.rows.size(), 2u);
    ASSERT_EQ(list.rowLooks.size(), 2u);
    for (size_t row = 0; row < 2; ++row) {
        const bool never = std::count(list.rows[row].begin(), list.rows[row].end(), "99:00:00");
        EXPECT_EQ(list.rowLooks[row], never ? Look::Warning : Look::Plain);
        EXPECT_EQ(list.rowToolTips[row],
                  rowWarningToolTip(never ? RowWarning::TimeNeverMatches : RowWarning::None));
    }
    EXPECT_EQ(value("JourSemaine").items.size(), 8u);
    EXPECT_EQ(value("JourSemaine").selected, std::optional<size_t>(0));
    // The pop-up "Jour" shows the special timetable's name, and hides the items beyond.
    const ControlValue exams = form.value(menuAt(form, "Jour", 8), true);
    EXPECT_TRUE(exams.visible);
    EXPECT_EQ(exams.text, "Examens");
    EXPECT_FALSE(form.value(menuAt(form, "Jour", 9), true).visible);
    EXPECT_TRUE(form.value(menuAt(form, "mnuautorun"), true).enabled);

    const ControlValue outputs = value("ComboS");
    ASSERT_GE(outputs.items.size(), 2u);
    act("ComboS", -1, {.action = Action::Pick, .row = 1});
    EXPECT_EQ(s.program.fields.ComboS, outputs.items[1]);
    EXPECT_EQ(value("ComboS").selected, std::optional<size_t>(1));
}

TEST_F(Window, HandsActionsToTheProgramAndCarriesOutItsRequests) {
    s.window.attach(s.program);
    s.start({2020, 6, 22}, 8 * 3600, {{"Quorel.0", "\"1\",\"09:00:00\",\"5\"\r\n"}});
    act("ChEdit", 1, {.action = Action::Edit, .text = "10:00:00"});
    EXPECT_EQ(s.program.fields.ChEdit[1], "10:00:00");
    act("ChEdit", 1, {.action = Action::Click}); // a field raises nothing for a click
    EXPECT_EQ(s.program.fields.ChEdit[1], "10:00:00");

    act("Quorel", -1, {.action = Action::Pick, .row = 0});
    EXPECT_EQ(s.program.list.selected(), std::optional<int>(1));
    act("Quorel", -1, {.action = Action::Pick});
    EXPECT_EQ(s.program.list.selected(), std::nullopt);

    const ControlInput tuesday{
        .control = at(form, "JourSemaine"), .action = Action::Pick, .row = 1};
    EXPECT_FALSE(form.waitsForInputEnd(tuesday));
    act("ChEdit", 0, {.action = Action::Edit, .text = "2"});
    act("BtnAjouter", -1, {.action = Action::Click});
    ASSERT_TRUE(s.program.days.modified());
    EXPECT_TRUE(form.waitsForInputEnd(tuesday)); // the question waits for the click's end

    form.raise({.control = menuAt(form, "MnuJournal"), .menuItem = true});
    EXPECT_EQ(screen.shown, std::vector<std::string>{"FJournal"});
    act("BtnCopy", -1, {.action = Action::Click});
    EXPECT_EQ(s.window.copyMenus, 1);
    form.raise({.control = menuAt(form, "MnuQuit"), .menuItem = true});
    EXPECT_EQ(s.window.closes, std::vector<ShutdownCause>{ShutdownCause::Quit});
}

// The dialogs' controls reach their forms by action and show the forms' values.
TEST(DialogForms, ActionsReachTheFormAndValuesFollow) {
    test::ProgramStation<test::FakeWindow> s;
    s.start({2020, 6, 22}, 8 * 3600);
    DaysWithoutBellsForm days({}, {2020, 6, 22}, s.folder.file("Quorel.conges"), s.dialogs,
                              s.program.files());
    const auto raise = [](Form& form, std::string_view name, ControlInput input, int index = -1) {
        input.control = at(form, name, index);
        form.raise(input);
    };
    raise(days, "ChAu", {.action = Action::Edit, .date = {2020, 6, 23}});
    raise(days, "ChMotif", {.action = Action::Edit, .text = "Grève"});
    raise(days, "BtnAjouterPeriode", {.action = Action::Click});
    const ControlValue periods = days.value(at(days, "JoursSansSonnerie"), false);
    EXPECT_EQ(periods.rows,
              (std::vector<std::vector<std::string>>{{"22/06/2020", "23/06/2020", "Grève"}}));
    EXPECT_EQ(periods.rowLooks, std::vector<Look>{Look::Plain});
    raise(days, "JoursSansSonnerie", {.action = Action::Pick, .row = 0});
    EXPECT_EQ(days.value(at(days, "JoursSansSonnerie"), false).selected, std::optional<size_t>(0));
    raise(days, "BtnSupprimerPeriode", {.action = Action::Click});
    EXPECT_TRUE(days.rows().empty());
    EXPECT_EQ(days.value(at(days, "JoursSansSonnerie"), false).selected, std::nullopt);
    EXPECT_FALSE(days.ended());
    raise(days, "BtnAnnuler", {.action = Action::Click});
    EXPECT_TRUE(days.ended());

    PortsForm ports(
        {"/dev/ttyACM0", "", "", ""}, {{"/dev/ttyUSB0", "Relais", "/dev/ttyUSB0"}}, 0, "",
        [](const std::string&) { return ProbeOutcome{}; }, s.store, s.dialogs);
    std::vector<std::string> drawn;
    ports.redrawNow = [&] { drawn.push_back(ports.detection()); };
    raise(ports, "CbPort", {.action = Action::Pick, .row = 0}, 2);
    const ControlValue field = ports.value(at(ports, "CbPort", 2), false);
    EXPECT_EQ(field.text, "/dev/ttyUSB0");
    EXPECT_EQ(field.items, std::vector<std::string>{"/dev/ttyUSB0 — Relais"});
    raise(ports, "CbPort", {.action = Action::Edit, .text = "COM9"}, 3);
    EXPECT_EQ(ports.device(3), "COM9");
    raise(ports, "BtnDetecter", {.action = Action::Click});
    EXPECT_EQ(drawn, std::vector<std::string>{""}); // cleared before the probe
    EXPECT_NE(ports.value(at(ports, "LblDetection"), false).text, "");

    JournalViewer journal(s.program.paths.JournalFolder, {2020, 6, 22}, s.program.files());
    std::vector<std::string> opened;
    journal.openFolder = [&](const std::string& folder) { opened.push_back(folder); };
    raise(journal, "BtnOuvrirDossier", {.action = Action::Click});
    EXPECT_EQ(opened, std::vector<std::string>{s.program.paths.JournalFolder});
    raise(journal, "ChDateJournal", {.action = Action::Edit, .date = {2020, 6, 21}});
    EXPECT_EQ(journal.value(at(journal, "TexteJournal"), false).text, "Aucun événement ce jour.");
    raise(journal, "BtnFermer", {.action = Action::Click});
    EXPECT_TRUE(journal.ended());
}

TEST(Layout, CaptionsWidenTheirPlaceAndChangingTextsShrinkTheirType) {
    ControlDescription<int, int> label{.place = {1000, 500, 600, 200}};
    EXPECT_EQ(placeFitting(label, 900, 240).width, 900);
    EXPECT_EQ(placeFitting(label, 900, 240).left, 1000);
    EXPECT_EQ(placeFitting(label, 900, 240).top, 480); // taller around its middle
    label.alignment = TextAlignment::Right;
    EXPECT_EQ(placeFitting(label, 900, 200).left, 700); // grows to the left
    label.clipsText = true;
    EXPECT_EQ(placeFitting(label, 900, 240).width, 600);
    EXPECT_EQ(typeHeightToFit(180, 500, 600), 180);
    EXPECT_EQ(typeHeightToFit(180, 600, 495), 148);
    EXPECT_EQ(typeHeightToFit(180, 6000, 495), 120); // never below two thirds

    ControlDescription<int, int> list{.columns = {{"S", 300}, {"Heure"}, {"Durée"}}};
    EXPECT_EQ(columnFit(list, 0), ColumnFit::Described);
    EXPECT_EQ(columnFit(list, 1), ColumnFit::Texts);
    EXPECT_EQ(columnFit(list, 2), ColumnFit::Rest);
    const auto span = [](bool nearAnchor, bool farAnchor) {
        const Span placed = anchoredSpan({100, 50}, nearAnchor, farAnchor, 30);
        return std::pair(placed.start, placed.length);
    };
    EXPECT_EQ(span(true, false), std::pair(100, 50)); // stays
    EXPECT_EQ(span(true, true), std::pair(100, 80));  // grows
    EXPECT_EQ(span(false, true), std::pair(130, 50)); // moves with the far side
}

// The menu "Signaux" lists the signals, starts one after its question, names it while it runs,
// and suspends the bells after its own question.
TEST_F(Window, TheSignalsMenuStartsStopsAndSuspends) {
    s.window.attach(s.program);
    s.start(
        {2020, 6, 22}, 8 * 3600,
        {{"Quorel.signaux", "\"Alerte\",\"1+2\",\"1,1\",\"0\"\r\n\"Faux\",\"9\",\"1\",\"1\"\r\n"}});
    s.program.portChoice.select(1);
    const auto item = [this](const char* name, int index = -1) {
        return form.value(menuAt(form, name, index), true);
    };
    EXPECT_EQ(item("Signal", 1).text, "Alerte");
    EXPECT_FALSE(item("Signal", 2).visible); // the bad record is not offered
    EXPECT_FALSE(item("MnuArreterSignal").enabled);
    s.dialogs.answer = [](const std::string&) { return Answer::No; };
    form.raise({.control = menuAt(form, "Signal", 1), .menuItem = true});
    EXPECT_EQ(s.dialogs.questions, std::vector<std::string>{"Déclencher « Alerte » ?"});
    EXPECT_FALSE(s.program.scheduler.signal);
    s.dialogs.answer = [](const std::string&) { return Answer::Yes; };
    form.raise({.control = menuAt(form, "Signal", 1), .menuItem = true});
    ASSERT_TRUE(s.program.scheduler.signal);
    EXPECT_EQ(item("MnuArreterSignal").text, "Arrêter « Alerte »");
    EXPECT_TRUE(item("MnuArreterSignal").enabled);
    EXPECT_EQ(value("LblProchaine").text, "Signal « Alerte » en cours");
    EXPECT_TRUE(value("InfoERR").text.starts_with("Signal « Alerte » en cours - Init COM1"));
    form.raise({.control = menuAt(form, "MnuArreterSignal"), .menuItem = true});
    EXPECT_FALSE(s.program.scheduler.signal);

    form.raise({.control = menuAt(form, "MnuSuspendre"), .menuItem = true});
    EXPECT_TRUE(s.program.scheduler.suspended);
    EXPECT_TRUE(s.folder.exists("Quorel.suspendu"));
    EXPECT_EQ(item("MnuSuspendre").text, "Reprendre les sonneries");
    EXPECT_EQ(value("LblProchaine").text, "Sonneries suspendues");
    EXPECT_EQ(value("LblProchaine").look, Look::Warning);
    form.raise({.control = menuAt(form, "MnuSuspendre"), .menuItem = true});
    EXPECT_FALSE(s.program.scheduler.suspended);
    EXPECT_FALSE(s.folder.exists("Quorel.suspendu"));
}

// Outputs 3 and 4 show once the module drives four relays; until then their rows are marked.
TEST_F(Window, OutputsThreeAndFourFollowTheModulesRelays) {
    s.window.attach(s.program);
    s.start({2020, 6, 22}, 8 * 3600, {{"Quorel.0", "\"3\",\"09:00:00\",\"5\"\r\n"}});
    EXPECT_FALSE(value("CheckS", 2).visible);
    EXPECT_EQ(value("Quorel").rowLooks, std::vector<Look>{Look::Warning});
    EXPECT_EQ(value("Quorel").rowToolTips,
              std::vector<std::string>{"Sortie 3 : pas de relais 3 sur ce module"});
    s.program.panel.moduleRelays = 4;
    EXPECT_TRUE(value("CheckS", 2).visible && value("LedOut", 3).visible);
    EXPECT_EQ(value("Quorel").rowLooks, std::vector<Look>{Look::Plain});
}

TEST(DialogForms, TheSignalsDialogChecksEachSignalAsTheFileDoesAndSavesThem) {
    test::ProgramStation<test::FakeWindow> s;
    s.start({2020, 6, 22}, 8 * 3600);
    SignalsForm form(
        readSignalRecords("\"Faux\",\"9\",\"1\",\"1\"\r\n\"Haut\",\"1+4\",\"1\",\"1\"\r\n"),
        s.folder.file("Quorel.signaux"), s.dialogs, s.program.files());
    const auto raise = [&form](std::string_view name, ControlInput input) {
        input.control = at(form, name);
        form.raise(input);
    };
    const ControlValue bad = form.value(at(form, "ListeSignaux"), false);
    EXPECT_EQ(bad.rowLooks, (std::vector<Look>{Look::Warning, Look::Warning}));
    EXPECT_TRUE(bad.rowToolTips.at(0).starts_with("Signal ignoré : sorties invalides"));
    EXPECT_EQ(bad.rowToolTips.at(1), "Sortie 4 : pas de relais 4 sur ce module");
    raise("ChNom", {.action = Action::Edit, .text = "Fin"});
    raise("ChDurees", {.action = Action::Edit, .text = "0"});
    raise("BtnAjouter", {.action = Action::Click});
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_TRUE(s.dialogs.messages[0].text.starts_with("Signal refusé : durées invalides"));
    raise("ChDurees", {.action = Action::Edit, .text = "2.5"});
    raise("BtnAjouter", {.action = Action::Click});
    raise("BtnAjouter", {.action = Action::Click}); // the same name again
    EXPECT_EQ(s.dialogs.messages.back().text, "Signal refusé : le nom « Fin » est déjà pris");
    raise("ListeSignaux", {.action = Action::Pick, .row = 0});
    EXPECT_EQ(form.value(at(form, "ChSorties"), false).text, "9");
    raise("ChSorties", {.action = Action::Edit, .text = "3+4"});
    raise("BtnModifier", {.action = Action::Click});
    raise("ListeSignaux", {.action = Action::Pick, .row = 2});
    raise("BtnSupprimer", {.action = Action::Click});
    raise("ListeSignaux", {.action = Action::Pick, .row = 1});
    raise("BtnSupprimer", {.action = Action::Click});
    raise("BtnEnregistrer", {.action = Action::Click});
    EXPECT_TRUE(form.ended() && form.saved());
    EXPECT_EQ(s.folder.read("Quorel.signaux"), "\"Faux\",\"3+4\",\"1\",\"1\"\r\n");
}

} // namespace
} // namespace quorel
