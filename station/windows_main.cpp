#include "platform/windows/named_pipe_connection.h"
#include "platform/windows/program_data_folder.h"
#include "platform/windows/service_setup.h"
#include "platform/windows/utf8_console.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/windows_service.h"
#include "station/station_command_line.h"
#include "station/station_status.h"
#include "station/windows_station_service.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

// The installer's step with SYSTEM's rights: the data folder and its access list, then the
// service's restarts. A folder that could not be protected fails the installation; restarts that
// could not be set are said, the bells ring all the same.
int prepareService(const std::string& folder) {
    std::string caveat;
    const std::string protection = quorel::protectDataFolder(folder, caveat);
    const std::string restarts = quorel::restartOnFailure(quorel::kServiceName);
    for (const std::string& said : {protection, caveat, restarts}) {
        if (!said.empty()) {
            std::cerr << "quorel-station : " << said << "\n";
        }
    }
    return protection.empty() ? 0 : 1;
}

} // namespace

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
    if (options.command != quorel::StationCommand::None) {
        quorel::NamedPipeConnection connection(channel);
        return quorel::runStationCommand(connection, options.command, options.signal, std::cout,
                                         std::cerr);
    }
    if (options.prepareService) {
        return prepareService(folder);
    }
    if (options.service) {
        const std::optional<int> status =
            quorel::WindowsService::run(quorel::kServiceName, [&](quorel::WindowsService& manager) {
                quorel::WindowsStationService service(folder, channel, std::cerr, &manager);
                return service.run();
            });
        if (!status) {
            std::cerr << "quorel-station : --service : seul le gestionnaire de services de "
                         "Windows lance la station ainsi.\n";
            return 2;
        }
        return *status;
    }
    quorel::WindowsStationService service(folder, channel, std::cerr);
    return service.run();
}
