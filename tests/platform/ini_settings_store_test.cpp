#include "platform/ini_settings_store.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(IniSettingsStore, ReadGivesTheValueOrTheFallback) {
    test::TempFolder folder;
    IniSettingsStore store(folder.path() + "config");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "False");

    std::filesystem::create_directory(folder.file("config"));
    folder.write("config/VornAlmare.ini", "; comment\r\n[Ports]\r\nAutoRun=Wrong\r\n"
                                          "[ VornQuorel ]\r\n  AutoRun = True \r\n");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "True");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "Other", "none"), "none");
    EXPECT_EQ(store.read("VornAlmare", "Missing", "AutoRun", "none"), "none");
    EXPECT_EQ(store.read("Another", "VornQuorel", "AutoRun", "none"), "none");
}

TEST(IniSettingsStore, WriteKeepsEveryOtherLine) {
    test::TempFolder folder;
    IniSettingsStore store(folder.path() + "a/b");
    ASSERT_TRUE(store.write("VornAlmare", "VornQuorel", "AutoRun", "True"));
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"), "[VornQuorel]\nAutoRun=True\n");

    folder.write("a/b/VornAlmare.ini", "# mine\n[VornQuorel]\nAutoRun=True\nKeep=1\n\n"
                                       "[Ports]\nCOM1=/dev/ttyUSB0\n");
    ASSERT_TRUE(store.write("VornAlmare", "VornQuorel", "AutoRun", "False"));
    ASSERT_TRUE(store.write("VornAlmare", "VornQuorel", "Added", "x"));
    ASSERT_TRUE(store.write("VornAlmare", "Fresh", "Key", "y"));
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"),
              "# mine\n[VornQuorel]\nAutoRun=False\nKeep=1\nAdded=x\n\n"
              "[Ports]\nCOM1=/dev/ttyUSB0\n\n[Fresh]\nKey=y\n");
    EXPECT_EQ(store.read("VornAlmare", "Ports", "COM1", ""), "/dev/ttyUSB0");
}

} // namespace
} // namespace quorel
