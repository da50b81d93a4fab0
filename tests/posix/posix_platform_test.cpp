#include "platform/data_folder.h"
#include "platform/file_io.h"
#include "platform/ini_settings_store.h"
#include "platform/line_parameters.h"
#include "platform/port_devices.h"
#include "platform/posix/kernel_clock_sync.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/xdg_startup_entry.h"
#include "platform/windows_run_command.h"
#include "tests/support/open_file_count.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/timex.h>
#include <unistd.h>

namespace quorel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// How many entries a folder holds: a temporary left behind shows as one more.
long entries(const std::string& folder) {
    return std::distance(fs::directory_iterator(folder), {});
}

TEST(FileIo, ReplaceGoesThroughLinksToTheFinalTargetAndOnlyOldLeftoverTemporariesAreRemoved) {
    test::TempFolder folder;
    const int openBefore = test::openFileCount();
    fs::create_directory(folder.file("real"));
    fs::create_directory(folder.file("links"));
    folder.write("real/Quorel.ini", "old");
    ::chmod(folder.file("real/Quorel.ini").c_str(), 0640);
    fs::create_symlink("../real/Quorel.ini", folder.file("links/hop"));
    fs::create_symlink("hop", folder.file("links/Quorel.ini"));
    fs::create_symlink("real/created.ini", folder.file("dangling"));
    fs::create_symlink("loop", folder.file("loop"));
    // Watches where the temporaries are made: beside the final target, under a name the clean-up
    // at start-up recognises.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, folder.file("real").c_str(), IN_CREATE), 0);
    const std::string bytes("1\r\n\0x", 5);
    EXPECT_EQ(replaceFileContent(folder.file("links/Quorel.ini"), bytes), "");
    EXPECT_EQ(replaceFileContent(folder.file("dangling"), "made"), "");
    EXPECT_EQ(replaceFileContent(folder.file("loop"), "x"), systemErrorText(ELOOP));
    // Renaming over a folder fails after the temporary file was written.
    EXPECT_NE(replaceFileContent(folder.file("links"), "x"), "");
    EXPECT_NE(replaceFileContent(folder.file("missing/file"), "x"), "");
    alignas(inotify_event) char event[4096];
    ASSERT_GT(::read(watch, event, sizeof event), 0);
    ::close(watch);
    const std::string temporary = reinterpret_cast<const inotify_event*>(event)->name;
    EXPECT_TRUE(temporary.starts_with(".Quorel.ini.quorel-tmp-") && temporary.size() == 23 + 6)
        << temporary;
    EXPECT_EQ(folder.read("real/Quorel.ini"), bytes);
    EXPECT_EQ(fs::status(folder.file("real/Quorel.ini")).permissions(), fs::perms(0640));
    EXPECT_EQ(folder.read("real/created.ini"), "made");
    for (const char* link : {"links/hop", "links/Quorel.ini", "dangling", "loop"}) {
        EXPECT_TRUE(fs::is_symlink(folder.file(link))) << link;
    }
    EXPECT_EQ(entries(folder.file("real")) + entries(folder.file("links")) + entries(folder.path()),
              2 + 2 + 4);

    const mode_t mask = ::umask(022); // a new file gets the usual permissions
    EXPECT_EQ(replaceFileContent(folder.file("new"), ""), "");
    ::umask(mask);
    EXPECT_EQ(fs::status(folder.file("new")).permissions(), fs::perms(0644));
    EXPECT_EQ(test::openFileCount(), openBefore);

    // The temporaries of a save killed half-way go once they are old enough: name, age in
    // seconds, whether it goes.
    const std::tuple<const char*, int, bool> cases[] = {
        {".x.quorel-tmp-a1B2c3", 120, true},   {".y.ini.quorel-tmp-ZZ09zz", 3600, true},
        {".x.quorel-tmp-x9y8z7", 0, false},    {".z.quorel-tmp-abcdef", 30, false},
        {"x.quorel-tmp-abcdef", 120, false},   {".x.quorel-tmp-abcde", 120, false},
        {".x.quorel-tmp-abcdefg", 120, false}, {".x.quorel-tmp-abc-de", 120, false},
        {".x.quorel-tmpXabcdef", 120, false},  {"Quorel.0", 120, false}};
    for (const auto& [name, age, removed] : cases) {
        folder.write(name, "x");
        fs::last_write_time(folder.file(name), fs::file_time_type::clock::now() - age * 1s);
    }
    removeStaleTemporaries(folder.path());
    removeStaleTemporaries(folder.file("missing"));
    for (const auto& [name, age, removed] : cases) {
        EXPECT_EQ(folder.exists(name), !removed) << name;
    }
    // A shorter limit (and a folder named without its final separator) takes the younger one.
    removeStaleTemporaries(folder.path().substr(0, folder.path().size() - 1), 10);
    EXPECT_FALSE(folder.exists(".z.quorel-tmp-abcdef"));
    EXPECT_TRUE(folder.exists(".x.quorel-tmp-x9y8z7"));
}

// The kernel's fields: unsynchronised by the status bit or the call's result, the errors in
// microseconds; the call itself needs no privilege, whatever state it finds here.
TEST(KernelClockSync, MapsTheKernelsFieldsAndReadsWithoutPrivileges) {
    using State = ClockSync::State;
    EXPECT_EQ(clockSyncFrom(TIME_OK, 0, 12000, 250000),
              (ClockSync{State::Synchronised, 0.012, 0.25}));
    EXPECT_EQ(clockSyncFrom(TIME_OK, STA_UNSYNC | STA_PLL, 12000, 250000),
              (ClockSync{State::Unsynchronised, 0, 0.25}));
    EXPECT_EQ(clockSyncFrom(TIME_ERROR, 0, 0, 16000000).state, State::Unsynchronised);
    EXPECT_EQ(clockSyncFrom(-1, 0, 0, 0).state, State::Unknown);
    const auto readsAState = [] { return KernelClockSync().read().state != State::Unknown; };
    EXPECT_TRUE(readsAState());
    EXPECT_TRUE(test::runUnprivileged(readsAState));
}

TEST(DataFolder, AProgramFolderTheUserCannotWriteSendsTheFilesToTheUsersDataFolder) {
    namespace fs = std::filesystem;
    const test::TempFolder home;
    test::openPathToEveryone(home.path());
    fs::permissions(home.path(), fs::perms::all); // "nobody" makes its folders there
    fs::create_directory(home.file("installed"));
    fs::permissions(home.file("installed"), fs::perms(0555));
    fs::create_directory(home.file("own"));
    fs::permissions(home.file("own"), fs::perms::all);
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("HOME", home.file("home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", home.file("xdg").c_str(), 1);
    const auto privateFolder = [](const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == 0700;
    };
    EXPECT_TRUE(test::runUnprivileged([&] {
        const bool fromXdg = dataFolder(home.file("installed/")) == home.file("xdg/quorel/");
        ::setenv("XDG_DATA_HOME", "relative", 1); // ignored: not an absolute path
        return fromXdg && privateFolder(home.file("xdg/quorel")) &&
               dataFolder(home.file("installed/")) == home.file("home/.local/share/quorel/") &&
               privateFolder(home.file("home/.local/share/quorel")) &&
               dataFolder(home.file("own/")) == home.file("own/");
    }));
    ::setenv("HOME", savedHome.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
}

TEST(FileIo, ReadWholeFileReturnsTheBytesOrTheReasonAndFileExistsOnlyForAVisibleFile) {
    test::TempFolder folder;
    const int openBefore = test::openFileCount();
    const std::string big(40000, 'q');
    folder.write("big", big);
    const FileReadResult read = readWholeFile(folder.file("big"), 40000);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, big);
    const FileReadResult missing = readWholeFile(folder.file("missing"), 40000);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error, systemErrorText(ENOENT));
    EXPECT_FALSE(missing.error.empty());
    // A FIFO without a writer would block the open for ever; the test returning at all matters.
    ASSERT_EQ(::mkfifo(folder.file("fifo").c_str(), 0600), 0);
    for (const char* name : {"fifo", ""}) {
        for (const FileReadResult& refused :
             {readWholeFile(folder.file(name), 10), readFileTail(folder.file(name), 10)}) {
            EXPECT_FALSE(refused.ok()) << name;
            EXPECT_EQ(refused.error, "ce n'est pas un fichier ordinaire") << name;
        }
    }
    EXPECT_EQ(test::openFileCount(), openBefore);

    // FileExists is true only for an ordinary visible file.
    folder.write("Quorel.0", "");
    folder.write(".hidden", "x");
    std::filesystem::create_directory(folder.file("sub"));
    const std::string file = folder.file("Quorel.0");
    EXPECT_TRUE(FileExists(file));
    // The path is looked up untrimmed: blanks around a real name make another name.
    for (const std::string& path :
         {std::string(" \t"), " " + file, file + std::string(1, '\0'), folder.file("sub"),
          folder.file(".hidden"), folder.file("missing")}) {
        EXPECT_FALSE(FileExists(path)) << path;
    }
}

TEST(FileIo, AFileOverItsBoundIsRefusedWithoutReadingItAndATailIsReadWithoutItsBeginning) {
    test::TempFolder folder;
    const int openBefore = test::openFileCount();
    folder.write("small", "a\nb\n");
    EXPECT_EQ(readWholeFile(folder.file("small"), 4).bytes, "a\nb\n");
    const FileReadResult over = readWholeFile(folder.file("small"), 3);
    EXPECT_TRUE(over.tooLarge);
    EXPECT_EQ(over.error, "fichier trop volumineux (plus de 3 octets)");
    EXPECT_EQ(over.bytes, "");
    EXPECT_EQ(tooLargeFileText(256 * 1024), "fichier trop volumineux (plus de 256 Kio)");
    EXPECT_EQ(tooLargeFileText(2 << 20), "fichier trop volumineux (plus de 2 Mio)");
    // A file of 0 bytes by its size that reads longer (as those of /proc) is cut short by the
    // bound.
    const FileReadResult grown = readWholeFile("/proc/self/maps", 16);
    EXPECT_TRUE(grown.tooLarge);
    EXPECT_EQ(grown.bytes, "");

    // 64 Gio of holes: refused at once, and its end read without the rest.
    { std::ofstream(folder.file("huge"), std::ios::binary) << "first line\n"; }
    fs::resize_file(folder.file("huge"), int64_t{64} << 30);
    std::ofstream(folder.file("huge"), std::ios::binary | std::ios::app) << "last line\n";
    EXPECT_TRUE(readWholeFile(folder.file("huge"), 1 << 20).tooLarge);
    const FileReadResult tail = readFileTail(folder.file("huge"), 13);
    EXPECT_TRUE(tail.ok());
    EXPECT_EQ(tail.bytes, std::string(3, '\0') + "last line\n");
    EXPECT_TRUE(tail.beginningLeftOut);
    const FileReadResult whole = readFileTail(folder.file("small"), 4);
    EXPECT_EQ(whole.bytes, "a\nb\n");
    EXPECT_FALSE(whole.beginningLeftOut);
    EXPECT_EQ(readFileTail(folder.file("missing"), 4).error, systemErrorText(ENOENT));
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST(IniSettingsStore, ReadGivesTheValueOrTheFallbackAndWriteKeepsEveryOtherLine) {
    test::TempFolder folder;
    IniSettingsStore store(folder.path() + "a/b");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "False");
    ASSERT_EQ(store.write("VornAlmare", "VornQuorel", "AutoRun", "True"), "");
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"), "[VornQuorel]\nAutoRun=True\n");

    folder.write("a/b/VornAlmare.ini", "; comment\r\n[Ports]\r\nAutoRun=Wrong\r\n"
                                       "[ VornQuorel ]\r\n  AutoRun = True \r\n");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "True");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "Other", "none"), "none");
    EXPECT_EQ(store.read("VornAlmare", "Missing", "AutoRun", "none"), "none");
    EXPECT_EQ(store.read("Another", "VornQuorel", "AutoRun", "none"), "none");
    // A file saved by Windows Notepad starts with a UTF-8 byte-order mark.
    folder.write("a/b/VornAlmare.ini", "\xEF\xBB\xBF[VornQuorel]\r\nAutoRun=True\r\n; note\r\n");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "True");
    ASSERT_EQ(store.write("VornAlmare", "VornQuorel", "AutoRun", "False"), "");
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"), "[VornQuorel]\nAutoRun=False\n; note\n");

    folder.write("a/b/VornAlmare.ini", "# mine\n[VornQuorel]\nAutoRun=True\nKeep=1\n\n"
                                       "[Ports]\nCOM1=/dev/ttyUSB0\n");
    ASSERT_EQ(store.write("VornAlmare", "VornQuorel", "AutoRun", "False"), "");
    ASSERT_EQ(store.write("VornAlmare", "VornQuorel", "Added", "x"), "");
    ASSERT_EQ(store.write("VornAlmare", "Fresh", "Key", "y"), "");
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"),
              "# mine\n[VornQuorel]\nAutoRun=False\nKeep=1\nAdded=x\n\n"
              "[Ports]\nCOM1=/dev/ttyUSB0\n\n[Fresh]\nKey=y\n");

    // A FIFO would block a plain open for ever; the test returning at all matters. A store that
    // exists but cannot be read is not overwritten with one key either.
    fs::remove(folder.file("a/b/VornAlmare.ini"));
    ASSERT_EQ(::mkfifo(folder.file("a/b/VornAlmare.ini").c_str(), 0600), 0);
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "False");
    EXPECT_NE(store.write("VornAlmare", "VornQuorel", "AutoRun", "True"), "");
    EXPECT_TRUE(fs::is_fifo(folder.file("a/b/VornAlmare.ini")));
    // Nor is one over its bound.
    fs::remove(folder.file("a/b/VornAlmare.ini"));
    const std::string large = "[VornQuorel]\nAutoRun=True\n" + std::string(kIniFileMaxBytes, ';');
    folder.write("a/b/VornAlmare.ini", large);
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "False");
    EXPECT_EQ(store.write("VornAlmare", "VornQuorel", "AutoRun", "True"),
              "fichier trop volumineux (plus de 64 Kio)");
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"), large);
}

TEST(PortDevices, APortsValueOverridesTheUsbModemName) {
    test::TempFolder folder;
    IniSettingsStore store(folder.path());
    EXPECT_EQ(deviceForPort(store, 1), "/dev/ttyACM0"); // no store file at all
    // A value in another section, or an empty one, is no override.
    folder.write("VornAlmare.ini", "[VornQuorel]\nCOM3=/dev/ttyS9\n\n"
                                   "[Ports]\nCOM2 = /dev/serial/by-id/usb-RLY02\nCOM4=\n");
    const char* devices[] = {"/dev/ttyACM0", "/dev/serial/by-id/usb-RLY02", "/dev/ttyACM2",
                             "/dev/ttyACM3"};
    for (int port = 1; port <= 4; ++port) {
        EXPECT_EQ(deviceForPort(store, port), devices[port - 1]) << port;
    }
    // The store is read afresh at each look-up.
    ASSERT_EQ(store.write(kStoreApplication, kPortsSection, "COM1", "/tmp/relay"), "");
    EXPECT_EQ(deviceForPort(store, 1), "/tmp/relay");
}

TEST(XdgStartupEntry, QuotesAndEscapesReservedCharactersAndWritesReplacesAndRemovesTheFile) {
    // Inside quotes $ " ` and \ take a backslash; the value escaping then doubles each backslash.
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/q", "/opt/q"},        {"/a b/q", R"("/a b/q")"},    {"/50%/q", "/50%%/q"},
        {"/a$b/q", R"("/a\\$b/q")"}, {"/a\"b/q", R"("/a\\"b/q")"}, {"/a\\b/q", R"("/a\\\\b/q")"},
        {"/a`b/q", R"("/a\\`b/q")"}, {"/a'b/q", R"("/a'b/q")"},    {"/a\nb/q", R"("/a\nb/q")"}};
    for (const auto& [path, value] : cases) {
        EXPECT_EQ(desktopExecValue(path), value) << path;
    }
    // On Windows the Run value quotes a path with a blank only.
    EXPECT_EQ(windowsRunCommand("C:\\Quorel\\Quorel.exe"), "C:\\Quorel\\Quorel.exe");
    EXPECT_EQ(windowsRunCommand("C:\\Program Files\\Q.exe"), "\"C:\\Program Files\\Q.exe\"");

    test::TempFolder config;
    XdgStartupEntry entry(config.path() + "cfg/");
    EXPECT_EQ(entry.filePath(), config.path() + "cfg/autostart/Gestion Quorel.desktop");
    EXPECT_NE(entry.openExisting(), "");
    EXPECT_NE(entry.deleteCommand(), "");

    ASSERT_EQ(entry.openForCreate(), "");
    EXPECT_TRUE(fs::is_directory(entry.folder()));
    ASSERT_EQ(entry.setCommand("/old/quorel"), "");
    ASSERT_EQ(entry.setCommand("/home/x y/50% $\"\\/quorel"), "");
    EXPECT_EQ(config.read("cfg/autostart/Gestion Quorel.desktop"),
              "[Desktop Entry]\nType=Application\nName=Gestion Quorel\n"
              "Exec=\"/home/x y/50%% \\\\$\\\\\"\\\\\\\\/quorel\"\n"
              "Terminal=false\nX-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.folder()), {}), 1);

    EXPECT_EQ(entry.openExisting(), "");
    EXPECT_EQ(entry.deleteCommand(), "");
    EXPECT_FALSE(config.exists("cfg/autostart/Gestion Quorel.desktop"));
    EXPECT_NE(entry.deleteCommand(), "");

    config.write("file", "a file where the folder should be");
    XdgStartupEntry blocked(config.file("file"));
    EXPECT_NE(blocked.openForCreate(), "");
    EXPECT_NE(blocked.setCommand("/opt/quorel"), "");
    EXPECT_NE(blocked.openExisting(), "");
}

TEST(LineParameters, ReadsWellFormedTextsAndRefusesTheRest) {
    const std::pair<const char*, LineParameters> good[] = {
        {"4800,N,8,1", {4800, Parity::None, 8, StopBits::One}},
        {"115200,e,5,1.5", {115200, Parity::Even, 5, StopBits::OneAndHalf}},
        {"9600,S,7,2", {9600, Parity::Space, 7, StopBits::Two}}};
    for (const auto& [text, expected] : good) {
        const auto read = parseLineParameters(text);
        ASSERT_TRUE(read) << text;
        EXPECT_TRUE(read->baud == expected.baud && read->parity == expected.parity &&
                    read->dataBits == expected.dataBits && read->stopBits == expected.stopBits)
            << text;
    }
    for (const char* text : {"", "4800,N,8", "4800,N,8,1,", "4800;N;8;1", " 4800,N,8,1", "0,N,8,1",
                             "-4800,N,8,1", "99999999999,N,8,1", "4800,X,8,1", "4800,NN,8,1",
                             "4800,N,4,1", "4800,N,9,1", "4800,N,8,0", "4800,N,8,1.0"}) {
        EXPECT_FALSE(parseLineParameters(text)) << '"' << text << '"';
    }
}

TEST(SystemClock, ReadsTheLocalTimeAndDateAndPausesOnTheMonotonicClock) {
    SystemClock clock;
    const double start = clock.monotonicSeconds();
    clock.pause(0.05);
    clock.pause(-1); // nothing to wait for
    EXPECT_GE(clock.monotonicSeconds() - start, 0.05);
    EXPECT_LT(clock.monotonicSeconds() - start, 1.0);
    // time() reads a coarser clock that can lag just after a second begins: the reference is the
    // clock the program reads, and a second boundary between the readings means another try.
    for (int attempt = 0; attempt < 5; ++attempt) {
        timespec before{}, after{};
        clock_gettime(CLOCK_REALTIME, &before);
        // The clock text first: each reading must bring the cached local time up to date.
        std::string shown = clock.clockText() + " " + clock.secondsFieldText() + " ";
        const LocalDate date = clock.localDate();
        shown += std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
                 std::to_string(date.day);
        const double sinceMidnight = clock.secondsSinceMidnight();
        clock_gettime(CLOCK_REALTIME, &after);
        if (after.tv_sec != before.tv_sec) {
            continue;
        }
        std::tm local{};
        localtime_r(&before.tv_sec, &local);
        char expected[64];
        std::strftime(expected, sizeof expected, "%H:%M:%S %S %Y-%-m-%-d", &local);
        EXPECT_EQ(shown, expected);
        const double whole = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
        // A float holds a time of day to about 8 ms.
        EXPECT_GE(sinceMidnight, whole + before.tv_nsec / 1e9 - 0.01);
        EXPECT_LE(sinceMidnight, whole + after.tv_nsec / 1e9 + 0.01);
        return;
    }
    FAIL() << "a second boundary fell between the readings at every try";
}

TEST(SystemClock, TheUtcOffsetIsTheLocalZonesOfTheMoment) {
    const char* const kept = std::getenv("TZ");
    const std::string before = kept != nullptr ? kept : "";
    // Central European time with its summer time, as a rule: no zone database needed.
    ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    ::tzset();
    SystemClock clock;
    const time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(clock.utcOffsetSeconds(), local.tm_isdst > 0 ? 7200 : 3600);
    kept != nullptr ? ::setenv("TZ", before.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}

} // namespace
} // namespace quorel
