#pragma once

#include "platform/channel_connection.h"

#include <ostream>

namespace quorel {

// Exit statuses of "quorel-station --status" beside 0, the state printed.
inline constexpr int kNoStationStatus = 3;
inline constexpr int kRefusedStatus = 4;

// Asks the station behind the connection for its state and prints it on out as one JSON object
// on one line. No station, or one that does not answer within a few seconds: a French line on
// err and kNoStationStatus; a user the station refuses: "Accès refusé : …" on err and
// kRefusedStatus.
int printStationStatus(ChannelConnection& connection, std::ostream& out, std::ostream& err);

} // namespace quorel
