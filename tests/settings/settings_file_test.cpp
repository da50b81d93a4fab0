#include "settings/settings_file.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorel {
namespace {

using test::hexBytes;

// The port option group: remembers the selection and every select() asked of it.
struct Ports {
    int16_t current = 0;
    std::vector<int16_t> selects;
    PortOptionAccess access() {
        return {[this] { return current; },
                [this](int16_t i) {
                    selects.push_back(i);
                    current = i;
                }};
    }
};

TEST(SettingsFile, LoadSelectsTheStoredOptionAndReportsEveryUnusableFile) {
    test::TempFolder folder;
    const std::string path = folder.file("Quorel.ini");
    for (const auto& [content, option] : std::vector<std::pair<std::string, int16_t>>{
             {"3\r\n", 3}, {"0\r\n", 0}, {"  4 \r\n", 4}}) {
        folder.write("Quorel.ini", content);
        Ports ports;
        test::FakeDialogs dialogs;
        SettingsFile("Load", path, ports.access(), dialogs);
        EXPECT_EQ(ports.selects, std::vector<int16_t>{option}) << content;
        EXPECT_TRUE(dialogs.messages.empty()) << content;
    }
    for (const std::string content : {"7\r\n", "-1\r\n", "40000\r\n", "", "abc\r\n", " \r\n"}) {
        folder.write("Quorel.ini", content);
        Ports ports{2, {}};
        test::FakeDialogs dialogs;
        SettingsFile("Load", path, ports.access(), dialogs);
        EXPECT_TRUE(ports.selects.empty()) << content;
        ASSERT_EQ(dialogs.messages.size(), 1u) << content;
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
        EXPECT_NE(dialogs.messages[0].text.find(path), std::string::npos);
    }
}

TEST(SettingsFile, MissingFileAndOtherActionsDoNothing) {
    test::TempFolder folder;
    const std::string path = folder.file("Quorel.ini");
    Ports ports{1, {}};
    test::FakeDialogs dialogs;
    SettingsFile("Load", path, ports.access(), dialogs);
    EXPECT_FALSE(folder.exists("Quorel.ini"));

    folder.write("Quorel.ini", "3\r\n");
    for (const char* action : {"load", "SAVE", "Load ", ""}) {
        SettingsFile(action, path, ports.access(), dialogs);
    }
    EXPECT_TRUE(ports.selects.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(folder.read("Quorel.ini"), "3\r\n");
}

TEST(SettingsFile, SaveReplacesTheFileWithTheSelectedIndex) {
    test::TempFolder folder;
    const std::string path = folder.file("Quorel.ini");
    folder.write("Quorel.ini", "\"old\",\"content\"\r\nand more\r\n");
    Ports ports{2, {}};
    test::FakeDialogs dialogs;
    SettingsFile("Save", path, ports.access(), dialogs);
    EXPECT_EQ(hexBytes(folder.read("Quorel.ini")), "32 0D 0A");
    ports.current = 0;
    SettingsFile("Save", path, ports.access(), dialogs);
    EXPECT_EQ(hexBytes(folder.read("Quorel.ini")), "30 0D 0A");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SettingsFile, UnreadableFileOrUnwritableFolderShowsOneMessageAndChangesNothing) {
    test::TempFolder folder;
    test::openPathToEveryone(folder.path());
    const std::string path = folder.file("Quorel.ini");
    folder.write("Quorel.ini", "3\r\n");
    ::chmod(path.c_str(), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        Ports ports{1, {}};
        test::FakeDialogs dialogs;
        SettingsFile("Load", path, ports.access(), dialogs);
        return ports.selects.empty() && dialogs.messages.size() == 1 &&
               dialogs.messages[0].text.find(path) != std::string::npos;
    }));

    ::chmod(path.c_str(), 0644);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_TRUE(test::runUnprivileged([&] {
        Ports ports{2, {}};
        test::FakeDialogs dialogs;
        SettingsFile("Save", path, ports.access(), dialogs);
        return dialogs.messages.size() == 1 && ports.current == 2;
    }));
    EXPECT_EQ(folder.read("Quorel.ini"), "3\r\n");
}

} // namespace
} // namespace quorel
