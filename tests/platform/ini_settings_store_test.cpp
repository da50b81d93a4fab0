#include "platform/ini_settings_store.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

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

    // A file saved by Windows Notepad starts with a UTF-8 byte-order mark.
    folder.write("config/VornAlmare.ini", "\xEF\xBB\xBF[VornQuorel]\r\nAutoRun=True\r\n");
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "True");
    // A FIFO would block a plain open for ever; the test returning at all matters.
    std::filesystem::remove(folder.file("config/VornAlmare.ini"));
    ASSERT_EQ(::mkfifo(folder.file("config/VornAlmare.ini").c_str(), 0600), 0);
    EXPECT_EQ(store.read("VornAlmare", "VornQuorel", "AutoRun", "False"), "False");
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

    folder.write("a/b/VornAlmare.ini", "\xEF\xBB\xBF[VornQuorel]\r\nAutoRun=True\r\n; note\r\n");
    ASSERT_TRUE(store.write("VornAlmare", "VornQuorel", "AutoRun", "False"));
    EXPECT_EQ(folder.read("a/b/VornAlmare.ini"), "[VornQuorel]\nAutoRun=False\n; note\n");

    // A store that exists but cannot be read is not overwritten with one key.
    std::filesystem::remove(folder.file("a/b/VornAlmare.ini"));
    ASSERT_EQ(::mkfifo(folder.file("a/b/VornAlmare.ini").c_str(), 0600), 0);
    EXPECT_FALSE(store.write("VornAlmare", "VornQuorel", "AutoRun", "True"));
    EXPECT_TRUE(std::filesystem::is_fifo(folder.file("a/b/VornAlmare.ini")));
}

} // namespace
} // namespace quorel
