#include "ui/win32/special_timetables_window.h"

#include "ui/win32/colours.h"
#include "ui/win32/control_text.h"

#include <cwchar>

namespace quorel {

namespace {

using Event = SpecialTimetablesEvent;

bool raisedBy(Event event, UINT code) {
    switch (event) {
    case Event::TimetableChosen:
        return code == LBN_SELCHANGE;
    case Event::NameEdited:
        return code == EN_CHANGE;
    case Event::PeriodChosen:
        return code == LVN_ITEMCHANGED;
    case Event::FromEdited:
    case Event::ToEdited:
        return code == DTN_DATETIMECHANGE;
    case Event::TimetablePicked:
        return code == CBN_SELCHANGE;
    default:
        return code == BN_CLICKED;
    }
}

std::optional<size_t> selection(LRESULT selected) {
    return selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected)) : std::nullopt;
}

void fill(HWND control, const std::vector<std::string>& items, UINT reset, UINT add) {
    ::SendMessageW(control, reset, 0, 0);
    for (const std::string& item : items) {
        ::SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(toWide(item).c_str()));
    }
}

} // namespace

SpecialTimetablesWindow::SpecialTimetablesWindow(SpecialTimetablesForm& form, HWND owner)
    : form_(form) {
    open(owner, specialTimetablesDescription());
    ListView_SetExtendedListViewStyle(control("Periodes"), LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    showForm();
}

void SpecialTimetablesWindow::raise(Event event, HWND source) {
    switch (event) {
    case Event::TimetableChosen:
        form_.chooseTimetable(selection(::SendMessageW(source, LB_GETCURSEL, 0, 0)));
        break;
    case Event::NameEdited:
        form_.setName(textOf(source));
        return;
    case Event::PeriodChosen:
        form_.choosePeriod(selection(ListView_GetNextItem(source, -1, LVNI_SELECTED)));
        return;
    case Event::FromEdited:
        form_.setFrom(dateIn(source));
        return;
    case Event::ToEdited:
        form_.setTo(dateIn(source));
        return;
    case Event::TimetablePicked:
        if (const auto choice = selection(::SendMessageW(source, CB_GETCURSEL, 0, 0))) {
            form_.pickTimetable(*choice);
        }
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

void SpecialTimetablesWindow::showForm() {
    const Quiet quiet(quiet_);
    HWND timetables = control("ListeHoraires");
    fill(timetables, form_.timetables(), LB_RESETCONTENT, LB_ADDSTRING);
    const std::optional<size_t> chosen = form_.chosenTimetable();
    ::SendMessageW(timetables, LB_SETCURSEL, chosen ? *chosen : static_cast<WPARAM>(-1), 0);
    setText(control("ChNom"), form_.name());

    HWND list = control("Periodes");
    rows_ = form_.rows();
    std::vector<std::vector<std::string>> texts;
    for (const DatedPeriodRow& row : rows_) {
        texts.push_back({row.from, row.to, row.timetable});
    }
    showRows(list, texts);
    form_.choosePeriod(std::nullopt); // the rows were made anew: none is current
    setDate(control("ChDu"), form_.from());
    setDate(control("ChAu"), form_.to());
    HWND choices = control("ComboHoraire");
    fill(choices, form_.timetableChoices(), CB_RESETCONTENT, CB_ADDSTRING);
    ::SendMessageW(choices, CB_SETCURSEL, form_.timetableChoice(), 0);
}

LRESULT SpecialTimetablesWindow::drawRow(NMLVCUSTOMDRAW* draw) const {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || draw->nmcd.dwItemSpec >= rows_.size()) {
        return CDRF_DODEFAULT;
    }
    const DatedPeriodRow& row = rows_[draw->nmcd.dwItemSpec];
    if (!row.fault.empty()) {
        draw->clrText = warningTextColour();
        draw->clrTextBk = warningBackgroundColour();
        return CDRF_NEWFONT;
    }
    if (row.over) {
        draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

LRESULT SpecialTimetablesWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        if (header->hwndFrom == control("Periodes") && header->code == NM_CUSTOMDRAW) {
            return drawRow(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
        }
        if (header->hwndFrom == control("Periodes") && header->code == LVN_GETINFOTIPW) {
            auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
            if (tip->iItem >= 0 && static_cast<size_t>(tip->iItem) < rows_.size()) {
                const std::wstring fault = toWide(rows_[tip->iItem].fault);
                std::wcsncpy(tip->pszText, fault.c_str(), static_cast<size_t>(tip->cchTextMax));
                tip->pszText[tip->cchTextMax - 1] = L'\0';
            }
            return 0;
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
    for (Event event : specialTimetablesDescription().controls[position].events) {
        if (raisedBy(event, code)) {
            raise(event, source);
            break;
        }
    }
    return 0;
}

} // namespace quorel
