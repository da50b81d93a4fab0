#pragma once

#include "ui/editor_list.h"

#include <vector>

namespace quorel {

// Why a row of the editor's list will never ring once saved.
enum class RowWarning {
    None,
    // Its time text can never match the clock.
    TimeNeverMatches,
    // It takes a slot of today's table after the last one (TodayTable::kSlots).
    BeyondCapacity,
    // Its output 3 or 4 has no relay on a module of two relays: it rings nothing.
    NoRelay3,
    NoRelay4,
};

// The warning of each row, in list position order. "Sauve" writes the rows in ascending time
// text order, rows of equal time keeping their list order; the scheduler then fills its slots in
// that order, so a row is beyond capacity when that many rows taking a slot come before it.
// moduleRelays: the relays the module drives (2 or 4).
std::vector<RowWarning> rowWarnings(const EditorList& list, int moduleRelays = 2);
// The warning of an output that the module cannot switch, None when it can.
RowWarning outputWarning(int output, int moduleRelays);

// The tool tip telling the operator why a row will never ring; empty for RowWarning::None.
const char* rowWarningToolTip(RowWarning warning);

} // namespace quorel
