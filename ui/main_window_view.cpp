#include "ui/main_window_view.h"

namespace quorel {

void MainWindowView::redraw(ViewPart part) {
    if (program_ == nullptr) {
        return;
    }
    switch (part) {
    case ViewPart::Clock:
        return showClock();
    case ViewPart::Outputs:
        return showOutputs();
    case ViewPart::Status:
        return showStatus();
    case ViewPart::PortChoice:
        return showPortChoice();
    case ViewPart::RelayButtons:
        return showRelayButtons();
    case ViewPart::List:
        return showList();
    case ViewPart::EditFields:
        return showEditFields();
    case ViewPart::Days:
        return showDays();
    case ViewPart::AutoRun:
        return showAutoRun();
    case ViewPart::NextBell:
        return showNextBell();
    }
}

void MainWindowView::forward(const WindowInput& input) {
    if (program_ == nullptr) {
        return;
    }
    switch (handleWindowEvent(*program_, input)) {
    case WindowRequest::None:
        return;
    case WindowRequest::OpenDayMenu:
        return showCopyMenu();
    case WindowRequest::EditDaysWithoutBells:
        return editDaysWithoutBells();
    case WindowRequest::EditPorts:
        return editPorts();
    case WindowRequest::EditSpecialTimetables:
        return editSpecialTimetables();
    case WindowRequest::ShowJournal:
        return showJournal();
    case WindowRequest::Quit:
        return closeFor(ShutdownCause::Quit);
    }
}

} // namespace quorel
