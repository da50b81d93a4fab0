#pragma once

namespace quorel {

// The timetable names outputs 1 to 4. Every module drives outputs 1 and 2 with its relays 1 and 2;
// a board with more relays than the two-relay USB-RLY02 drives outputs 3 and 4 as well, with its
// relays 3 and 4. An output without a relay is counted and shown but switches nothing.
inline constexpr int kOutputCount = 4;
// The relays of every module, the ones the test buttons switch.
inline constexpr int kRelayCount = 2;
// The most relays driven: one per output.
inline constexpr int kMaxRelayCount = kOutputCount;

} // namespace quorel
