#include "platform/posix/system_clock.h"
#include "schedule/calendar_date.h"
#include "schedule/daily_journal.h"
#include "schedule/dated_timetables.h"
#include "schedule/weekday.h"
#include "tests/support/channel_client.h"
#include "tests/support/clock_seconds.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"
#include "tests/support/window_station.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quorel {
namespace {

// A copy of the built program in a folder of its own, with its own per-user configuration
// folder, as it is installed in service.
struct InstalledProgram {
    InstalledProgram() {
        test::ensureQtApplication(); // the console test shows a window
        for (const char* folder : {"program", "config", "runtime"}) {
            std::filesystem::create_directory(home.file(folder));
        }
        std::filesystem::permissions(home.file("runtime"), std::filesystem::perms::owner_all);
        std::filesystem::copy_file(QUOREL_PROGRAM, file("quorel"));
    }
    std::string file(const std::string& name) const { return home.file("program/" + name); }
    // Written beside and renamed, so the running program never reads half a file.
    void write(const std::string& name, const std::string& bytes) const {
        home.write("new", bytes);
        std::filesystem::rename(home.file("new"), file(name));
    }
    // Points port option COM1 at a device through the per-user store, and chooses COM1.
    void usePort(const std::string& device) const {
        home.write("config/VornAlmare.ini", "[Ports]\nCOM1=" + device + "\n");
        write("Quorel.ini", "1\r\n");
    }
    // With stderrIntoClosedPipe, what the program writes on stderr goes to a pipe nobody reads.
    void start(bool stderrIntoClosedPipe = false) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", display);
        environment.insert("HOME", QString::fromStdString(home.path()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.file("runtime")));
        for (const auto& [name, value] : extraEnvironment) {
            environment.insert(name, value);
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setStandardOutputFile(QString::fromStdString(home.file("quorel.log")));
        int brokenPipe[2] = {-1, -1};
        if (stderrIntoClosedPipe) {
            ASSERT_EQ(::pipe(brokenPipe), 0);
            ::close(brokenPipe[0]);
            process.setChildProcessModifier([fd = brokenPipe[1]] { ::dup2(fd, 2); });
        }
        process.start(QString::fromStdString(file("quorel")), {});
        ASSERT_TRUE(process.waitForStarted());
        if (stderrIntoClosedPipe) {
            ::close(brokenPipe[1]);
            process.setChildProcessModifier({});
        }
    }
    // Asks the program to end as the session does; its exit code, or -1.
    int stop(int signal) { return stop({signal}, {}); }
    // The same with several signals, each sent `gap` after the one before.
    int stop(const std::vector<int>& sent, std::chrono::milliseconds gap) {
        for (const int signal : sent) {
            ::kill(static_cast<pid_t>(process.processId()), signal);
            std::this_thread::sleep_for(gap);
        }
        const bool ended = process.waitForFinished(10000);
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    std::string log() const { return home.read("quorel.log"); }
    std::string journal() const {
        return home.read("program/Journal/" + isoDateText(SystemClock().localDate()) + ".txt");
    }

    test::TempFolder home;
    QString display = "offscreen";
    std::vector<std::pair<QString, QString>> extraEnvironment;
    QProcess process;
};

// A day-file record for output at the local time of wallSeconds.
std::string record(const char* output, double wallSeconds, const char* duration) {
    const time_t whole = static_cast<time_t>(std::floor(wallSeconds));
    std::tm local{};
    localtime_r(&whole, &local);
    char text[64];
    std::strftime(text, sizeof text, "\"%H:%M:%S\"", &local);
    return std::string("\"") + output + "\"," + text + ",\"" + duration + "\"\r\n";
}

std::string todayFile() {
    SystemClock clock;
    // Today's file must stay today's for the whole test.
    while (clock.secondsSinceMidnight() > 86400 - 120) {
        std::this_thread::sleep_for(std::chrono::seconds(10));
    }
    return "Quorel." + std::to_string(CurrentWeekday(clock) - 1);
}

// The bytes that arrived from wall time `from` (inclusive) to `to` (exclusive), as text.
std::string between(const std::vector<test::ReceivedByte>& bytes, double from, double to) {
    std::string text;
    for (const test::ReceivedByte& b : bytes) {
        text += b.wall >= from && b.wall < to ? std::string(1, static_cast<char>(b.byte)) : "";
    }
    return text;
}

// True when text is one or more repetitions of pair.
bool repeats(const std::string& text, const std::string& pair) {
    return !text.empty() && text.size() % pair.size() == 0 &&
           text.substr(pair.size()) + pair == text;
}

// How many times needle occurs in text.
size_t occurrences(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = 0; (at = text.find(needle, at)) != std::string::npos; at += needle.size()) {
        ++count;
    }
    return count;
}

// Today's day file, the relay module, and the program that drives it.
struct EndToEnd : ::testing::Test {
    const std::string today = todayFile();
    test::PseudoTerminal module;
    InstalledProgram quorel;
};

TEST_F(EndToEnd, EachEntryOfTodaysFileRingsOnItsSecond) {
    quorel.usePort(module.slavePath());
    const double first = std::floor(test::wallNow()) + 4;
    quorel.write(today, record("1", first, "2") + record("2", first + 4, "1"));
    quorel.start();

    const auto bytes = module.read(SIZE_MAX, first + 7 - test::wallNow());
    ASSERT_FALSE(bytes.empty()) << quorel.log();
    // As the port opens: who is there (the pseudo-terminal answers nothing), then the relays as
    // the flags say.
    EXPECT_EQ(between(bytes, 0, first), "Zop") << between(bytes, 0, 1e12);
    // Output 1 at its second (relay 2 commanded off with it), off after 2 s; then output 2. The
    // on byte leaves within a few ticks' time of its second; the switch-on sent again at the
    // last tick of the second may end 0.15 s later, just past it.
    EXPECT_NE(between(bytes, first, first + 0.25), "");
    EXPECT_TRUE(repeats(between(bytes, first, first + 1.2), "ep")) << between(bytes, 0, 1e12);
    EXPECT_EQ(between(bytes, first + 1.2, first + 2), "");
    EXPECT_EQ(between(bytes, first + 2, first + 3.4), "op");
    EXPECT_NE(between(bytes, first + 4, first + 4.25), "");
    EXPECT_TRUE(repeats(between(bytes, first + 4, first + 5.2), "of"));
    EXPECT_EQ(between(bytes, first + 5.2, first + 6.4), "op");
    for (size_t i = 1; i < bytes.size(); ++i) {
        // 0.15 s apart, less what the reading side itself was late by
        EXPECT_GE(bytes[i].monotonic - bytes[i - 1].monotonic, 0.12) << "byte " << i;
    }

    EXPECT_EQ(quorel.stop(SIGINT), 0) << quorel.log(); // Ctrl-C ends it as the session does
    EXPECT_EQ(quorel.home.read("program/Quorel.ini"), "1\r\n");
    EXPECT_TRUE(module.read(1, 0.5).empty()) << "a byte was sent at shut-down";

    // One line for the switch-on sent at every tick of its second, stamped within that second.
    const std::string journal =
        quorel.home.read("program/Journal/" + isoDateText(SystemClock().localDate()) + ".txt");
    const std::string time = record("1", first, "2").substr(5, 8);
    const std::string on = " Sortie 1 activée (entrée " + time + ", 2 s)\n";
    const size_t at = journal.find(on);
    ASSERT_NE(at, std::string::npos) << journal;
    EXPECT_EQ(journal.find(on, at + 1), std::string::npos) << journal;
    EXPECT_EQ(journal.substr(at - 12, 9), time + ".") << journal;
    EXPECT_NE(journal.find(" Arrêt de Quorel : signal\n"), std::string::npos) << journal;
}

TEST_F(EndToEnd, ModulePluggedInAfterTheStartRingsAndIsSwitchedOffAtShutDown) {
    const std::string stableName = quorel.home.file("usb-relay");
    quorel.usePort(stableName); // not there yet
    const double ring = std::floor(test::wallNow()) + 9;
    quorel.write(today, record("1", ring, "60"));
    quorel.start();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    std::filesystem::create_symlink(module.slavePath(), stableName);

    const auto bytes = module.read(SIZE_MAX, ring + 1.5 - test::wallNow());
    EXPECT_EQ(between(bytes, 0, ring), "Zop") << quorel.log();
    EXPECT_TRUE(repeats(between(bytes, ring, ring + 1), "ep"));
    EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log(); // the bell still rings: switched off
    EXPECT_EQ(between(module.read(SIZE_MAX, 0.5), 0, 1e12), "o");
}

TEST_F(EndToEnd, ADayWithoutBellsKeepsTodaysEntriesSilentAndAPeriodOverDoesNot) {
    quorel.usePort(module.slavePath());
    const LocalDate date = SystemClock().localDate();
    for (const LocalDate& closed : {date, addDays(date, -1)}) {
        const std::string day = "\"" + isoDateText(closed) + "\"";
        quorel.write("Quorel.conges", day + "," + day + ",\"Gr\xE8ve\"\r\n");
        const double ring = std::floor(test::wallNow()) + 4;
        quorel.write(today, record("1", ring, "1"));
        quorel.start();
        const auto bytes = module.read(SIZE_MAX, ring + 1 - test::wallNow());
        EXPECT_EQ(between(bytes, 0, ring), "Zop") << quorel.log(); // the port still opens
        EXPECT_EQ(between(bytes, ring, ring + 1).empty(), closed == date);
        EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log();
        module.read(SIZE_MAX, 0.3); // the switch-off of a bell that rang
    }
}

// A dated period covering today rings the entry of the timetable it names, not today's own: a
// special timetable, then Friday's (Thursday's on a Friday).
TEST_F(EndToEnd, ADatedPeriodRingsTheTimetableItNamesInsteadOfTodaysOwn) {
    quorel.usePort(module.slavePath());
    const std::string date = "\"" + isoDateText(SystemClock().localDate()) + "\"";
    const std::string otherWeekday = today == "Quorel.4" ? "3" : "4";
    quorel.write("Quorel.noms", "\"7\",\"Examens\"\r\n");
    for (const std::string& timetable : {std::string("7"), otherWeekday}) {
        quorel.write("Quorel.horaires", date + "," + date + ",\"" + timetable + "\"\r\n");
        const double ring = std::floor(test::wallNow()) + 4;
        quorel.write(today, record("1", ring, "1"));
        quorel.write("Quorel." + timetable, record("2", ring, "1"));
        quorel.start();
        const auto bytes = module.read(SIZE_MAX, ring + 1 - test::wallNow());
        EXPECT_TRUE(repeats(between(bytes, ring, ring + 1), "of")) << timetable << quorel.log();
        EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log();
        module.read(SIZE_MAX, 0.3); // the switch-off of the bell
    }
    const std::string journal = quorel.journal();
    EXPECT_NE(journal.find("Horaire du jour chargé : 1 entrée (horaire particulier « Examens »)"),
              std::string::npos)
        << journal;
    EXPECT_NE(journal.find("Horaire du jour chargé : 1 entrée (horaire particulier « " +
                           std::string(kDayNames.at(std::stoul(otherWeekday))) + " »)"),
              std::string::npos)
        << journal;
}

// Started at 08:00:30 (a clock faked by libfaketime) when the journal's last line is of
// yesterday, the program journals today's 08:00:00 entry as missed and rings nothing late.
TEST_F(EndToEnd, AStartAfterAnEntryJournalsItAsMissedAndRingsNothingLate) {
    quorel.usePort(module.slavePath());
    const LocalDate date = SystemClock().localDate();
    std::filesystem::create_directory(quorel.file("Journal"));
    quorel.write("Journal/" + isoDateText(addDays(date, -1)) + ".txt",
                 "17:30:00.000 Arrêt de Quorel : signal\n");
    quorel.write(today, "\"1\",\"08:00:00\",\"5\"\r\n\"2\",\"08:30:00\",\"5\"\r\n");
    quorel.extraEnvironment = {
        {"LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"},
        {"FAKETIME", QString::fromStdString("@" + isoDateText(date) + " 08:00:30")},
        // A sanitizer build wants its runtime first; the clock's library comes first here.
        {"ASAN_OPTIONS", qEnvironmentVariable("ASAN_OPTIONS") + ":verify_asan_link_order=0"}};
    quorel.start();
    const auto bytes = module.read(SIZE_MAX, 2.5);
    EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log();
    EXPECT_EQ(between(bytes, 0, 1e12), "Zop") << quorel.log();
    const std::string journal = quorel.journal();
    EXPECT_NE(journal.find("08:00:3"), std::string::npos) << journal;
    EXPECT_NE(journal.find(" Entrée 08:00:00 (S1, 5 s) manquée : Quorel n'était pas lancé\n"),
              std::string::npos)
        << journal;
    EXPECT_EQ(journal.find("08:30:00 (S2"), std::string::npos) << journal;
}

TEST_F(EndToEnd, EverySignalThatEndsTheSessionSwitchesTheBellOffAndIsJournaled) {
    quorel.usePort(module.slavePath());
    for (const int signal : {SIGQUIT, SIGUSR1, SIGALRM}) {
        const double ring = std::floor(test::wallNow()) + 4;
        quorel.write(today, record("1", ring, "60"));
        quorel.start();
        const auto bytes = module.read(SIZE_MAX, ring + 1.2 - test::wallNow());
        ASSERT_TRUE(repeats(between(bytes, ring, ring + 1), "ep")) << quorel.log();
        EXPECT_EQ(quorel.stop(signal), 0) << signal << quorel.log();
        EXPECT_EQ(between(module.read(SIZE_MAX, 0.3), 0, 1e12), "o") << signal;
    }
    EXPECT_EQ(occurrences(quorel.journal(), " Arrêt de Quorel : signal\n"), 3u) << quorel.journal();
}

// A session that ends may send several of these signals, SIGALRM among them: only the shut-down's
// own deadline, 3 s after the first, may cut it short, never a SIGALRM sent from outside.
TEST_F(EndToEnd, MoreSignalsDuringTheShutDownNeitherCutItShortNorKeepABellOn) {
    quorel.usePort(module.slavePath());
    const std::vector<std::pair<std::vector<int>, int>> cases = {
        {{SIGTERM, SIGALRM}, 10},
        {{SIGALRM, SIGALRM}, 10},
        {{SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM}, 0},
    };
    for (const auto& [sent, gap] : cases) {
        SCOPED_TRACE(testing::Message() << sent.size() << " signals from " << sent.front());
        const double ring = std::floor(test::wallNow()) + 4;
        quorel.write(today, record("1", ring, "60"));
        quorel.start();
        const auto bytes = module.read(SIZE_MAX, ring + 1.2 - test::wallNow());
        ASSERT_TRUE(repeats(between(bytes, ring, ring + 1), "ep")) << quorel.log();
        const size_t ends = occurrences(quorel.journal(), " Arrêt de Quorel : signal\n");
        EXPECT_EQ(quorel.stop(sent, std::chrono::milliseconds(gap)), 0) << quorel.log();
        EXPECT_EQ(between(module.read(SIZE_MAX, 0.3), 0, 1e12), "o");
        EXPECT_EQ(quorel.log().find("arrêt écourté"), std::string::npos) << quorel.log();
        EXPECT_EQ(occurrences(quorel.journal(), " Arrêt de Quorel : signal\n"), ends + 1)
            << quorel.journal();
    }
}

TEST_F(EndToEnd, AClosedStderrAnUnwritableSettingsFileOrAStalledModuleNeverKeepARelayOn) {
    quorel.usePort(module.slavePath());
    double ring = std::floor(test::wallNow()) + 4;
    quorel.write(today, record("1", ring, "60"));
    quorel.start(true);
    ASSERT_TRUE(repeats(
        between(module.read(SIZE_MAX, ring + 1.2 - test::wallNow()), ring, ring + 1), "ep"));
    std::filesystem::remove(quorel.file("Quorel.ini"));
    std::filesystem::create_directory(quorel.file("Quorel.ini")); // the save fails, and says so
    EXPECT_EQ(quorel.stop(SIGTERM), 1);                           // not killed by SIGPIPE
    EXPECT_EQ(between(module.read(SIZE_MAX, 0.3), 0, 1e12), "o");
    EXPECT_EQ(quorel.log().find("Quorel.ini"), std::string::npos) << "not said on stderr";
    std::filesystem::remove(quorel.file("Quorel.ini"));

    // A module that stopped reading: the relay bytes give up in time, the program ends cleanly.
    quorel.usePort(module.slavePath());
    ring = std::floor(test::wallNow()) + 4;
    quorel.write(today, record("1", ring, "60"));
    quorel.start();
    module.read(SIZE_MAX, ring + 1.2 - test::wallNow());
    module.holdOutput(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log();
    EXPECT_EQ(quorel.home.read("program/Quorel.ini"), "1\r\n");
    EXPECT_NE(quorel.journal().find(" Arrêt de Quorel : signal\n"), std::string::npos);
}

TEST(NoDisplay, AStartWithoutADisplayEndsWithAFrenchMessageAndAJournalLine) {
    InstalledProgram quorel;
    quorel.display = "xcb";
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    quorel.start();
    ASSERT_TRUE(quorel.process.waitForFinished(10000));
    EXPECT_EQ(quorel.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(quorel.process.exitCode(), 1);
    EXPECT_NE(quorel.log().find("quorel : pas d'affichage : "), std::string::npos) << quorel.log();
    EXPECT_NE(quorel.journal().find(" Démarrage impossible : pas d'affichage\n"),
              std::string::npos);
}

TEST(CommandLine, BothProgramsAnswerHelpAndVersionWithoutADisplayAndRefuseUnknownOptions) {
    test::ensureQtApplication();
    const auto run = [](const char* program, const QString& argument, std::string& output) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(display);
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, {argument});
        const bool ended = process.waitForFinished(10000);
        output = process.readAll().toStdString();
        return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    };
    std::string out;
    EXPECT_EQ(run(QUOREL_PROGRAM, "--help", out), 0);
    EXPECT_EQ(out.rfind("Usage : quorel [options]", 0), 0u) << out;
    EXPECT_NE(out.find("--version"), std::string::npos) << out;
    EXPECT_EQ(run(QUOREL_PROGRAM, "--bogus", out), 2);
    EXPECT_EQ(out, "quorel : option inconnue « --bogus »\nEssayez « quorel --help » pour en savoir "
                   "plus.\n");
    EXPECT_EQ(run(QUOREL_PROGRAM, "--version", out), 0);
    EXPECT_EQ(out, "quorel " QUOREL_VERSION "\n");
    EXPECT_EQ(run(QUOREL_RELAY_SIM, "--version", out), 0);
    EXPECT_EQ(out, "quorel-relay-sim " QUOREL_VERSION "\n");
    EXPECT_EQ(run(QUOREL_RELAY_SIM, "--bogus", out), 2);
    EXPECT_NE(out.find("--help"), std::string::npos) << out;
}

// The simulator plays a module that answers, and loses its relays for a moment during a long
// bell: Quorel finds relay 1 off at its next question (one a second) and switches it back on at
// the tick after, and says so.
TEST_F(EndToEnd, AModuleThatResetsDuringALongBellIsSwitchedBackOnAfterItsNextQuestion) {
    const std::string link = quorel.home.file("usb-relay");
    QProcess simulator;
    simulator.start(QUOREL_RELAY_SIM,
                    {"--link", QString::fromStdString(link), "--reset-after", "7"});
    ASSERT_TRUE(simulator.waitForStarted());
    const double started = test::wallNow();
    for (int tries = 0; tries < 100 && !std::filesystem::exists(link); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    quorel.usePort(link);
    const double ring = std::floor(started) + 4;
    quorel.write(today, record("1", ring, "60"));
    quorel.start();
    std::this_thread::sleep_for(
        std::chrono::milliseconds(static_cast<int>((started + 9.5 - test::wallNow()) * 1000)));
    EXPECT_EQ(quorel.stop(SIGTERM), 0) << quorel.log();
    simulator.terminate();
    ASSERT_TRUE(simulator.waitForFinished(5000));

    // The simulator's lines: "hh:mm:ss.mmm what", the reset at 7 s, then relay 1 on again.
    const QStringList lines = QString::fromUtf8(simulator.readAllStandardOutput()).split('\n');
    const auto secondsOf = [](const QString& line) {
        const QStringList parts = line.left(12).split(':');
        return parts.size() == 3
                   ? parts[0].toDouble() * 3600 + parts[1].toDouble() * 60 + parts[2].toDouble()
                   : -1.0;
    };
    double resetAt = -1;
    double backOnAt = -1;
    for (const QString& line : lines) {
        if (line.endsWith("reset: relays off")) {
            resetAt = secondsOf(line);
        } else if (resetAt >= 0 && backOnAt < 0 && line.endsWith("relay 1 ON")) {
            backOnAt = secondsOf(line);
        }
    }
    ASSERT_GE(resetAt, 0) << lines.join('\n').toStdString();
    ASSERT_GE(backOnAt, 0) << lines.join('\n').toStdString();
    EXPECT_LT(backOnAt - resetAt, 1.3) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.join('\n').contains("query: version"));
    const std::string journal = quorel.journal();
    EXPECT_NE(journal.find("Module USB-RLY02, version 1"), std::string::npos) << journal;
    EXPECT_NE(journal.find("Relais 1 trouvé au repos (commandé en marche)"), std::string::npos)
        << journal;
    EXPECT_NE(journal.find("Commandes relais rétablies"), std::string::npos) << journal;
}

// The built quorel-station on a data folder of its own, started without a display: the toolkit's
// variables are taken out of its environment. Its standard error goes to a file.
struct StationProcess {
    explicit StationProcess(const test::TempFolder& folder) : folder(folder) {}
    ~StationProcess() {
        if (pid > 0 && ::kill(pid, SIGKILL) == 0) {
            ::waitpid(pid, nullptr, 0);
        }
    }
    void start(const std::string& errorFile) {
        std::vector<std::string> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string text = *variable;
            const std::string name = text.substr(0, text.find('='));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM") {
                environment.push_back(text);
            }
        }
        std::vector<std::string> arguments = {"quorel-station", "--data-folder", folder.path(),
                                              "--channel", channel()};
        const std::string errors = folder.file(errorFile);
        pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, 2);
            std::vector<char*> argv;
            std::vector<char*> envp;
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
            }
            for (std::string& variable : environment) {
                envp.push_back(variable.data());
            }
            argv.push_back(nullptr);
            envp.push_back(nullptr);
            ::execve(QUOREL_STATION, argv.data(), envp.data());
            ::_exit(127);
        }
    }
    // Its exit status once it has ended, within 10 seconds; -1 when it did not end by itself.
    int wait() {
        for (int tries = 0; tries < 1000; ++tries) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }
    std::string journal() const {
        return folder.read("Journal/" + isoDateText(SystemClock().localDate()) + ".txt");
    }
    std::string channel() const { return folder.file("quorel.sock"); }

    const test::TempFolder& folder;
    pid_t pid = -1;
};

// The station alone rings today's entry on the module that VornAlmare.ini in its data folder
// names, and an ending signal during the bell switches it off before the station ends.
TEST_F(EndToEnd, TheStationAloneRingsWithoutADisplayAndSwitchesTheBellOffOnASignal) {
    test::TempFolder data;
    data.write("VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
    data.write("Quorel.ini", "1\r\n");
    const double ring = std::floor(test::wallNow()) + 4;
    data.write(today, record("1", ring, "60"));
    StationProcess station(data);
    station.start("errors.txt");

    const auto bytes = module.read(SIZE_MAX, ring + 1.5 - test::wallNow());
    EXPECT_EQ(between(bytes, 0, ring), "Zop") << data.read("errors.txt");
    EXPECT_TRUE(repeats(between(bytes, ring, ring + 1.5), "ep")) << between(bytes, 0, 1e12);
    ::kill(station.pid, SIGTERM);
    EXPECT_EQ(between(module.read(SIZE_MAX, 0.5), 0, 1e12), "o");
    EXPECT_EQ(station.wait(), 0) << data.read("errors.txt");
    EXPECT_EQ(data.read("Quorel.ini"), "1\r\n");
    const std::string journal = station.journal();
    EXPECT_NE(journal.find(" Démarrage du service Quorel " QUOREL_VERSION "\n"), std::string::npos)
        << journal;
    EXPECT_NE(journal.find(" Sortie 1 activée (entrée "), std::string::npos) << journal;
    EXPECT_NE(journal.find(" Arrêt de Quorel : signal\n"), std::string::npos) << journal;
}

TEST_F(EndToEnd, ASecondStationStandsBackAndAFailedSaveIsToldAndEndsWithStatusOne) {
    test::TempFolder data;
    StationProcess first(data);
    first.start("first.txt");
    // The first one holds the folder once its start has been journaled.
    for (int tries = 0; tries < 500 && first.journal().empty(); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    StationProcess second(data);
    second.start("second.txt");
    EXPECT_EQ(second.wait(), 0);
    EXPECT_EQ(data.read("second.txt").rfind("quorel-station : une autre station", 0), 0u)
        << data.read("second.txt");
    EXPECT_EQ(occurrences(first.journal(), "Démarrage du service Quorel"), 1u) << first.journal();

    // The first one cannot save Quorel.ini at its end: it says so on stderr and in the journal.
    std::filesystem::create_directory(data.file("Quorel.ini"));
    ::kill(first.pid, SIGTERM);
    EXPECT_EQ(first.wait(), 1);
    const std::string said = "Impossible d'enregistrer le fichier de réglages";
    EXPECT_EQ(data.read("first.txt").rfind("quorel-station : " + said, 0), 0u)
        << data.read("first.txt");
    const std::string journal = first.journal();
    EXPECT_LT(journal.find(said), journal.find(" Arrêt de Quorel : signal\n")) << journal;
}

// Runs a command; its exit status, with what it wrote to stdout and stderr.
int run(const std::string& command, std::string& out) {
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    out.clear();
    char buffer[4096];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        out += buffer;
    }
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A console switches an output through the station's channel and sees it on; a flood of
// connections, a message too long and one malformed are dropped and journaled once each, and the
// timetable's bell still rings on its second. --status reports the station; a user outside its
// group is refused, by the socket's mode or, when the mode lets him in, by the station itself.
TEST_F(EndToEnd, TheStationsConsolesSteerItWhileNoFloodDelaysABellAndStrangersAreRefused) {
    test::TempFolder data;
    data.write("VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
    data.write("Quorel.ini", "1\r\n");
    const double ring = std::floor(test::wallNow()) + 5;
    data.write(today, record("1", ring, "2"));
    StationProcess station(data);
    station.start("errors.txt");

    test::ChannelClient console(station.channel());
    console.send({{"id", 1}, {"command", "hello"}});
    EXPECT_EQ(console.answer(1).value("state", Message()).value("portOption", -1), 1);
    // Once the module was asked who it is (it does not answer) and the relays synced.
    console.until(
        [](const Message& m) { return m.contains("state") && m["state"]["module"] != ""; });
    module.read(SIZE_MAX, 0.2);
    console.send({{"id", 2}, {"command", "switchOutput"}, {"output", 2}, {"on", true}});
    const Message shown = console.until([](const Message& m) {
        return m.contains("state") && m["state"]["outputs"][1]["on"] == true;
    });
    EXPECT_FALSE(shown.is_null()) << station.journal();
    // A switch has no duration: the next tick switches it off again, as in the window.
    EXPECT_EQ(between(module.read(SIZE_MAX, 0.5), 0, 1e12), "ofop");
    // "Ports…" of a console: the station lists its devices and saves one in its own settings.
    console.send({{"id", 3}, {"command", "serialPorts"}});
    EXPECT_EQ(console.answer(3)["devices"][0], module.slavePath());
    console.send({{"id", 4}, {"command", "setPortDevice"}, {"option", 2}, {"device", "/dev/x"}});
    EXPECT_EQ(console.answer(4)["ok"], true);
    EXPECT_NE(data.read("VornAlmare.ini").find("COM2=/dev/x"), std::string::npos);

    std::vector<std::unique_ptr<test::ChannelClient>> flood;
    for (int i = 0; i < 40; ++i) {
        flood.push_back(std::make_unique<test::ChannelClient>(station.channel()));
    }
    flood[0]->connection.send(std::string(70 * 1024, 'x'));
    flood[1]->connection.send("pas du JSON\n");
    const auto bytes = module.read(SIZE_MAX, ring + 0.5 - test::wallNow());
    const std::string atRing = between(bytes, ring, ring + 0.5);
    ASSERT_FALSE(atRing.empty()) << between(bytes, 0, 1e12);
    EXPECT_EQ(atRing.substr(0, 2), "ep");
    for (const auto& byte : bytes) {
        if (byte.wall >= ring) {
            EXPECT_LT(byte.wall - ring, 0.05); // the entry's first byte, within its second
            break;
        }
    }

    std::string out;
    EXPECT_EQ(run(std::string(QUOREL_STATION) + " --status --channel " + station.channel(), out),
              0);
    const Message status = Message::parse(out, nullptr, false);
    EXPECT_EQ(status.value("portOption", ""), "COM1:") << out;
    EXPECT_EQ(status.value("version", ""), QUOREL_VERSION) << out;
    EXPECT_EQ(status["outputs"][0]["on"], true) << out;

    const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    const std::string status2 = " --status --channel " + station.channel();
    EXPECT_EQ(run(asNobody + QUOREL_STATION + status2, out), 4) << out;
    EXPECT_EQ(out.rfind("Accès refusé : ", 0), 0u) << out;
    test::openPathToEveryone(data.path());
    std::filesystem::permissions(station.channel(), std::filesystem::perms(0666));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(run(asNobody + QUOREL_STATION + status2, out), 4) << out;
        EXPECT_NE(out.find("« nobody » n'est pas opérateur"), std::string::npos) << out;
    }

    ::kill(station.pid, SIGTERM);
    EXPECT_EQ(station.wait(), 0) << data.read("errors.txt");
    EXPECT_FALSE(std::filesystem::exists(station.channel()));
    const std::string journal = station.journal();
    for (const char* cause : {"coupée : trop de consoles connectées", "coupée : message trop long",
                              "coupée : message mal formé", "« nobody » n'est pas opérateur"}) {
        EXPECT_EQ(occurrences(journal, cause), 1u) << cause << "\n" << journal;
    }
}

// A signal asked from the command line rings its pattern on the module and stops at once when
// asked; suspended bells stay suspended over a restart; a stranger is refused.
TEST_F(EndToEnd, TheCommandLineStartsAndStopsSignalsAndSuspendsTheBellsOverARestart) {
    test::TempFolder data;
    data.write("VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
    data.write("Quorel.ini", "1\r\n");
    data.write("Quorel.signaux", "\"Sir\xE8ne\",\"1+2\",\"0.5,0.5\",\"0\"\r\n"); // Windows-1252
    StationProcess station(data);
    station.start("errors.txt");
    test::ChannelClient console(station.channel());
    console.send({{"id", 1}, {"command", "hello"}});
    console.until(
        [](const Message& m) { return m.contains("state") && m["state"]["module"] != ""; });
    module.read(SIZE_MAX, 0.2);
    const std::string command = std::string(QUOREL_STATION) + " --channel " + station.channel();
    std::string out;
    EXPECT_EQ(run(command + " --signal Inconnu", out), 5);
    EXPECT_NE(out.find("Signal inconnu : « Inconnu »"), std::string::npos) << out;
    EXPECT_EQ(run(command + " --signal Sirène", out), 0);
    EXPECT_EQ(out, "Signal « Sirène » déclenché.\n");
    const std::string pattern = between(module.read(SIZE_MAX, 2.2), 0, 1e12);
    EXPECT_GE(occurrences(pattern, "ef"), 2u) << pattern; // on twice in 2 s, both relays
    EXPECT_GE(occurrences(pattern, "op"), 1u) << pattern;
    EXPECT_EQ(run(command + " --stop-signal", out), 0);
    EXPECT_EQ(out, "Signal « Sirène » arrêté.\n");
    EXPECT_EQ(between(module.read(SIZE_MAX, 0.4), 0, 1e12).substr(0, 2), "op");

    EXPECT_EQ(run(command + " --suspend", out), 0);
    EXPECT_EQ(out, "Sonneries suspendues.\n");
    EXPECT_EQ(
        run("setpriv --reuid=65534 --regid=65534 --clear-groups " + command + " --resume", out), 4)
        << out;
    ::kill(station.pid, SIGTERM);
    EXPECT_EQ(station.wait(), 0) << data.read("errors.txt");
    StationProcess again(data);
    again.start("errors2.txt");
    test::ChannelClient(again.channel()); // the channel is open once the start-up is over
    EXPECT_EQ(run(command + " --status", out), 0);
    EXPECT_EQ(Message::parse(out, nullptr, false).value("suspended", false), true) << out;
    EXPECT_EQ(run(command + " --resume", out), 0);
    EXPECT_EQ(out, "Sonneries reprises.\n");
    EXPECT_FALSE(data.exists("Quorel.suspendu"));
    const std::string journal = again.journal();
    for (const char* line : {"Signal « Sirène » déclenché (S1+S2) par la ligne de commande",
                             "Signal « Sirène » arrêté par la ligne de commande",
                             "Sonneries suspendues par la ligne de commande",
                             "Sonneries toujours suspendues depuis l'arrêt",
                             "Sonneries reprises par la ligne de commande"}) {
        EXPECT_EQ(occurrences(journal, line), 1u) << line << "\n" << journal;
    }
}

// The window as the console of a station that runs apart: its switch and relay test reach the
// module from the station, an entry saved in its editor is written by the station and rings,
// and it survives the station's restart, refusing commands while the station is away.
TEST_F(EndToEnd, AWindowIsTheConsoleOfAStationThatRingsWhatItSavesAndSurvivesItsRestart) {
    test::TempFolder data;
    data.write("VornAlmare.ini", "[Ports]\nCOM1=" + module.slavePath() + "\n");
    data.write("Quorel.ini", "1\r\n");
    auto station = std::make_unique<StationProcess>(data);
    station->start("errors.txt");
    test::WindowStation window;
    UnixSocketConnection connection(station->channel());
    const auto waitFor = [&window](const std::function<bool()>& done) {
        for (int tries = 0; tries < 400 && !done(); ++tries) {
            window.program.console.poll(test::wallNow());
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return done();
    };
    ASSERT_TRUE(waitFor([&] { return window.program.connectToStation(connection, "test"); }));
    SystemClock clock;
    window.start(clock.localDate(), clock.secondsSinceMidnight());
    EXPECT_FALSE(window.find<QAction>("mnuautorun")->isEnabled());
    EXPECT_TRUE(waitFor([&] { return !window.program.panel.moduleNote.empty(); }));
    EXPECT_EQ(window.find<QLabel>("InfoERR")->text(), "Init COM1:4800,N,8,1 Ok");
    module.read(SIZE_MAX, 0.3);

    // The switch has no duration: the station's next tick switches it off again.
    QTest::mouseClick(window.find<QCheckBox>("CheckS_1"), Qt::LeftButton);
    EXPECT_TRUE(waitFor(
        [&] { return station->journal().find(" S2 activée à la main") != std::string::npos; }));
    module.read(SIZE_MAX, 0.5);
    QTest::mouseClick(window.find<QPushButton>("CmdRelais_0"), Qt::LeftButton);
    EXPECT_EQ(between(module.read(1, 1), 0, 1e12), "e");
    EXPECT_TRUE(waitFor([&] { return window.program.panel.CmdRelais[0] == TestButton::RelayOn; }));
    QTest::mouseClick(window.find<QPushButton>("CmdRelais_0"), Qt::LeftButton);
    module.read(SIZE_MAX, 0.3);

    const double ring = std::floor(test::wallNow()) + 3;
    const std::string entry = record("1", ring, "1");
    QTest::keyClicks(window.find<QLineEdit>("ChEdit_0"), "1");
    QTest::keyClicks(window.find<QLineEdit>("ChEdit_1"),
                     QString::fromStdString(entry.substr(5, 8)));
    QTest::keyClicks(window.find<QLineEdit>("ChEdit_2"), "1");
    QTest::mouseClick(window.find<QPushButton>("BtnAjouter"), Qt::LeftButton);
    QTest::mouseClick(window.find<QPushButton>("BtnSave"), Qt::LeftButton);
    EXPECT_EQ(data.read(today), entry) << window.dialogs.messages.size();
    const auto bytes = module.read(SIZE_MAX, ring + 0.5 - test::wallNow());
    EXPECT_EQ(between(bytes, ring, ring + 0.5).substr(0, 1), "e") << between(bytes, 0, 1e12);
    // The journal viewer reads the station's journal.
    const std::string shown = journalDayText(window.program.paths.JournalFolder, clock.localDate(),
                                             window.program.files());
    EXPECT_NE(shown.find(" Démarrage du service Quorel "), std::string::npos) << shown;

    ::kill(station->pid, SIGTERM);
    EXPECT_EQ(station->wait(), 0);
    EXPECT_TRUE(
        waitFor([&] { return window.find<QLabel>("InfoERR")->text() == kStationUnreachable; }));
    QTest::mouseClick(window.find<QCheckBox>("CheckS_0"), Qt::LeftButton);
    ASSERT_FALSE(window.dialogs.messages.empty());
    EXPECT_EQ(window.dialogs.messages.back().text, kStationUnreachable);
    station = std::make_unique<StationProcess>(data);
    station->start("errors.txt");
    const double back = test::wallNow();
    EXPECT_TRUE(waitFor(
        [&] { return window.find<QLabel>("InfoERR")->text() == "Init COM1:4800,N,8,1 Ok"; }));
    EXPECT_LT(test::wallNow() - back, 5);
}

// The station needs no toolkit: none of its libraries is Qt's.
TEST(Station, LinksNoQtLibrary) {
    FILE* pipe = ::popen("ldd " QUOREL_STATION, "r");
    ASSERT_NE(pipe, nullptr);
    std::string libraries;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        libraries += buffer;
    }
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

} // namespace
} // namespace quorel
