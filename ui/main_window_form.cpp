#include "ui/main_window_form.h"

#include "ui/days_without_bells.h"
#include "ui/journal_viewer.h"
#include "ui/main_window_view.h"
#include "ui/ports_form.h"
#include "ui/program.h"
#include "ui/row_warnings.h"
#include "ui/signal_menu.h"
#include "ui/special_timetables.h"

#include <algorithm>
#include <string_view>

namespace quorel {

namespace {

Look indicatorLook(Indicator shown) {
    return shown == Indicator::On ? Look::IndicatorOn : Look::IndicatorOff;
}

// The element of a control array whose index is a valid position of array.
template <typename Array> bool within(const Array& array, int index) {
    return index >= 0 && static_cast<size_t>(index) < array.size();
}

} // namespace

Action actionOf(WindowEvent event) {
    switch (event) {
    case WindowEvent::EntryFieldEdited:
    case WindowEvent::SeriesOffsetEdited:
    case WindowEvent::SeriesDurationEdited:
        return Action::Edit;
    case WindowEvent::SeriesOutputChosen:
    case WindowEvent::RowChosen:
    case WindowEvent::DayChosen:
        return Action::Pick;
    case WindowEvent::ColumnClicked:
        return Action::HeaderClick;
    case WindowEvent::ListKeyReleased:
        return Action::KeyRelease;
    default:
        return Action::Click;
    }
}

MainWindowForm::MainWindowForm(Program& program, MainWindowView& window, FormScreen& screen)
    : program_(program), window_(window), screen_(screen) {}

const FormDescription& MainWindowForm::description() const {
    static const FormDescription window = described(mainWindowDescription());
    return window;
}

bool MainWindowForm::ended() const {
    return program_.ended();
}

ControlValue MainWindowForm::value(size_t control, bool menuItem) const {
    if (!menuItem) {
        return controlValue(description().controls.at(control));
    }
    const MenuItemDescription<int, int>& item = *menuItems(description()).at(control).item;
    ControlValue shown;
    if (item.content == static_cast<int>(ViewPart::AutoRun)) {
        shown.check = program_.autoRun.checked() ? CheckState::Checked : CheckState::Unchecked;
        shown.enabled = program_.autoRunAvailable();
    } else if (item.content == static_cast<int>(ViewPart::Signals)) {
        return signalMenuValue(item);
    } else if (item.content == static_cast<int>(ViewPart::Days)) {
        // The pop-up "Jour" lists the day list's timetables: its items beyond them are hidden.
        const std::vector<std::string>& names = program_.days.JourSemaine();
        shown.visible = within(names, item.index - 1);
        shown.text = shown.visible ? names[item.index - 1] : "";
    }
    return shown;
}

ControlValue MainWindowForm::signalMenuValue(const MenuItemDescription<int, int>& item) const {
    ControlValue shown;
    const std::string_view name = item.name;
    if (name == "Signal") {
        // The menu lists the signals by name, and hides its items beyond them.
        shown.visible = within(program_.signalNames, item.index - 1);
        shown.text = shown.visible ? program_.signalNames[item.index - 1] : "";
    } else if (name == "MnuArreterSignal") {
        const std::string running = runningSignal(program_);
        shown.enabled = !running.empty();
        shown.text = running.empty() ? "Arrêter le signal" : "Arrêter « " + running + " »";
    } else if (name == "MnuSuspendre") {
        shown.text =
            bellsSuspended(program_) ? "Reprendre les sonneries" : "Suspendre les sonneries";
    }
    return shown;
}

ControlValue MainWindowForm::controlValue(const ControlDescription<int, int>& control) const {
    const std::string_view name = control.name;
    const int i = control.index;
    const SchedulerCaptions& captions = program_.captions;
    const RelayPanel& panel = program_.panel;
    ControlValue shown;
    // Outputs 3 and 4 show their switch, indicator and times while the module has their relays.
    const bool outputControl =
        name == "CheckS" || name == "LedOut" || name == "LblTemp" || name == "LblMaxi";
    shown.visible = control.visible || (outputControl && i < panel.moduleRelays);
    if (name == "LblHeure") {
        shown.text = captions.LblHeure;
        shown.toolTip = captions.LblHeureToolTip;
        shown.look = captions.clockWarning ? Look::Warning : Look::Plain;
    } else if (name == "LedOut" && within(panel.LedOut, i)) {
        shown.look = indicatorLook(panel.LedOut[i]);
    } else if (name == "LblTemp" && within(captions.LblTemp, i)) {
        shown.text = captions.LblTemp[i];
    } else if (name == "LblMaxi" && within(captions.LblMaxi, i)) {
        shown.text = captions.LblMaxi[i];
    } else if (name == "CheckS" && within(panel.CheckS, i)) {
        shown.check = panel.CheckS[i];
    } else if (name == "InfoERR") {
        // While a signal runs, the status line says so before the link's state.
        const std::string signal = runningSignal(program_);
        shown.text = signal.empty() ? panel.InfoERR
                                    : "Signal « " + signal + " » en cours - " + panel.InfoERR;
        shown.toolTip = program_.statusToolTip();
    } else if (name == "PortCom") {
        shown.check = panel.PortCom == i ? CheckState::Checked : CheckState::Unchecked;
    } else if (name == "CmdRelais" && within(panel.CmdRelais, i)) {
        shown.look = panel.CmdRelais[i] == TestButton::RelayOn ? Look::RelayOn : Look::Plain;
    } else if (name == "Quorel") {
        const EditorList& list = program_.list;
        const std::vector<RowWarning> warnings = rowWarnings(list, panel.moduleRelays);
        for (int row = 1; row <= list.count(); ++row) {
            shown.rows.push_back(
                {list.row(row).column(0), list.row(row).column(1), list.row(row).column(2)});
            const RowWarning warning = warnings.at(row - 1);
            shown.rowLooks.push_back(warning == RowWarning::None ? Look::Plain : Look::Warning);
            shown.rowToolTips.emplace_back(rowWarningToolTip(warning));
        }
        if (list.selected()) {
            shown.selected = static_cast<size_t>(*list.selected() - 1);
        }
    } else if (name == "ChEdit" && within(program_.fields.ChEdit, i)) {
        shown.text = program_.fields.ChEdit[i];
    } else if (name == "ChDecoupe" && within(program_.fields.ChDecoupe, i)) {
        shown.text = program_.fields.ChDecoupe[i];
    } else if (name == "ChDure") {
        shown.text = program_.fields.ChDure;
    } else if (name == "ComboS") {
        const EditFields& fields = program_.fields;
        shown.items = fields.ComboSItems;
        const auto found = std::find(shown.items.begin(), shown.items.end(), fields.ComboS);
        if (found != shown.items.end()) {
            shown.selected = static_cast<size_t>(found - shown.items.begin());
        }
    } else if (name == "JourSemaine") {
        shown.items = program_.days.JourSemaine();
        if (program_.days.selectedDay()) {
            shown.selected = static_cast<size_t>(*program_.days.selectedDay());
        }
    } else if (name == "LblProchaine") {
        const NextBellSign sign = program_.shownNextBell();
        shown.text = sign.text;
        shown.toolTip = sign.toolTip.empty() ? sign.text : sign.toolTip;
        shown.look = sign.warning ? Look::Warning : Look::Plain;
    }
    return shown;
}

std::optional<WindowInput> MainWindowForm::windowInput(const ControlInput& input) const {
    const std::optional<WindowEvent> event = eventOf<WindowEvent>(description(), input, actionOf);
    if (!event) {
        return std::nullopt;
    }
    WindowInput window{.event = *event, .text = input.text, .check = input.check, .key = input.key};
    window.index = input.menuItem ? menuItems(description()).at(input.control).item->index
                                  : description().controls.at(input.control).index;
    const int row = input.row ? static_cast<int>(*input.row) : -1;
    switch (*event) {
    case WindowEvent::RowChosen:
        window.position = row + 1; // 0: no row
        break;
    case WindowEvent::ColumnClicked:
        window.position = row + 1;
        break;
    case WindowEvent::DayChosen:
        if (row < 0) {
            return std::nullopt;
        }
        window.position = row;
        break;
    case WindowEvent::SeriesOutputChosen:
        window.text = within(program_.fields.ComboSItems, row) ? program_.fields.ComboSItems[row]
                                                               : std::string();
        break;
    default:
        break;
    }
    return window;
}

bool MainWindowForm::waitsForInputEnd(const ControlInput& input) const {
    const std::optional<WindowInput> window = windowInput(input);
    return window && window->event == WindowEvent::DayChosen && program_.days.modified();
}

void MainWindowForm::raise(const ControlInput& input) {
    if (program_.ended()) {
        return;
    }
    const std::optional<WindowInput> window = windowInput(input);
    if (!window) {
        return;
    }
    switch (handleWindowEvent(program_, *window)) {
    case WindowRequest::None:
        return;
    case WindowRequest::OpenDayMenu:
        return window_.showCopyMenu();
    case WindowRequest::EditDaysWithoutBells:
        return editDaysWithoutBells(program_, screen_);
    case WindowRequest::EditPorts:
        return editPorts(program_, screen_);
    case WindowRequest::EditSpecialTimetables:
        return editSpecialTimetables(program_, screen_);
    case WindowRequest::ShowJournal:
        return showJournal(program_, screen_);
    case WindowRequest::EditSignals:
        return editSignals(program_, screen_);
    case WindowRequest::Quit:
        return window_.closeFor(ShutdownCause::Quit);
    }
}

} // namespace quorel
