#pragma once

namespace quorel {

// The state of a check box or of a checkable menu item; only Checked counts as on.
enum class CheckState { Unchecked, Checked, Greyed };

} // namespace quorel
