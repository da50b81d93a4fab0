#include "platform/xdg_startup_entry.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(DesktopExecValue, QuotesAndEscapesReservedCharacters) {
    EXPECT_EQ(desktopExecValue("/opt/quorel/quorel"), "/opt/quorel/quorel");
    EXPECT_EQ(desktopExecValue("/home/a b/quorel"), R"("/home/a b/quorel")");
    EXPECT_EQ(desktopExecValue("/opt/50%/quorel"), "/opt/50%%/quorel");
    // Inside quotes $ " ` and \ take a backslash; the value escaping then doubles each backslash.
    EXPECT_EQ(desktopExecValue("/a$b/q"), R"("/a\\$b/q")");
    EXPECT_EQ(desktopExecValue("/a\"b/q"), R"("/a\\"b/q")");
    EXPECT_EQ(desktopExecValue("/a\\b/q"), R"("/a\\\\b/q")");
    EXPECT_EQ(desktopExecValue("/a`b/q"), R"("/a\\`b/q")");
    EXPECT_EQ(desktopExecValue("/a'b/q"), R"("/a'b/q")");
    EXPECT_EQ(desktopExecValue("/a\nb/q"), R"("/a\nb/q")");
}

TEST(WindowsRunCommand, QuotesAPathWithABlankOnly) {
    EXPECT_EQ(windowsRunCommand("C:\\Quorel\\Quorel.exe"), "C:\\Quorel\\Quorel.exe");
    EXPECT_EQ(windowsRunCommand("C:\\Program Files\\Quorel.exe"),
              "\"C:\\Program Files\\Quorel.exe\"");
}

TEST(XdgStartupEntry, WritesReplacesAndRemovesTheDesktopFile) {
    test::TempFolder config;
    XdgStartupEntry entry(config.path() + "cfg/");
    EXPECT_EQ(entry.filePath(), config.path() + "cfg/autostart/Gestion Quorel.desktop");
    EXPECT_FALSE(entry.openExisting());
    EXPECT_FALSE(entry.deleteCommand());

    ASSERT_TRUE(entry.openForCreate());
    EXPECT_TRUE(std::filesystem::is_directory(entry.folder()));
    ASSERT_TRUE(entry.setCommand("/old/quorel"));
    ASSERT_TRUE(entry.setCommand("/home/x y/50% $\"\\/quorel"));
    EXPECT_EQ(config.read("cfg/autostart/Gestion Quorel.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Gestion Quorel\n"
              "Exec=\"/home/x y/50%% \\\\$\\\\\"\\\\\\\\/quorel\"\n"
              "Terminal=false\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(entry.folder()), {}), 1);

    EXPECT_TRUE(entry.openExisting());
    EXPECT_TRUE(entry.deleteCommand());
    EXPECT_FALSE(config.exists("cfg/autostart/Gestion Quorel.desktop"));
    EXPECT_FALSE(entry.deleteCommand());
}

TEST(XdgStartupEntry, FailsWhenTheFolderCannotBeMade) {
    test::TempFolder config;
    config.write("cfg", "a file where the folder should be");
    XdgStartupEntry entry(config.file("cfg"));
    EXPECT_FALSE(entry.openForCreate());
    EXPECT_FALSE(entry.setCommand("/opt/quorel"));
    EXPECT_FALSE(entry.openExisting());
}

} // namespace
} // namespace quorel
