#include "platform/ini_settings_store.h"
#include "settings/autorun.h"
#include "settings/settings_file.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#ifndef _WIN32
#include "tests/support/unprivileged.h"
#endif

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quorel {
namespace {

using Texts = std::vector<std::string>;

struct AutoRunTest : ::testing::Test {
    AutoRunTest() {
        dialogs.onMessage = [this](const std::string& text) { messages.push_back(text); };
    }
    test::FakeStartupEntry entry;
    test::MemorySettingsStore store;
    test::FakeDialogs dialogs;
    test::RecordingView view;
    AutoRun autoRun{store, entry, dialogs, view, "/opt/Gestion Quorel/quorel"};
    const std::string flag = std::string(kStoreApplication) + "/VornQuorel/AutoRun";
    Texts messages;

    void restore(const std::string& stored) {
        store.values[flag] = stored;
        autoRun.restoreCheckMark();
    }
};

// The check mark is restored from the exact word "True" only, without touching the entry; each
// click stores the new state, then creates or deletes the entry.
TEST_F(AutoRunTest, RestoreAndClicksKeepTheFlagAndTheEntryInStepAndFailuresAreReported) {
    autoRun.restoreCheckMark();
    EXPECT_FALSE(autoRun.checked());
    EXPECT_TRUE(store.values.empty() && view.parts.empty());
    restore("True");
    EXPECT_TRUE(autoRun.checked());
    EXPECT_TRUE(view.saw(ViewPart::AutoRun));
    for (const char* text : {"true", "1", "Yes", "False", ""}) {
        restore(text);
        EXPECT_FALSE(autoRun.checked()) << text;
    }
    EXPECT_TRUE(entry.steps.empty());
    view.parts.clear();
    autoRun.mnuautorun_Click();
    EXPECT_TRUE(autoRun.checked());
    EXPECT_EQ(store.values[flag], "True");
    EXPECT_EQ(entry.command, "/opt/Gestion Quorel/quorel");
    autoRun.mnuautorun_Click();
    EXPECT_FALSE(autoRun.checked());
    EXPECT_EQ(store.values[flag], "False");
    EXPECT_FALSE(entry.present);
    EXPECT_EQ(entry.steps, (Texts{"openForCreate", "setCommand", "close", "openExisting",
                                  "deleteCommand", "close"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(view.parts, (std::vector<ViewPart>{ViewPart::AutoRun, ViewPart::AutoRun}));

    store.failWrites = true; // the flag cannot be stored: said, and the entry still follows
    autoRun.mnuautorun_Click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(autoRun.checked() && entry.present);
    store.failWrites = false;
    messages.clear();
    entry.steps.clear();
    entry.present = false;
    autoRun.mnuautorun_Click(); // no entry to delete
    EXPECT_FALSE(autoRun.checked());
    EXPECT_EQ(store.values[flag], "False");
    entry.openExistingResult = false; // no folder of entries: nothing to report
    restore("True");
    autoRun.mnuautorun_Click();
    entry.openForCreateResult = false;
    autoRun.mnuautorun_Click();
    EXPECT_TRUE(autoRun.checked());
    entry.openForCreateResult = true;
    entry.setCommandResult = false;
    autoRun.CreateRunKey();
    EXPECT_EQ(entry.steps, (Texts{"openExisting", "deleteCommand", "close", "openExisting",
                                  "openForCreate", "openForCreate", "setCommand", "close"}));
    EXPECT_EQ(messages, (Texts{kDeleteKeyError, kCreateKeyError, kCreateKeyError}));
}

struct SettingsFileTest : ::testing::Test {
    test::TempFolder folder;
    const std::string path = folder.file("Quorel.ini");
    int16_t selected = 2;
    std::vector<int16_t> selects;
    test::FakeDialogs dialogs;

    void run(FileAction action) {
        const auto select = [this](int16_t index) { selects.push_back(selected = index); };
        SettingsFile(action, path, {[this] { return selected; }, select}, dialogs);
    }
};

TEST_F(SettingsFileTest, SaveWritesTheSelectedIndexAndLoadSelectsItOrReportsAnUnusableFile) {
    run(FileAction::Load); // a missing file is no error
    folder.write("Quorel.ini", "\"old\",\"content\"\r\nand more\r\n");
    run(FileAction::Save);
    EXPECT_EQ(folder.read("Quorel.ini"), "2\r\n");
    selected = 0;
    run(FileAction::Save);
    EXPECT_EQ(folder.read("Quorel.ini"), "0\r\n");
    for (const char* content : {"3\r\n", "0\r\n", "  4 \r\n"}) {
        folder.write("Quorel.ini", content);
        run(FileAction::Load);
    }
    EXPECT_EQ(selects, (std::vector<int16_t>{3, 0, 4}));
    EXPECT_TRUE(dialogs.messages.empty());
    for (const std::string& content :
         {std::string("7\r\n"), std::string("-1\r\n"), std::string("40000\r\n"), std::string(),
          std::string("abc\r\n"), std::string(" \r\n"), "1\r\n" + std::string(4096, ' ')}) {
        folder.write("Quorel.ini", content);
        run(FileAction::Load);
    }
    EXPECT_EQ(selects.size(), 3u);
    ASSERT_EQ(dialogs.messages.size(), 7u);
    EXPECT_EQ(dialogs.messages.back().text, "Impossible de lire le fichier de réglages « " + path +
                                                " » : fichier trop volumineux (plus de 4 Kio)");
    for (const auto& shown : dialogs.messages) {
        EXPECT_TRUE(shown.icon == MessageIcon::None && shown.text.find(path) != std::string::npos)
            << shown.text;
    }
}

// File permissions of this kind exist on POSIX systems only.
#ifndef _WIN32
TEST_F(SettingsFileTest, UnreadableFileOrUnwritableFolderShowsOneMessageAndChangesNothing) {
    test::openPathToEveryone(folder.path());
    folder.write("Quorel.ini", "3\r\n");
    ::chmod(path.c_str(), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        run(FileAction::Load);
        return selects.empty() && dialogs.messages.size() == 1 &&
               dialogs.messages[0].text.find(path) != std::string::npos;
    }));
    ::chmod(path.c_str(), 0644);
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_TRUE(test::runUnprivileged([&] {
        run(FileAction::Save);
        return dialogs.messages.size() == 1 && selected == 2;
    }));
    EXPECT_EQ(folder.read("Quorel.ini"), "3\r\n");
}
#endif

} // namespace
} // namespace quorel
