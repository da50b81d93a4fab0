#include "ui/entry_commands.h"

#include <cstdio>

namespace quorel {

namespace {

std::string withoutOuterSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

void EntryCommands::BtnInti_Click() {
    // Sorting off, so that every row of the series stays at the end where it is added.
    list_.setSorted(false);
    bool full = false;
    for (int hour = 0; hour <= 23 && !full; ++hour) {
        for (const std::string& offsetField : fields_.ChDecoupe) {
            const std::string offset = withoutOuterSpaces(offsetField);
            if (offset.empty()) {
                continue;
            }
            if (list_.count() >= EditorList::kMaxRows) {
                full = true;
                break;
            }
            char hourText[8];
            std::snprintf(hourText, sizeof hourText, "%02d:", hour);
            list_.add({fields_.ComboS, hourText + offset, fields_.ChDure});
        }
    }
    view_.redraw(ViewPart::List);
    if (full) {
        reportListFull();
    }
}

} // namespace quorel
