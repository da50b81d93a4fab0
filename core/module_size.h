#pragma once

namespace quorel {

// The timetable names outputs 1 to 4; the module has two relays, driven by outputs 1 and 2.
// Outputs 3 and 4 are counted and shown but switch nothing.
inline constexpr int kOutputCount = 4;
inline constexpr int kRelayCount = 2;

} // namespace quorel
