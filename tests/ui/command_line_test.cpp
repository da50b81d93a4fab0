#include "ui/command_line.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quorel {
namespace {

struct Outcome {
    std::optional<int> exitCode;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "quorel");
    std::ostringstream out;
    std::ostringstream err;
    const ToolkitOptions toolkit{{"platform", "style"}, {"reverse"}};
    return {handleCommandLine(arguments, toolkit, out, err), out.str(), err.str()};
}

std::string refusal(const std::string& what) {
    return "quorel : " + what + "\nEssayez « quorel --help » pour en savoir plus.\n";
}

TEST(CommandLine, HelpAndVersionEndTheProgramToolkitOptionsPassAndTheRestIsRefused) {
    for (const char* help : {"-h", "--help", "-help"}) {
        const Outcome outcome = run({help});
        EXPECT_EQ(outcome.exitCode, 0) << help;
        EXPECT_TRUE(outcome.out.starts_with("Usage : quorel [options]\n")) << help;
    }
    EXPECT_EQ(run({"--version"}).out, "quorel " QUOREL_VERSION "\n");
    EXPECT_EQ(run({"-platform", "xcb", "-v"}).exitCode, 0);
    EXPECT_EQ(run({"--version", "--help"}).out.substr(0, 5), "Usage"); // help wins

    // Nothing to say: the program starts, the toolkit's options and their values untouched.
    for (const auto& start : std::vector<std::vector<std::string>>{
             {}, {"-platform", "offscreen"}, {"--style=fusion", "-reverse"}, {"--"}}) {
        const Outcome outcome = run(start);
        EXPECT_FALSE(outcome.exitCode.has_value()) << outcome.err;
        EXPECT_EQ(outcome.out + outcome.err, "");
    }

    const std::vector<std::pair<std::vector<std::string>, std::string>> refused{
        {{"--bogus"}, "option inconnue « --bogus »"},
        {{"-x=1"}, "option inconnue « -x »"},
        {{"Quorel.0"}, "argument inattendu « Quorel.0 »"},
        {{"-"}, "argument inattendu « - »"},
        {{"--", "--help"}, "argument inattendu « --help »"},
        {{"-platform"}, "valeur manquante après « -platform »"},
        {{"--reverse=yes"}, "l'option « --reverse » ne prend pas de valeur"},
        {{"--help=me"}, "l'option « --help » ne prend pas de valeur"},
    };
    for (const auto& [arguments, what] : refused) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << what;
        EXPECT_EQ(outcome.err, refusal(what));
        EXPECT_EQ(outcome.out, "");
    }
}

TEST(CommandLine, TheStationsCommandsAreReadInsteadOfStartingTheWindow) {
    const auto read = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "quorel");
        std::ostringstream out;
        std::ostringstream err;
        StationCommand command = StationCommand::None;
        std::string signal;
        std::string station;
        const std::optional<int> exit =
            handleCommandLine(arguments, ToolkitOptions{}, out, err, &station, &command, &signal);
        return std::tuple{exit, command, signal + err.str()};
    };
    EXPECT_EQ(read({"--signal", "Alerte intrusion"}),
              std::tuple(std::optional<int>(), StationCommand::StartSignal, "Alerte intrusion"));
    EXPECT_EQ(read({"--signal=Fin"}),
              std::tuple(std::optional<int>(), StationCommand::StartSignal, "Fin"));
    EXPECT_EQ(std::get<1>(read({"--suspend"})), StationCommand::Suspend);
    EXPECT_EQ(std::get<1>(read({"--stop-signal"})), StationCommand::StopSignal);
    EXPECT_EQ(std::get<0>(read({"--resume=1"})), 2);
    EXPECT_EQ(std::get<0>(read({"--signal"})), 2);
}

} // namespace
} // namespace quorel
