#include "ui/entry_commands.h"

#include "ui/output_check.h"

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

EntryCommands::EntryCommands(EditorList& list, EditFields& fields, Dialogs& dialogs, View& view)
    : list_(list), fields_(fields), dialogs_(dialogs), view_(view) {}

void EntryCommands::reportListFull() {
    dialogs_.message("La liste est pleine : elle contient au plus 32 767 lignes. "
                     "Les lignes en trop n'ont pas été ajoutées.",
                     MessageIcon::Critical);
}

void EntryCommands::BtnAjouter_Click() {
    if (!outputFieldAccepted(fields_.ChEdit[0], 2)) {
        dialogs_.message(kAddOutputError, MessageIcon::Critical);
        return;
    }
    if (list_.count() >= EditorList::kMaxRows) {
        reportListFull();
        return;
    }
    // Sorting off first, so that the new row stays at the end where it is added.
    list_.setSorted(false);
    list_.add({fields_.ChEdit[0], fields_.ChEdit[1], fields_.ChEdit[2]});
    view_.redraw(ViewPart::List);
}

void EntryCommands::BtnReplacer_Click() {
    if (!outputFieldAccepted(fields_.ChEdit[0], 4)) {
        dialogs_.message(kReplaceOutputError, MessageIcon::Critical);
        return;
    }
    const auto position = list_.selected();
    if (list_.count() == 0 || !position) {
        return;
    }
    list_.replace(*position, {fields_.ChEdit[0], fields_.ChEdit[1], fields_.ChEdit[2]});
    view_.redraw(ViewPart::List);
}

void EntryCommands::removeSelected() {
    const auto position = list_.selected();
    if (list_.count() == 0 || !position) {
        return;
    }
    list_.remove(*position);
    view_.redraw(ViewPart::List);
}

void EntryCommands::BtnSupp_Click() {
    removeSelected();
}

void EntryCommands::Quorel_KeyUp(const KeyRelease& released) {
    if (released.key == ListKey::Delete) {
        removeSelected();
    }
}

void EntryCommands::BtnDelete_Click() {
    if (list_.count() == 0) {
        return;
    }
    list_.clear();
    view_.redraw(ViewPart::List);
}

void EntryCommands::Quorel_Click() {
    const auto position = list_.selected();
    if (list_.count() == 0 || !position) {
        return;
    }
    const ScheduleEntry& row = list_.row(*position);
    fields_.ChEdit = {row.output, row.time, row.duration};
    view_.redraw(ViewPart::EditFields);
}

void EntryCommands::Quorel_ColumnClick(int headerPosition) {
    if (headerPosition < 1 || headerPosition > 3) {
        return;
    }
    list_.setSortKey(headerPosition - 1);
    list_.setSorted(true);
    view_.redraw(ViewPart::List);
}

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
