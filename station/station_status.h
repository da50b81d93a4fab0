#pragma once

#include "platform/channel_connection.h"
#include "station/channel_lines.h"
#include "station/station_command_line.h"

#include <ostream>
#include <string>

namespace quorel {

// Exit statuses of "quorel-station --status" and of the commands to a running station beside 0.
inline constexpr int kNoStationStatus = 3;
inline constexpr int kRefusedStatus = 4;
inline constexpr int kCommandFailedStatus = 5;

// Asks the station behind the connection for its state and prints it on out as one JSON object
// on one line. No station, or one that does not answer within a few seconds: a French line on
// err and kNoStationStatus; a user the station refuses: "Accès refusé : …" on err and
// kRefusedStatus.
int printStationStatus(ChannelConnection& connection, std::ostream& out, std::ostream& err);

// Sends the command (with the signal's name) and says on out what the station did, in French,
// then 0; or why not on err and kCommandFailedStatus (or the statuses of printStationStatus).
// program: the program's name, which begins each line on err.
int runStationCommand(ChannelConnection& connection, StationCommand command,
                      const std::string& signal, std::ostream& out, std::ostream& err,
                      const std::string& program = "quorel-station");

// The request of a command from the command line, as the channel takes it.
Message stationCommandRequest(StationCommand command, const std::string& signal);

} // namespace quorel
