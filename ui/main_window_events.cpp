#include "ui/main_window_events.h"

#include "ui/program.h"
#include "ui/signal_menu.h"

namespace quorel {

namespace {

// The element of a control array that raised an event, or none when it is out of the array.
template <typename Array> std::string* element(Array& texts, int index) {
    return index >= 0 && index < static_cast<int>(texts.size()) ? &texts[index] : nullptr;
}

void setText(std::string* field, const std::string& text) {
    if (field != nullptr) {
        *field = text;
    }
}

} // namespace

WindowRequest handleWindowEvent(Program& p, const WindowInput& input) {
    const auto index = static_cast<int16_t>(input.index);
    switch (input.event) {
    case WindowEvent::PortChosen:
        p.console.active() ? p.console.choosePort(index) : p.portChoice.select(index);
        break;
    case WindowEvent::OutputSwitchClicked:
        if (p.console.active()) {
            p.console.switchOutput(index, input.check == CheckState::Checked);
            break;
        }
        p.manual.setCheckS(index, input.check);
        p.manual.CheckS_Click(index);
        break;
    case WindowEvent::RelayTestClicked:
        p.console.active() ? p.console.testRelay(index) : p.manual.CmdRelais_Click(index);
        break;
    case WindowEvent::EntryFieldEdited:
        setText(element(p.fields.ChEdit, input.index), input.text);
        break;
    case WindowEvent::SeriesOffsetEdited:
        setText(element(p.fields.ChDecoupe, input.index), input.text);
        break;
    case WindowEvent::SeriesDurationEdited:
        p.fields.ChDure = input.text;
        break;
    case WindowEvent::SeriesOutputChosen:
        p.fields.ComboS = input.text;
        break;
    case WindowEvent::SeriesClicked:
        p.entries.BtnInti_Click();
        break;
    case WindowEvent::AddClicked:
        p.entries.BtnAjouter_Click();
        break;
    case WindowEvent::ReplaceClicked:
        p.entries.BtnReplacer_Click();
        break;
    case WindowEvent::RemoveClicked:
        p.entries.BtnSupp_Click();
        break;
    case WindowEvent::ClearClicked:
        p.entries.BtnDelete_Click();
        break;
    case WindowEvent::SaveClicked:
        p.days.BtnSave_Click();
        break;
    case WindowEvent::CopyDayClicked:
        return WindowRequest::OpenDayMenu;
    case WindowEvent::RowChosen:
        p.list.select(input.position > 0 ? std::optional<int>(input.position) : std::nullopt);
        break;
    case WindowEvent::ListClicked:
        p.entries.Quorel_Click();
        break;
    case WindowEvent::ColumnClicked:
        p.entries.Quorel_ColumnClick(input.position);
        break;
    case WindowEvent::ListKeyReleased:
        p.entries.Quorel_KeyUp(input.key);
        break;
    case WindowEvent::DayChosen:
        p.days.selectDay(input.position);
        break;
    case WindowEvent::DayCopied:
        p.days.Jour_Click(index);
        break;
    case WindowEvent::AutoRunClicked:
        if (p.autoRunAvailable()) {
            p.autoRun.mnuautorun_Click();
        }
        break;
    case WindowEvent::DaysWithoutBellsClicked:
        return WindowRequest::EditDaysWithoutBells;
    case WindowEvent::PortsClicked:
        return WindowRequest::EditPorts;
    case WindowEvent::SpecialTimetablesClicked:
        return WindowRequest::EditSpecialTimetables;
    case WindowEvent::JournalClicked:
        return WindowRequest::ShowJournal;
    case WindowEvent::QuitClicked:
        return WindowRequest::Quit;
    case WindowEvent::SignalClicked:
        signalClicked(p, input.index);
        break;
    case WindowEvent::StopSignalClicked:
        stopSignalClicked(p);
        break;
    case WindowEvent::SuspendClicked:
        suspendClicked(p);
        break;
    case WindowEvent::SignalsClicked:
        return WindowRequest::EditSignals;
    }
    return WindowRequest::None;
}

} // namespace quorel
