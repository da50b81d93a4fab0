#include "ui/main_window_description.h"

#include "relay/relay_panel.h"
#include "ui/day_editor.h"

namespace quorel {

namespace {

using Kind = ControlKind;
using Event = WindowEvent;

std::vector<MenuDescription<Event, ViewPart>> menus() {
    MenuDescription<Event, ViewPart> options{.name = "mnuOptions", .caption = "Options"};
    options.items = {
        {.name = "mnuautorun",
         .caption = "Démarrer avec Windows",
         .checkable = true,
         .content = ViewPart::AutoRun,
         .events = {Event::AutoRunClicked}},
        {.name = "MnuJoursSansSonnerie",
         .caption = "Jours sans sonnerie…",
         .events = {Event::DaysWithoutBellsClicked}},
        {.name = "MnuHorairesParticuliers",
         .caption = "Horaires particuliers…",
         .events = {Event::SpecialTimetablesClicked}},
        {.name = "MnuPorts", .caption = "Ports…", .events = {Event::PortsClicked}},
        {.name = "MnuJournal", .caption = "Journal…", .events = {Event::JournalClicked}},
        {.name = "MnuQuit", .caption = "Quitter", .events = {Event::QuitClicked}},
    };
    // "Jour" is never on the menu bar: "Copier la journée" opens it as a pop-up. It lists the
    // day list's timetables: the weekdays, then the special timetables that exist, whose items
    // the window shows with the day list's names and hides beyond them.
    MenuDescription<Event, ViewPart> days{.name = "mnuJour", .caption = "Jour", .onMenuBar = false};
    for (int i = 1; i <= kLastTimetable + 1; ++i) {
        days.items.push_back({.name = "Jour",
                              .index = i,
                              .caption = i <= 7 ? kDayNames[i - 1] : "",
                              .content = i <= 7 ? std::nullopt : std::optional(ViewPart::Days),
                              .events = {Event::DayCopied}});
    }
    // "Signaux" shows the signals of Quorel.signaux by name, and hides its items beyond them.
    MenuDescription<Event, ViewPart> signalMenu{.name = "mnuSignaux", .caption = "Signaux"};
    for (int i = 1; i <= kSignalMenuItems; ++i) {
        signalMenu.items.push_back({.name = "Signal",
                                    .index = i,
                                    .content = ViewPart::Signals,
                                    .events = {Event::SignalClicked}});
    }
    signalMenu.items.push_back({.name = "MnuArreterSignal",
                                .caption = "Arrêter le signal",
                                .content = ViewPart::Signals,
                                .events = {Event::StopSignalClicked}});
    signalMenu.items.push_back({.name = "MnuSuspendre",
                                .caption = "Suspendre les sonneries",
                                .content = ViewPart::Signals,
                                .events = {Event::SuspendClicked}});
    signalMenu.items.push_back(
        {.name = "MnuSignaux", .caption = "Signaux…", .events = {Event::SignalsClicked}});
    return {options, signalMenu, days};
}

// The port choice, the clock, what rings next, the outputs and the relay tests.
void addLeftSide(std::vector<MainWindowControl>& controls) {
    controls.push_back({.name = "Frame9",
                        .kind = Kind::GroupBox,
                        .caption = " Port de communication ",
                        .place = {180, 120, 2055, 2355}});
    controls.push_back({.name = "Setting",
                        .caption = kLineParameters,
                        .place = {300, 300, 795, 195},
                        .container = "Frame9"});
    const int widths[] = {1275, 795, 795, 915, 1095};
    for (int i = 0; i < 5; ++i) {
        controls.push_back({.name = "PortCom",
                            .index = i,
                            .kind = Kind::OptionButton,
                            .caption = kPortComCaptions[i],
                            .place = {300, 660 + 300 * i, widths[i], 255},
                            .container = "Frame9",
                            .content = ViewPart::PortChoice,
                            .events = {Event::PortChosen},
                            .checked = i == 0});
    }
    controls.push_back({.name = "LblHeure",
                        .caption = "00:00:00",
                        .place = {180, 2640, 2055, 255},
                        .content = ViewPart::Clock,
                        .alignment = TextAlignment::Centre,
                        .bold = true,
                        .largerType = 45});
    controls.push_back({.name = "Label6",
                        .caption = "Etat des Entrées",
                        .place = {660, 3000, 1170, 195},
                        .visible = false});
    // What rings next, over the hidden inputs' place.
    controls.push_back({.name = "LblProchaine",
                        .place = {180, 2940, 2055, 555},
                        .content = ViewPart::NextBell,
                        .alignment = TextAlignment::Centre,
                        .clipsText = true});
    controls.push_back(
        {.name = "Label7", .caption = "Etat des Sorties", .place = {660, 3540, 1110, 195}});

    // Outputs 3 and 4 have their controls, shown only while the module drives their relays.
    const int lefts[] = {120, 660, 1200, 1740};
    const int checkLefts[] = {120, 660, 1260, 1800};
    const char* checkCaptions[] = {"S1", "S2", "S3", "S4"};
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < 2;
        controls.push_back({.name = "LedSat",
                            .index = i,
                            .kind = Kind::ColourBox,
                            .place = {lefts[i], 3240, 495, 195},
                            .visible = false});
        controls.push_back({.name = "CheckS",
                            .index = i,
                            .kind = Kind::CheckBox,
                            .caption = checkCaptions[i],
                            .place = {checkLefts[i], 3840, 555, 315},
                            .visible = shown,
                            .content = ViewPart::Outputs,
                            .events = {Event::OutputSwitchClicked}});
        controls.push_back({.name = "LedOut",
                            .index = i,
                            .kind = Kind::ColourBox,
                            .place = {lefts[i], 4140, 495, 195},
                            .visible = shown,
                            .content = ViewPart::Outputs});
        controls.push_back({.name = "LblTemp",
                            .index = i,
                            .caption = "00:00",
                            .place = {lefts[i], 4380, 495, 195},
                            .visible = shown,
                            .content = ViewPart::Outputs,
                            .bold = true,
                            // Side by side: each keeps its place, its type smaller if need be.
                            .clipsText = true});
        // A duration of several digits has room on the left of its last digit's place.
        controls.push_back({.name = "LblMaxi",
                            .index = i,
                            .caption = "0",
                            .place = {lefts[i], 4680, 480, 195},
                            .visible = shown,
                            .content = ViewPart::Outputs,
                            .alignment = TextAlignment::Right,
                            .bold = true});
    }
    for (int i = 0; i < 2; ++i) {
        controls.push_back({.name = "CmdRelais",
                            .index = i,
                            .kind = Kind::PushButton,
                            .caption = i == 0 ? "Relais 1" : "Relais 2",
                            .toolTip = " Test relais manuel ",
                            .place = {240, 5040 + 480 * i, 1815, 400},
                            .content = ViewPart::RelayButtons,
                            .events = {Event::RelayTestClicked}});
    }
    controls.push_back({.name = "InfoERR",
                        .place = {120, 6480, 7155, 315},
                        .content = ViewPart::Status,
                        .alignment = TextAlignment::Centre,
                        .framed = true,
                        .clipsText = true});
}

// The timetable editor: a series of entries, the list of one day's entries, the days.
void addEditor(std::vector<MainWindowControl>& controls) {
    const char* frame = "FrameQuorel";
    controls.push_back({.name = frame,
                        .kind = Kind::GroupBox,
                        .caption = " Quorel ",
                        .place = {2580, 180, 4695, 6195}});
    controls.push_back(
        {.name = "Label9", .caption = "Sortie", .place = {180, 300, 405, 195}, .container = frame});
    for (int i = 0; i < 2; ++i) {
        controls.push_back({.name = "Label20",
                            .index = i,
                            .caption = "H +",
                            .place = {840 + 480 * i, 300, 255, 255},
                            .container = frame});
    }
    controls.push_back({.name = "Label3",
                        .caption = "Durée ''",
                        .place = {1800, 300, 540, 195},
                        .container = frame,
                        .alignment = TextAlignment::Right});
    controls.push_back({.name = "ComboS",
                        .kind = Kind::DropDown,
                        .place = {180, 480, 510, 315},
                        .container = frame,
                        .content = ViewPart::EditFields,
                        .events = {Event::SeriesOutputChosen}});
    for (int i = 0; i < 2; ++i) {
        controls.push_back({.name = "ChDecoupe",
                            .index = i,
                            .kind = Kind::TextField,
                            .toolTip = " minutes et secondes ex 02:15 ",
                            .place = {720 + 540 * i, 480, 525, 255},
                            .container = frame,
                            .content = ViewPart::EditFields,
                            .events = {Event::SeriesOffsetEdited}});
    }
    controls.push_back({.name = "ChDure",
                        .kind = Kind::TextField,
                        .toolTip = " en secondes ",
                        .place = {1800, 480, 555, 255},
                        .container = frame,
                        .content = ViewPart::EditFields,
                        .events = {Event::SeriesDurationEdited}});
    controls.push_back({.name = "BtnInti",
                        .kind = Kind::PushButton,
                        .caption = "Intitialise",
                        .place = {2940, 480, 1395, 315},
                        .container = frame,
                        .events = {Event::SeriesClicked}});
    controls.push_back({.name = "Quorel",
                        .kind = Kind::ReportList,
                        .place = {180, 840, 2595, 4275},
                        .container = frame,
                        .content = ViewPart::List,
                        .events = {Event::RowChosen, Event::ListClicked, Event::ColumnClicked,
                                   Event::ListKeyReleased},
                        .columns = {{"S", 500}, {"Heure", 1100}, {"Temps", 700}}});
    controls.push_back({.name = "JourSemaine",
                        .kind = Kind::ListBox,
                        .place = {2940, 900, 1395, 1425},
                        .container = frame,
                        .content = ViewPart::Days,
                        .events = {Event::DayChosen}});
    struct Button {
        const char* name;
        const char* caption;
        const char* toolTip;
        TwipsRect place;
        Event event;
    };
    const Button dayButtons[] = {
        {"BtnSave", "Sauve", "", {2940, 2460, 1395, 315}, Event::SaveClicked},
        {"BtnDelete", "RAZ", " Remise a Zéro ", {2940, 2940, 1395, 315}, Event::ClearClicked},
        {"BtnCopy",
         "Copier la journée",
         " Copier la journée du ",
         {2940, 3420, 1395, 315},
         Event::CopyDayClicked}};
    const Button rowButtons[] = {
        {"BtnAjouter", "Ajouter", "", {180, 5700, 855, 315}, Event::AddClicked},
        {"BtnReplacer", "Replacer", "", {1020, 5700, 855, 315}, Event::ReplaceClicked},
        {"BtnSupp", "Supprimer", "", {1860, 5700, 855, 315}, Event::RemoveClicked}};
    const auto addButton = [&](const Button& button) {
        controls.push_back({.name = button.name,
                            .kind = Kind::PushButton,
                            .caption = button.caption,
                            .toolTip = button.toolTip,
                            .place = button.place,
                            .container = frame,
                            .events = {button.event}});
    };
    for (const Button& button : dayButtons) {
        addButton(button);
    }
    const char* entryTips[] = {" de 1 à 4 ", " hh:mn:ss ", " en secondes "};
    const TwipsRect entryPlaces[] = {
        {180, 5220, 375, 285}, {780, 5220, 855, 285}, {1860, 5220, 555, 285}};
    for (int i = 0; i < 3; ++i) {
        controls.push_back({.name = "ChEdit",
                            .index = i,
                            .kind = Kind::TextField,
                            .toolTip = entryTips[i],
                            .place = entryPlaces[i],
                            .container = frame,
                            .content = ViewPart::EditFields,
                            .events = {Event::EntryFieldEdited}});
    }
    for (const Button& button : rowButtons) {
        addButton(button);
    }
}

// The inputs' controls lie below the client area and are never seen.
void addUnseenControls(std::vector<MainWindowControl>& controls) {
    controls.push_back({.name = "Label1", .caption = "Entrée", .place = {180, 7860, 465, 195}});
    controls.push_back({.name = "Label2", .caption = "Sortie", .place = {180, 8220, 405, 195}});
    controls.push_back({.name = "E", .kind = Kind::TextField, .place = {720, 7800, 375, 315}});
    controls.push_back({.name = "S", .kind = Kind::TextField, .place = {720, 8160, 375, 315}});
}

MainWindowDescription describe() {
    MainWindowDescription window{.name = "F1",
                                 .title = "Gestion Quorel révision du 22/06/2020 - USB-RLY02",
                                 .clientWidth = 7560,
                                 .clientHeight = 6900,
                                 .typeHeight = 165,
                                 .menus = menus()};
    addLeftSide(window.controls);
    addEditor(window.controls);
    addUnseenControls(window.controls);
    return inTabOrder(std::move(window));
}

} // namespace

const MainWindowDescription& mainWindowDescription() {
    static const MainWindowDescription window = describe();
    return window;
}

} // namespace quorel
