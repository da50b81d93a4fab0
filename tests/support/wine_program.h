#pragma once

// quorel.exe of the Windows build, run under Wine by Linux-side tests and benchmarks:
// QUOREL_WINDOWS_BUILD names that build's folder, WINEPREFIX its Wine prefix, DISPLAY an X
// display with a window manager.

#include "tests/support/clock_seconds.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"

#include <QProcess>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorel::test {

inline std::string windowsBuild() {
    const char* folder = std::getenv("QUOREL_WINDOWS_BUILD");
    return folder != nullptr ? std::string(folder) + "/" : std::string();
}

// Runs a command of Wine's to its end; its exit code, or -1.
inline int wine(const QString& program, const QStringList& arguments, int timeoutMs = 30000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The module's stable name, which Wine's COM1 names; a pseudo-terminal is plugged in behind it.
struct Com1 {
    Com1() {
        std::filesystem::remove(link);
        // Wine reads its ports when its server starts.
        wine("wineserver", {"-k"});
        EXPECT_EQ(wine("wine", {"reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", "COM1", "/t",
                                "REG_SZ", "/d", QString::fromStdString(link), "/f"}),
                  0);
        wine("wineserver", {"-k"});
    }
    void plugIn(const PseudoTerminal& module) const {
        std::filesystem::remove(link);
        std::filesystem::create_symlink(module.slavePath(), link);
    }
    void unplug() const { std::filesystem::remove(link); }
    const std::string link = windowsBuild() + "com1-module";
};

// A copy of quorel.exe in a folder of its own, which keeps its files beside it.
struct PortableCopy {
    PortableCopy() {
        ensureApplication();
        std::filesystem::copy_file(windowsBuild() + "quorel.exe", folder.file("quorel.exe"));
    }
    void write(const std::string& name, const std::string& bytes) const {
        folder.write("new", bytes);
        std::filesystem::rename(folder.file("new"), folder.file(name));
    }
    void start(const QStringList& arguments = {}) {
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(QString::fromStdString(folder.file("wine.log")));
        process.start("wine",
                      QStringList{QString::fromStdString(folder.file("quorel.exe"))} + arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    // Closes the window as its close box does; the program's exit code, or -1.
    int close() {
        EXPECT_EQ(wine("wine", {QString::fromStdString(windowsBuild() + "close-window.exe")}), 0);
        const bool ended = process.waitForFinished(15000);
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    std::string log() const { return folder.read("wine.log"); }

    TempFolder folder;
    QProcess process;
};

// A day-file record for output at the local time of wallSeconds.
inline std::string record(const char* output, double wallSeconds, const char* duration) {
    const time_t whole = static_cast<time_t>(std::floor(wallSeconds));
    std::tm local{};
    localtime_r(&whole, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return std::string("\"") + output + "\",\"" + text + "\",\"" + duration + "\"\r\n";
}

// The bytes that arrived from wall time from (inclusive) to to (exclusive), as text.
inline std::string between(const std::vector<ReceivedByte>& bytes, double from, double to) {
    std::string text;
    for (const ReceivedByte& b : bytes) {
        text += b.wall >= from && b.wall < to ? std::string(1, static_cast<char>(b.byte)) : "";
    }
    return text;
}

} // namespace quorel::test
