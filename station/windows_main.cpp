#include "platform/windows/named_pipe_connection.h"
#include "platform/windows/program_data_folder.h"
#include "platform/windows/utf8_console.h"
#include "platform/windows/wide_text.h"
#include "station/station_command_line.h"
#include "station/station_status.h"
#include "station/windows_station_service.h"

#include <iostream>
#include <string>
#include <vector>

// The arguments come in UTF-16, so that a folder's name reaches the station as it was typed.
int wmain(int argc, wchar_t** argv) {
    const quorel::Utf8Console console;
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(quorel::fromWide(argv[i]));
    }
    quorel::StationOptions options;
    if (const std::optional<int> exitCode =
            quorel::readStationCommandLine(arguments, options, std::cout, std::cerr)) {
        return *exitCode;
    }
    const std::string folder =
        options.dataFolder.empty() ? quorel::programDataFolder() + "\\Quorel" : options.dataFolder;
    const std::string channel =
        options.channel.empty()
            ? quorel::defaultChannelAddress([](const char*) -> const char* { return nullptr; })
            : options.channel;
    if (options.status) {
        quorel::NamedPipeConnection connection(channel);
        return quorel::printStationStatus(connection, std::cout, std::cerr);
    }
    quorel::WindowsStationService service(folder, channel, std::cerr);
    return service.run();
}
