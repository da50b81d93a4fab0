#include "platform/system_clock.h"
#include "schedule/weekday.h"
#include "tests/end_to_end/station_fixture.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace quorel {
namespace {

using test::ReceivedByte;

std::string clockTextAt(double wallSeconds) {
    const time_t whole = static_cast<time_t>(std::floor(wallSeconds));
    std::tm local{};
    localtime_r(&whole, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

std::string dayRecord(const char* output, double wallSeconds, const char* duration) {
    return std::string("\"") + output + "\",\"" + clockTextAt(wallSeconds) + "\",\"" + duration +
           "\"\r\n";
}

std::string todayFileName() {
    SystemClock clock;
    return "Quorel." + std::to_string(CurrentWeekday(clock) - 1);
}

// The bytes that arrived from wall time `from` (inclusive) to `to` (exclusive), as text.
std::string bytesBetween(const std::vector<ReceivedByte>& bytes, double from, double to) {
    std::string text;
    for (const ReceivedByte& b : bytes) {
        if (b.wall >= from && b.wall < to) {
            text += static_cast<char>(b.byte);
        }
    }
    return text;
}

double firstArrival(const std::vector<ReceivedByte>& bytes, double from) {
    for (const ReceivedByte& b : bytes) {
        if (b.wall >= from) {
            return b.wall;
        }
    }
    return -1;
}

// True when text is one or more repetitions of pair.
bool repeats(const std::string& text, const std::string& pair) {
    if (text.empty() || text.size() % pair.size() != 0) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != pair[i % pair.size()]) {
            return false;
        }
    }
    return true;
}

void waitUntilNotNearMidnight() {
    // Today's file must stay today's for the whole test.
    for (;;) {
        const time_t now = time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        const int secondsToMidnight =
            86400 - (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
        if (secondsToMidnight > 120) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::seconds(secondsToMidnight + 2));
    }
}

TEST(EndToEnd, EachEntryRingsOnItsSecondAndTodaysFileIsReloadedEveryMinute) {
    waitUntilNotNearMidnight();
    test::PseudoTerminal module;
    test::InstalledProgram quorel;
    quorel.setPortDevice(1, module.slavePath());
    quorel.writeProgramFile("Quorel.ini", "1\r\n");
    const std::string today = todayFileName();
    const double first = std::floor(test::wallNow()) + 4;
    const std::string startFile = dayRecord("1", first, "2") + dayRecord("2", first + 4, "1");
    quorel.writeProgramFile(today, startFile);
    quorel.start();

    const auto bytes = module.read(SIZE_MAX, first + 7 - test::wallNow());
    ASSERT_FALSE(bytes.empty()) << quorel.log();
    // Output 1 at its second (relay 2 commanded off with it), off after 2 s; then output 2.
    EXPECT_TRUE(repeats(bytesBetween(bytes, first, first + 1), "ep"))
        << bytesBetween(bytes, 0, 1e12);
    EXPECT_EQ(bytesBetween(bytes, first + 1, first + 2), "");
    EXPECT_EQ(bytesBetween(bytes, first + 2, first + 3.4), "op");
    EXPECT_TRUE(repeats(bytesBetween(bytes, first + 4, first + 5), "of"));
    EXPECT_EQ(bytesBetween(bytes, first + 5, first + 6.4), "op");
    EXPECT_EQ(bytesBetween(bytes, 0, first),
              "op"); // as the port opens: the relays as the flags say
    // The on byte leaves within a few ticks' time of its second, never before it.
    EXPECT_LT(firstArrival(bytes, first) - first, 0.25);
    EXPECT_LT(firstArrival(bytes, first + 4) - (first + 4), 0.25);
    for (size_t i = 1; i < bytes.size(); ++i) {
        EXPECT_GE(bytes[i].monotonic - bytes[i - 1].monotonic, 0.14) << "byte " << i;
    }

    // An entry saved now for the next minute rings only after the reload at second 00.
    const double now = test::wallNow();
    const double nextMinute = now - std::fmod(now, 60.0) + 60;
    const double added = nextMinute + 2;
    quorel.writeProgramFile(today, startFile + dayRecord("2", added, "1"));
    const auto later = module.read(SIZE_MAX, added + 2.5 - test::wallNow());
    EXPECT_TRUE(repeats(bytesBetween(later, added, added + 1), "of"))
        << bytesBetween(later, 0, 1e12);
    EXPECT_EQ(bytesBetween(later, added + 1, added + 2.5), "op");

    quorel.process->signal(SIGTERM);
    EXPECT_EQ(quorel.process->waitForExit(10), 0) << quorel.log();
    EXPECT_EQ(test::hexBytes(quorel.readProgramFile("Quorel.ini")), "31 0D 0A");
    EXPECT_TRUE(module.read(1, 0.5).empty()) << "a byte was sent at shut-down";
}

TEST(EndToEnd, ModulePluggedInAfterTheStartRingsAndIsSwitchedOffAtShutDown) {
    waitUntilNotNearMidnight();
    test::PseudoTerminal module;
    test::InstalledProgram quorel;
    const std::string stableName = quorel.home.file("usb-relay");
    quorel.setPortDevice(1, stableName); // not there yet
    quorel.writeProgramFile("Quorel.ini", "1\r\n");
    const double ring = std::floor(test::wallNow()) + 9;
    quorel.writeProgramFile(todayFileName(), dayRecord("1", ring, "60"));
    quorel.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    std::filesystem::create_symlink(module.slavePath(), stableName);

    const auto bytes = module.read(SIZE_MAX, ring + 1.5 - test::wallNow());
    EXPECT_EQ(bytesBetween(bytes, 0, ring), "op") << quorel.log();
    EXPECT_TRUE(repeats(bytesBetween(bytes, ring, ring + 1), "ep"));
    quorel.process->signal(SIGTERM); // a bell still ringing: it is switched off, not left on
    EXPECT_EQ(quorel.process->waitForExit(10), 0) << quorel.log();
    const auto last = module.read(SIZE_MAX, 0.5);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].byte, 'o');
}

TEST(EndToEnd, FirstStartInAnEmptyFolderOpensNoPortAndWritesNothingUntilShutDown) {
    test::InstalledProgram quorel;
    quorel.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(quorel.process->running()) << quorel.log();
    for (const auto& entry : std::filesystem::directory_iterator(quorel.programFolder())) {
        EXPECT_EQ(entry.path().filename(), "quorel");
    }
    const std::string descriptors = "/proc/" + std::to_string(quorel.process->pid()) + "/fd";
    for (const auto& entry : std::filesystem::directory_iterator(descriptors)) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
        EXPECT_EQ(target.find("/dev/tty"), std::string::npos) << target;
        EXPECT_EQ(target.find("/dev/pts"), std::string::npos) << target;
    }
    quorel.process->signal(SIGINT);
    EXPECT_EQ(quorel.process->waitForExit(10), 0) << quorel.log();
    EXPECT_EQ(test::hexBytes(quorel.readProgramFile("Quorel.ini")), "30 0D 0A");
}

} // namespace
} // namespace quorel
