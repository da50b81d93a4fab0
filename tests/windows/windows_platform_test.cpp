#include "platform/data_folder.h"
#include "platform/file_io.h"
#include "platform/port_devices.h"
#include "platform/program_folder.h"
#include "platform/windows/message_loop_clock.h"
#include "platform/windows/named_pipe_connection.h"
#include "platform/windows/named_pipe_server.h"
#include "platform/windows/registry_settings_store.h"
#include "platform/windows/serial_device.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/system_serial_ports.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/windows_startup_entry.h"
#include "settings/autorun.h"
#include "tests/support/fakes.h"
#include "tests/support/open_file_count.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <aclapi.h>
#include <sddl.h>

namespace quorel {
namespace {

// A string value under HKEY_CURRENT_USER, or "(none)".
std::string registryValue(const std::string& key, const std::string& name) {
    wchar_t value[512] = {};
    DWORD bytes = sizeof value;
    const LONG result = ::RegGetValueW(HKEY_CURRENT_USER, toWide(key).c_str(), toWide(name).c_str(),
                                       RRF_RT_REG_SZ, nullptr, value, &bytes);
    return result == ERROR_SUCCESS ? fromWide(value) : "(none)";
}

TEST(WindowsProgramFolder, IsTheExecutablesFolderEndingInABackslash) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string executable = fromWide(path);
    const std::string folder = programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(programBaseName(), "test_windows");
    EXPECT_EQ(programPath(), folder + "test_windows.exe");
    EXPECT_EQ(programPath(), executable);
    EXPECT_EQ(dataFolder(folder), folder); // the build folder is writable
}

TEST(WindowsDataFolder, AnInstalledCopyKeepsItsFilesInTheUsersFolderEvenWhereItCouldWrite) {
    const test::TempFolder installed;
    const std::string& own = installed.path();
    EXPECT_EQ(dataFolder(own), own);
    // A folder of that name is not the installer's mark.
    ::CreateDirectoryW(toWide(own + kInstalledMarker).c_str(), nullptr);
    EXPECT_EQ(dataFolder(own), own);
    ::RemoveDirectoryW(toWide(own + kInstalledMarker).c_str());
    installed.write(kInstalledMarker, "");
    wchar_t local[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    EXPECT_EQ(dataFolder(own), fromWide(local) + "\\quorel\\");
}

TEST(WindowsSerialDevice, APortThatIsMissingOrNotASerialDeviceIsRefusedAndLeftClosed) {
    test::MemorySettingsStore ports;
    EXPECT_EQ(deviceForPort(ports, 3), "COM3");
    const test::TempFolder folder;
    folder.write("plain-file", "x");
    const LineParameters line{4800, Parity::None, 8, StopBits::One};
    SystemSerialDevice device;
    const std::pair<std::string, SerialError> cases[] = {
        {"COM99", SerialError::DeviceMissing},
        {"\\\\.\\COM98", SerialError::DeviceMissing},
        {"NUL", SerialError::NotSerialDevice}, // a device the system names, without a line
        {folder.file("plain-file"), SerialError::NotSerialDevice},
    };
    const int handles = test::openFileCount();
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(device.open(path, line), expected) << path;
        EXPECT_EQ(test::openFileCount(), handles) << path;
    }
}

// The ports of the system's serial device map are listed in the order of their numbers, each
// under the driver's name where no friendlier one is known; every name of a port leads to it.
TEST(WindowsSerialPorts, AreTheMappedPortsInNumberOrder) {
    HKEY map = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &map, nullptr),
              ERROR_SUCCESS);
    for (const wchar_t* port : {L"COM11", L"COM9"}) {
        const std::wstring name = std::wstring(L"\\Device\\QuorelTest") + port;
        ::RegSetValueExW(map, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(port),
                         static_cast<DWORD>((wcslen(port) + 1) * sizeof(wchar_t)));
    }
    SystemSerialPorts ports;
    const std::vector<PresentPort> present = ports.present();
    for (const wchar_t* port : {L"COM11", L"COM9"}) {
        ::RegDeleteValueW(map, (std::wstring(L"\\Device\\QuorelTest") + port).c_str());
    }
    ::RegCloseKey(map);
    const auto at = [&present](const std::string& device) {
        return std::find_if(present.begin(), present.end(),
                            [&device](const PresentPort& p) { return p.device == device; });
    };
    ASSERT_NE(at("COM11"), present.end());
    ASSERT_NE(at("COM9"), present.end());
    EXPECT_LT(at("COM9"), at("COM11"));
    EXPECT_EQ(*at("COM11"), (PresentPort{"COM11", "\\Device\\QuorelTestCOM11", "COM11"}));
    EXPECT_TRUE(std::is_sorted(
        present.begin(), present.end(), [](const PresentPort& a, const PresentPort& b) {
            return a.device.size() != b.device.size() ? a.device.size() < b.device.size()
                                                      : a.device < b.device;
        }));
    EXPECT_EQ(ports.targetOf("\\\\.\\com12"), "COM12");
}

TEST(WindowsFiles, ReplacingIsAtomicAndAFailedSaveKeepsTheOldFile) {
    const test::TempFolder folder;
    const std::string path = folder.file("Quorel.0");
    ASSERT_EQ(replaceFileContent(path, "\"1\",\"07:45:00\",\"5\"\r\n"), "");
    const std::optional<FileStamp> first = fileStamp(path);
    ASSERT_EQ(replaceFileContent(path, "new"), "");
    EXPECT_EQ(readWholeFile(path, 3).bytes, "new");
    EXPECT_NE(fileStamp(path), first); // another file now
    EXPECT_EQ(regularFilesIn(folder.path()), std::vector<std::string>{"Quorel.0"});

    // A file held open without sharing cannot be replaced: the old content stays, the reason is
    // given, and the temporary is gone.
    const HANDLE held = ::CreateFileW(toWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(replaceFileContent(path, "lost"), "");
    ::CloseHandle(held);
    EXPECT_EQ(readWholeFile(path, 3).bytes, "new");
    EXPECT_EQ(regularFilesIn(folder.path()), std::vector<std::string>{"Quorel.0"});
    EXPECT_NE(replaceFileContent(folder.file("missing\\Quorel.1"), "x"), "");

    ASSERT_EQ(appendToFile(folder.file("log.txt"), "a\n"), "");
    ASSERT_EQ(appendToFile(folder.file("log.txt"), "b\n"), "");
    EXPECT_EQ(folder.read("log.txt"), "a\nb\n");
    folder.write(".Quorel.0.quorel-tmp-Ab12Cd", "left by a killed save");
    folder.write(".Quorel.0.quorel-tmp-short", "not a temporary of ours");
    removeStaleTemporaries(folder.path(), -1);
    EXPECT_FALSE(folder.exists(".Quorel.0.quorel-tmp-Ab12Cd"));
    EXPECT_TRUE(folder.exists(".Quorel.0.quorel-tmp-short"));
    EXPECT_EQ(removeFileIn(folder.path(), "log.txt"), "");
    EXPECT_NE(removeFileIn(folder.path(), "log.txt"), "");
}

TEST(WindowsFiles, OnlyVisibleOrdinaryFilesExistAndAFolderIsNotRead) {
    const test::TempFolder folder;
    folder.write("Quorel.1", "x");
    folder.write("hidden", "x");
    ::SetFileAttributesW(toWide(folder.file("hidden")).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ASSERT_EQ(createFolder(folder.file("Journal")), "");
    EXPECT_EQ(createFolder(folder.file("Journal")), ""); // already there
    EXPECT_NE(createFolder(folder.file("Quorel.1")), "");
    EXPECT_TRUE(FileExists(folder.file("Quorel.1")));
    EXPECT_FALSE(FileExists(folder.file("hidden")));
    EXPECT_FALSE(FileExists(folder.file("Journal")));
    EXPECT_FALSE(FileExists(folder.file("missing")));
    EXPECT_FALSE(FileExists("  "));
    for (const FileReadResult& refused :
         {readWholeFile(folder.file("Journal"), 10), readFileTail(folder.file("Journal"), 10)}) {
        EXPECT_EQ(refused.error, "ce n'est pas un fichier ordinaire");
    }
    EXPECT_FALSE(readWholeFile(folder.file("missing"), 10).ok());
    EXPECT_FALSE(readFileTail(folder.file("missing"), 10).ok());
    EXPECT_FALSE(fileStamp(folder.file("missing")).has_value());
}

TEST(WindowsFiles, AFileOverItsBoundIsRefusedWithoutReadingItAndATailIsReadWithoutItsBeginning) {
    const test::TempFolder folder;
    const int openBefore = test::openFileCount();
    folder.write("small", "a\nb\n");
    EXPECT_EQ(readWholeFile(folder.file("small"), 4).bytes, "a\nb\n");
    const FileReadResult over = readWholeFile(folder.file("small"), 3);
    EXPECT_TRUE(over.tooLarge);
    EXPECT_EQ(over.error, "fichier trop volumineux (plus de 3 octets)");
    EXPECT_EQ(over.bytes, "");

    // 4 Gio, most of it never written: refused at once, and its end read without the rest.
    const std::string huge = folder.file("huge");
    folder.write("huge", "first line\n");
    const HANDLE file = ::CreateFileW(toWide(huge).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD unused = 0; // sparse, so that NTFS does not write the zeros either
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = int64_t{4} << 30;
    DWORD written = 0;
    const bool extended = ::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) != 0 &&
                          ::WriteFile(file, "last line\n", 10, &written, nullptr) != 0;
    ::CloseHandle(file);
    ASSERT_TRUE(extended);
    EXPECT_TRUE(readWholeFile(huge, 1 << 20).tooLarge);
    const FileReadResult tail = readFileTail(huge, 13);
    EXPECT_TRUE(tail.ok());
    EXPECT_EQ(tail.bytes, std::string(3, '\0') + "last line\n");
    EXPECT_TRUE(tail.beginningLeftOut);
    const FileReadResult whole = readFileTail(folder.file("small"), 4);
    EXPECT_EQ(whole.bytes, "a\nb\n");
    EXPECT_FALSE(whole.beginningLeftOut);
    EXPECT_EQ(test::openFileCount(), openBefore);
}

TEST(WindowsSettings, TheRegistryStoreKeepsTextsUnderTheUsersKey) {
    RegistrySettingsStore store;
    EXPECT_EQ(store.read("VornAlmare", "QuorelTest", "Missing", "fallback"), "fallback");
    ASSERT_EQ(store.write("VornAlmare", "QuorelTest", "Label", "Été €"), "");
    ASSERT_EQ(store.write("VornAlmare", "QuorelTest", "Empty", ""), "");
    EXPECT_EQ(store.read("VornAlmare", "QuorelTest", "Label", ""), "Été €");
    EXPECT_EQ(store.read("VornAlmare", "QuorelTest", "Empty", "fallback"), "");
    EXPECT_EQ(registryValue("Software\\VornAlmare\\QuorelTest", "Label"), "Été €");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VornAlmare\\QuorelTest");
    EXPECT_EQ(store.read("VornAlmare", "QuorelTest", "Label", "gone"), "gone");
}

TEST(WindowsStartup, TheMenuCommandSetsTheQuotedRunValueAndDeletesIt) {
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    RegistrySettingsStore store;
    WindowsStartupEntry entry;
    test::FakeDialogs dialogs;
    test::SilentView view;
    AutoRun withBlank(store, entry, dialogs, view, "C:\\Program Files\\Quorel\\Quorel.exe");
    withBlank.mnuautorun_Click();
    EXPECT_EQ(registryValue("Software\\VornAlmare\\VornQuorel", "AutoRun"), "True");
    EXPECT_EQ(registryValue(run, "Gestion Quorel"), "\"C:\\Program Files\\Quorel\\Quorel.exe\"");
    AutoRun plain(store, entry, dialogs, view, "D:\\Quorel.exe");
    plain.restoreCheckMark();
    EXPECT_TRUE(plain.checked());
    plain.CreateRunKey();
    EXPECT_EQ(registryValue(run, "Gestion Quorel"), "D:\\Quorel.exe");
    plain.mnuautorun_Click();
    EXPECT_EQ(registryValue("Software\\VornAlmare\\VornQuorel", "AutoRun"), "False");
    EXPECT_EQ(registryValue(run, "Gestion Quorel"), "(none)");
    EXPECT_TRUE(dialogs.messages.empty());
    plain.DeleteRunKey(); // nothing left to delete
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Error while deleting the Key!!");
}

TEST(WindowsClock, ReadsTheLocalTimeAndPausesOnTheMonotonicClock) {
    SystemClock clock;
    const std::string text = clock.clockText();
    ASSERT_EQ(text.size(), 8u);
    EXPECT_TRUE(text[2] == ':' && text[5] == ':') << text;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    EXPECT_EQ(clock.localDate(), (LocalDate{now.wYear, now.wMonth, now.wDay}));
    EXPECT_NEAR(clock.secondsSinceMidnight(),
                now.wHour * 3600 + now.wMinute * 60 + now.wSecond + now.wMilliseconds / 1000.0,
                1.0);
    EXPECT_EQ(clock.localTimeStamp().time.size(), 12u);
    const double before = clock.monotonicSeconds();
    clock.pause(0.05);
    EXPECT_GE(clock.monotonicSeconds() - before, 0.05);
    // The offset is local time less UTC, to the minute.
    SYSTEMTIME utc{}, local{};
    ::GetSystemTime(&utc);
    ::GetLocalTime(&local);
    FILETIME utcTime{}, localTime{};
    ::SystemTimeToFileTime(&utc, &utcTime);
    ::SystemTimeToFileTime(&local, &localTime);
    const auto ticks = [](const FILETIME& t) {
        return static_cast<int64_t>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                    t.dwLowDateTime);
    };
    const double offset = static_cast<double>(ticks(localTime) - ticks(utcTime)) / 1e7;
    EXPECT_EQ(clock.utcOffsetSeconds(), std::lround(offset / 60) * 60);
}

// The station's pipe carries its access list; a client is handed over with its user, allowed when
// it is the station's own, then what it sends, and what it is sent reaches it.
TEST(WindowsNamedPipe, CarriesItsAccessListAndServesTheStationsOwnUserBothWays) {
    const std::string name = "\\\\.\\pipe\\QuorelServerTest";
    PipeAccess access;
    std::vector<std::string> seen;
    std::string queue = "bonjour\n";
    uint64_t id = 0;
    NamedPipeServer server({[&](uint64_t client, const PipePeer& peer) {
                                id = client;
                                seen.push_back(peer.user + (peer.allowed ? " permis" : " refusé"));
                            },
                            [&](uint64_t, std::string_view bytes) { seen.emplace_back(bytes); },
                            [&](uint64_t) { seen.emplace_back("parti"); },
                            [&](uint64_t) { return &queue; }, [](uint64_t) { return true; }});
    ASSERT_EQ(server.listen(name, access), "");
    const HANDLE raw =
        ::CreateFileW(toWide(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    LPWSTR text = nullptr;
    ASSERT_EQ(::GetSecurityInfo(raw, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                nullptr, nullptr, &descriptor),
              ERROR_SUCCESS);
    ::ConvertSecurityDescriptorToStringSecurityDescriptorW(
        descriptor, SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    EXPECT_EQ(fromWide(text).rfind("D:P(A;;GA;;;SY)(A;;0x12008b;;;BA)(A;;GA;;;S-1-5-", 0), 0u)
        << fromWide(text);
    ::LocalFree(text);
    ::LocalFree(descriptor);
    ::CloseHandle(raw);
    SystemClock system;
    Win32EventPump pump;
    MessageLoopClock loop(system, pump); // whose pauses serve the pipe
    loop.pause(0.05);                    // which waits for a client again

    NamedPipeConnection client(name);
    std::string reason;
    ASSERT_EQ(client.open(reason), ChannelConnection::Outcome::Connected) << reason;
    EXPECT_TRUE(client.send("ping\n"));
    const auto serveUntil = [&](size_t count) {
        for (int turn = 0; turn < 500 && seen.size() < count; ++turn) {
            loop.pause(0.01);
        }
    };
    serveUntil(2);
    wchar_t user[256] = {};
    DWORD size = 256;
    ::GetUserNameW(user, &size);
    EXPECT_EQ(seen, (std::vector<std::string>{fromWide(user) + " permis", "ping\n"}));
    server.flush(id);
    EXPECT_EQ(client.receive(5), "bonjour\n");
    client.close();
    serveUntil(3);
    EXPECT_EQ(seen.back(), "parti");
}

} // namespace
} // namespace quorel
