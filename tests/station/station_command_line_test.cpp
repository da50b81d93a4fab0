#include "station/station_command_line.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace quorel {
namespace {

struct Outcome {
    std::optional<int> exitCode;
    StationOptions options;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "quorel-station");
    Outcome outcome;
    std::ostringstream out;
    std::ostringstream err;
    outcome.exitCode = readStationCommandLine(arguments, outcome.options, out, err);
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

TEST(StationCommandLine, TakesTheFolderAndTheChannelEndsOnHelpAndVersionAndRefusesTheRest) {
    const Outcome spaced = run({"--data-folder", "/srv/bells", "--channel", "unix:/run/q"});
    EXPECT_EQ(spaced.exitCode, std::nullopt) << spaced.err;
    EXPECT_EQ(spaced.options.dataFolder, "/srv/bells");
    EXPECT_EQ(spaced.options.channel, "unix:/run/q");
    const Outcome joined = run({"--data-folder=/a=b", "--channel=x"});
    EXPECT_EQ(joined.options.dataFolder, "/a=b");
    EXPECT_EQ(joined.options.channel, "x");

    EXPECT_EQ(run({"-h"}).exitCode, 0);
    EXPECT_TRUE(run({"--help"}).out.starts_with("Usage : quorel-station [options]\n"));
    EXPECT_EQ(run({"--version"}).out, "quorel-station " QUOREL_VERSION "\n");

    const std::map<std::vector<std::string>, std::string> refused = {
        {{"--bogus"}, "option inconnue « --bogus »"},
        {{"--data-folder"}, "valeur manquante après « --data-folder »"},
        {{"folder"}, "argument inattendu « folder »"},
        {{"--help=yes"}, "option inconnue « --help »"}};
    for (const auto& [arguments, what] : refused) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.front();
        EXPECT_EQ(outcome.err, "quorel-station : " + what +
                                   "\nEssayez « quorel-station --help » pour en savoir plus.\n");
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(StationCommandLine, TheDataFolderIsTheOptionElseTheServiceManagersElseVarLibQuorel) {
    std::map<std::string, std::string> set;
    const auto environment = [&set](const char* name) -> std::optional<std::string> {
        const auto found = set.find(name);
        return found == set.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
    EXPECT_EQ(stationDataFolder({}, environment), "/var/lib/quorel");
    set["STATE_DIRECTORY"] = "";
    EXPECT_EQ(stationDataFolder({}, environment), "/var/lib/quorel");
    set["STATE_DIRECTORY"] = "/var/lib/quorel-a:/var/lib/other";
    EXPECT_EQ(stationDataFolder({}, environment), "/var/lib/quorel-a");
    EXPECT_EQ(stationDataFolder({"/srv/bells", ""}, environment), "/srv/bells");
}

} // namespace
} // namespace quorel
