#include "ui/win32/days_without_bells_window.h"

#include "ui/win32/control_text.h"

#include <commctrl.h>

namespace quorel {

namespace {

using Event = DaysWithoutBellsEvent;

// The notification of a native control that raises each event.
bool raisedBy(Event event, UINT code) {
    switch (event) {
    case Event::PeriodChosen:
        return code == LVN_ITEMCHANGED;
    case Event::FromEdited:
    case Event::ToEdited:
        return code == DTN_DATETIMECHANGE;
    case Event::LabelEdited:
        return code == EN_CHANGE;
    default:
        return code == BN_CLICKED;
    }
}

} // namespace

DaysWithoutBellsWindow::DaysWithoutBellsWindow(DaysWithoutBellsForm& form, HWND owner)
    : form_(form) {
    open(owner, daysWithoutBellsDescription());
    ListView_SetExtendedListViewStyle(control("JoursSansSonnerie"), LVS_EX_FULLROWSELECT);
    showForm();
}

void DaysWithoutBellsWindow::raise(Event event, HWND source) {
    switch (event) {
    case Event::PeriodChosen: {
        const int row = ListView_GetNextItem(source, -1, LVNI_SELECTED);
        form_.choosePeriod(row >= 0 ? std::optional<size_t>(row) : std::nullopt);
        return;
    }
    case Event::FromEdited:
        form_.setFrom(dateIn(source));
        return;
    case Event::ToEdited:
        form_.setTo(dateIn(source));
        return;
    case Event::LabelEdited:
        form_.setLabel(textOf(source));
        return;
    default:
        form_.click(event);
        break;
    }
    if (form_.ended()) {
        done_ = true;
        return;
    }
    showForm();
}

void DaysWithoutBellsWindow::showForm() {
    const Quiet quiet(quiet_);
    HWND list = control("JoursSansSonnerie");
    rows_ = form_.rows();
    std::vector<std::vector<std::string>> texts;
    for (const PeriodRow& row : rows_) {
        texts.push_back({row.from, row.to, row.label});
    }
    showRows(list, texts);
    form_.choosePeriod(std::nullopt); // the rows were made anew: none is current
    setDate(control("ChDu"), form_.from());
    setDate(control("ChAu"), form_.to());
    setText(control("ChMotif"), form_.label());
}

LRESULT DaysWithoutBellsWindow::greyPeriodsOver(NMLVCUSTOMDRAW* draw) const {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec < rows_.size() &&
        rows_[draw->nmcd.dwItemSpec].over) {
        draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

LRESULT DaysWithoutBellsWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND source = nullptr;
    UINT code = 0;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) { // Escape
            raise(Event::CancelClicked, nullptr);
            return 0;
        }
        source = reinterpret_cast<HWND>(lParam);
        code = HIWORD(wParam);
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == NM_CUSTOMDRAW && header->hwndFrom == control("JoursSansSonnerie")) {
            return greyPeriodsOver(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        }
        source = header->hwndFrom;
        code = header->code;
        break;
    }
    case WM_CLOSE:
        raise(Event::CancelClicked, nullptr);
        return 0;
    default:
        return DescribedDialog::handleMessage(message, wParam, lParam);
    }
    const int position = positionOf(source);
    if (position < 0 || quiet_ > 0) {
        return 0;
    }
    for (Event event : daysWithoutBellsDescription().controls[position].events) {
        if (raisedBy(event, code)) {
            raise(event, source);
            break;
        }
    }
    return 0;
}

} // namespace quorel
