// quorel.exe under Wine, its port COM1 a pseudo-terminal reached through a symbolic link, as a
// relay module on a Windows computer. The test command runs it once the Windows build exists.

#include "platform/posix/system_clock.h"
#include "schedule/calendar_date.h"
#include "schedule/weekday.h"
#include "station/channel_lines.h"
#include "tests/support/wine_program.h"

#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <memory>
#include <thread>

namespace quorel {
namespace {

using namespace test;

std::vector<test::ReceivedByte> readUntil(test::PseudoTerminal& module, double wallDeadline) {
    return module.read(SIZE_MAX, wallDeadline - test::wallNow());
}

TEST(WineEndToEnd, EntriesRingOnTheirSecondOnCom1TheCloseBoxSavesAndAReplugRingsAgain) {
    ASSERT_FALSE(windowsBuild().empty()) << "QUOREL_WINDOWS_BUILD names no Windows build";
    SystemClock clock;
    while (clock.secondsSinceMidnight() > 86400 - 180) { // today stays today for the test
        std::this_thread::sleep_for(std::chrono::seconds(10));
    }
    const std::string today = "Quorel." + std::to_string(CurrentWeekday(clock) - 1);
    Com1 com1;
    auto module = std::make_unique<test::PseudoTerminal>();
    com1.plugIn(*module);
    PortableCopy quorel;
    quorel.write("Quorel.ini", "1"); // COM1: saved back in the program's own form
    const double first = std::floor(test::wallNow()) + 10; // Wine takes a few seconds to start
    const double second = first + 12;
    quorel.write(today, record("1", first, "2") + record("2", second, "1"));
    quorel.start();

    const auto bytes = readUntil(*module, first + 4);
    ASSERT_FALSE(bytes.empty()) << quorel.log();
    // Who is there (the pseudo-terminal answers nothing), then the start-up's relays off.
    EXPECT_EQ(between(bytes, 0, first), "Zop") << quorel.log();
    // Relay 1 on inside its second with relay 2's command 0.15 s after; off 2 s later.
    const std::string ringing = between(bytes, first, first + 1);
    ASSERT_GE(ringing.size(), 2u) << between(bytes, 0, 1e12);
    EXPECT_EQ(ringing.substr(0, 2), "ep");
    EXPECT_EQ(between(bytes, first + 1, first + 2), "");
    EXPECT_EQ(between(bytes, first + 2, first + 3.4), "op");
    for (size_t i = 1; i < bytes.size(); ++i) {
        // 0.15 s apart, less what the reading side itself was late by
        EXPECT_GE(bytes[i].monotonic - bytes[i - 1].monotonic, 0.12) << "byte " << i;
    }
    for (size_t i = 0; i + 1 < bytes.size(); ++i) { // the pair of the entry's switch-on
        if (bytes[i].wall >= first) {
            EXPECT_LE(bytes[i + 1].monotonic - bytes[i].monotonic, 0.25);
            break;
        }
    }

    // Unplugged, then a new module behind the same name: it rings the next entry.
    module.reset();
    com1.unplug();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    module = std::make_unique<test::PseudoTerminal>();
    com1.plugIn(*module);
    const auto again = readUntil(*module, second + 2.6);
    EXPECT_EQ(between(again, second, second + 1).substr(0, 2), "of")
        << between(again, 0, 1e12) << quorel.log();
    EXPECT_EQ(between(again, second + 1, second + 2.6), "op"); // off after its second

    EXPECT_EQ(quorel.close(), 0) << quorel.log();
    EXPECT_EQ(quorel.folder.read("Quorel.ini"), "1\r\n");
    EXPECT_EQ(between(module->read(SIZE_MAX, 0.3), 0, 1e12), "") << "nothing was on";
    com1.unplug();
}

// A module that answers: quorel.exe reads its answers on the COM port, names it in the journal,
// sets the relays after the answer and asks for their states.
TEST(WineEndToEnd, TheModulesAnswersAreReadOnTheComPort) {
    ASSERT_FALSE(windowsBuild().empty()) << "QUOREL_WINDOWS_BUILD names no Windows build";
    Com1 com1;
    test::PseudoTerminal module;
    com1.plugIn(module);
    PortableCopy quorel;
    quorel.write("Quorel.ini", "1");
    quorel.start();
    const auto text = [&](size_t count, double timeout) {
        return between(module.read(count, timeout), 0, 1e12);
    };
    ASSERT_EQ(text(1, 20), "Z") << quorel.log();
    module.send({10, 7});
    EXPECT_EQ(text(2, 3), "op"); // the relays, once the module has answered
    EXPECT_EQ(text(1, 3), "[");  // their states asked for
    module.send({0});
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(quorel.close(), 0) << quorel.log();
    const std::string journal =
        quorel.folder.read("Journal/" + isoDateText(SystemClock().localDate()) + ".txt");
    EXPECT_NE(journal.find("Module USB-RLY02, version 7"), std::string::npos) << journal;
    EXPECT_EQ(journal.find("Erreur"), std::string::npos) << journal;
    com1.unplug();
}

// quorel-station.exe on a data folder of its own rings today's entry on COM1; a second station on
// the folder stands back; its named pipe answers --status and makes a window started with
// --station its console, which takes no folder; Ctrl-C (Wine hands a SIGINT to the console
// handler as CTRL_C_EVENT) switches the bell off first, then saves Quorel.ini and ends the journal.
TEST(WineEndToEnd, TheStationRingsOnCom1ServesItsPipeAndCtrlCSwitchesTheBellOffBeforeItEnds) {
    ASSERT_FALSE(windowsBuild().empty()) << "QUOREL_WINDOWS_BUILD names no Windows build";
    SystemClock clock;
    while (clock.secondsSinceMidnight() > 86400 - 180) { // today stays today for the test
        std::this_thread::sleep_for(std::chrono::seconds(10));
    }
    Com1 com1;
    test::PseudoTerminal module;
    com1.plugIn(module);
    test::TempFolder data;
    data.write("Quorel.ini", "1");
    const double ring = std::floor(test::wallNow()) + 8; // Wine takes a few seconds to start
    data.write("Quorel." + std::to_string(CurrentWeekday(clock) - 1), record("1", ring, "60"));
    const QString program = QString::fromStdString(windowsBuild() + "quorel-station.exe");
    const QString pipe = "\\\\.\\pipe\\QuorelTest";
    const auto start = [&](QProcess& station, const char* errors) {
        station.setStandardErrorFile(QString::fromStdString(data.file(errors)));
        station.start("wine", {program, "--data-folder", QString::fromStdString("Z:" + data.path()),
                               "--channel", pipe});
    };
    QProcess station;
    start(station, "errors.txt");

    const auto bytes = module.read(SIZE_MAX, ring + 1.5 - test::wallNow());
    EXPECT_EQ(between(bytes, 0, ring), "Zop") << data.read("errors.txt");
    EXPECT_EQ(between(bytes, ring, ring + 1).substr(0, 2), "ep") << between(bytes, 0, 1e12);
    QProcess second;
    start(second, "second.txt");
    EXPECT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(data.read("second.txt").rfind("quorel-station : une autre station", 0), 0u)
        << data.read("second.txt");

    QProcess status;
    status.start("wine", {program, "--status", "--channel", pipe});
    EXPECT_TRUE(status.waitForFinished(15000));
    EXPECT_EQ(status.exitCode(), 0) << status.readAllStandardError().toStdString();
    const std::string out = status.readAllStandardOutput().toStdString();
    EXPECT_EQ(Message::parse(out, nullptr, false).value("portOption", ""), "COM1:") << out;
    const std::string journalName = "Journal/" + isoDateText(clock.localDate()) + ".txt";
    const std::string console = std::string("Console de « ") + ::getpwuid(::getuid())->pw_name;
    PortableCopy window;
    window.start({"--station", pipe});
    for (int tries = 0; tries < 150 && data.read(journalName).find(console) == std::string::npos;
         ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_NE(data.read(journalName).find(console + " » connectée"), std::string::npos)
        << window.log();
    EXPECT_EQ(window.close(), 0) << window.log();
    EXPECT_FALSE(window.folder.exists("Quorel.ini"));
    EXPECT_FALSE(window.folder.exists("Journal"));

    ::kill(static_cast<pid_t>(station.processId()), SIGINT);
    EXPECT_EQ(between(module.read(SIZE_MAX, 1.5), 0, 1e12), "o");
    EXPECT_TRUE(station.waitForFinished(10000));
    EXPECT_EQ(station.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(station.exitCode(), 0) << data.read("errors.txt");
    EXPECT_EQ(data.read("Quorel.ini"), "1\r\n");
    const std::string journal = data.read(journalName);
    EXPECT_NE(journal.find(" Démarrage du service Quorel " QUOREL_VERSION "\n"), std::string::npos)
        << journal;
    EXPECT_NE(journal.find(" Sortie 1 activée (entrée "), std::string::npos) << journal;
    EXPECT_NE(journal.find(" Arrêt de Quorel : signal\n"), std::string::npos) << journal;
    com1.unplug();
}

} // namespace
} // namespace quorel
