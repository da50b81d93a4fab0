#include "platform/posix/unix_socket_connection.h"
#include "station/posix_station_service.h"
#include "station/station_command_line.h"
#include "station/station_status.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    quorel::StationOptions options;
    if (const std::optional<int> exitCode = quorel::readStationCommandLine(
            std::vector<std::string>(argv, argv + argc), options, std::cout, std::cerr)) {
        return *exitCode;
    }
    const std::string folder =
        quorel::stationDataFolder(options, [](const char* name) -> std::optional<std::string> {
            const char* value = std::getenv(name);
            return value ? std::optional<std::string>(value) : std::nullopt;
        });
    const std::string channel =
        !options.channel.empty()
            ? options.channel
            : quorel::defaultChannelAddress(
                  [](const char* name) -> const char* { return std::getenv(name); });
    if (options.status) {
        quorel::UnixSocketConnection connection(channel);
        return quorel::printStationStatus(connection, std::cout, std::cerr);
    }
    if (options.command != quorel::StationCommand::None) {
        quorel::UnixSocketConnection connection(channel);
        return quorel::runStationCommand(connection, options.command, options.signal, std::cout,
                                         std::cerr);
    }
    quorel::PosixStationService service(folder, channel, std::cerr);
    return service.run();
}
