#include "ui/win32/described_dialog.h"

#include <commctrl.h>

namespace quorel {

void DescribedDialog::run() {
    runModal(window_, owner_, done_);
}

int DescribedDialog::positionOf(HWND control) const {
    const auto position = controls_.positionOf(control);
    return position ? static_cast<int>(*position) : -1;
}

void DescribedDialog::centreOverOwner() {
    RECT over{};
    if (owner_ == nullptr || ::IsWindowVisible(owner_) == FALSE) {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    } else {
        ::GetWindowRect(owner_, &over);
    }
    RECT own{};
    ::GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    ::SetWindowPos(window_, nullptr, over.left + (over.right - over.left - width) / 2,
                   over.top + (over.bottom - over.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void showRows(HWND list, const std::vector<std::vector<std::string>>& rows) {
    ListView_DeleteAllItems(list);
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t column = 0; column < rows[row].size(); ++column) {
            std::wstring text = toWide(rows[row][column]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            ::SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row,
                           reinterpret_cast<LPARAM>(&item));
        }
    }
    const int count = Header_GetItemCount(ListView_GetHeader(list));
    for (int column = 0; column < count; ++column) {
        ListView_SetColumnWidth(list, column,
                                column + 1 < count ? LVSCW_AUTOSIZE : LVSCW_AUTOSIZE_USEHEADER);
    }
}

} // namespace quorel
