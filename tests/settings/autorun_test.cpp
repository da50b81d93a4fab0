#include "platform/ini_settings_store.h"
#include "settings/autorun.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using Texts = std::vector<std::string>;
const std::string kFlag = std::string(kStoreApplication) + "/VornQuorel/AutoRun";

// Logs each store write into the entry's step list, so one list shows the order of all steps.
struct LoggingStore final : SettingsStore {
    explicit LoggingStore(Texts& steps) : steps(steps) {}
    std::string read(const std::string& a, const std::string& s, const std::string& k,
                     const std::string& fallback) override {
        return memory.read(a, s, k, fallback);
    }
    bool write(const std::string& a, const std::string& s, const std::string& k,
               const std::string& value) override {
        steps.push_back("store " + value);
        return memory.write(a, s, k, value);
    }
    Texts& steps;
    test::MemorySettingsStore memory;
};

struct AutoRunTest : ::testing::Test {
    test::FakeStartupEntry entry;
    LoggingStore store{entry.steps};
    test::FakeDialogs dialogs;
    test::RecordingView view;
    AutoRun autoRun{store, entry, dialogs, view, "/opt/Gestion Quorel/quorel"};

    Texts messages() const {
        Texts texts;
        for (const auto& shown : dialogs.messages) {
            texts.push_back(shown.icon == MessageIcon::None ? shown.text : "icon! " + shown.text);
        }
        return texts;
    }
    void restore(const std::string& stored) {
        store.memory.values[kFlag] = stored;
        autoRun.restoreCheckMark();
    }
};

TEST_F(AutoRunTest, RestoreReadsOnlyTheExactWordTrueAndLeavesTheEntryAlone) {
    autoRun.restoreCheckMark();
    EXPECT_FALSE(autoRun.checked());
    EXPECT_TRUE(store.memory.values.empty());
    restore("True");
    EXPECT_TRUE(autoRun.checked());
    EXPECT_TRUE(view.saw(ViewPart::AutoRun));
    for (const char* text : {"true", "1", "Yes", "False", ""}) {
        restore(text);
        EXPECT_FALSE(autoRun.checked()) << text;
    }
    EXPECT_TRUE(entry.steps.empty());
}

TEST_F(AutoRunTest, CheckAndUncheckStoreTheFlagBeforeTouchingTheEntry) {
    autoRun.mnuautorun_Click();
    EXPECT_TRUE(autoRun.checked());
    EXPECT_EQ(store.memory.values[kFlag], "True");
    EXPECT_EQ(entry.command, "/opt/Gestion Quorel/quorel");
    autoRun.mnuautorun_Click();
    EXPECT_FALSE(autoRun.checked());
    EXPECT_EQ(store.memory.values[kFlag], "False");
    EXPECT_FALSE(entry.present);
    EXPECT_EQ(entry.steps, (Texts{"store True", "openForCreate", "setCommand", "close",
                                  "store False", "openExisting", "deleteCommand", "close"}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(view.parts, (std::vector<ViewPart>{ViewPart::AutoRun, ViewPart::AutoRun}));
}

TEST_F(AutoRunTest, DeleteReportsAMissingEntryOnceAndAMissingFolderNever) {
    restore("True");
    autoRun.mnuautorun_Click();
    EXPECT_EQ(messages(), Texts{kDeleteKeyError});
    EXPECT_FALSE(autoRun.checked());
    EXPECT_EQ(store.memory.values[kFlag], "False");
    EXPECT_EQ(entry.steps, (Texts{"store False", "openExisting", "deleteCommand", "close"}));

    entry.steps.clear();
    entry.openExistingResult = false;
    restore("True");
    autoRun.mnuautorun_Click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(entry.steps, (Texts{"store False", "openExisting"}));
}

TEST_F(AutoRunTest, CreateFailuresShowTheCreateMessageAndKeepTheNewState) {
    entry.openForCreateResult = false;
    autoRun.mnuautorun_Click();
    EXPECT_EQ(entry.steps, (Texts{"store True", "openForCreate"}));
    EXPECT_EQ(messages(), Texts{kCreateKeyError});
    EXPECT_TRUE(autoRun.checked());

    entry.steps.clear();
    entry.openForCreateResult = true;
    entry.setCommandResult = false;
    autoRun.CreateRunKey();
    EXPECT_EQ(entry.steps, (Texts{"openForCreate", "setCommand", "close"}));
    EXPECT_EQ(messages(), (Texts{kCreateKeyError, kCreateKeyError}));
}

TEST_F(AutoRunTest, AFlagThatCannotBeStoredIsReportedAndTheEntryStillFollows) {
    store.memory.failWrites = true;
    autoRun.mnuautorun_Click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_TRUE(autoRun.checked());
    EXPECT_TRUE(entry.present);
}

} // namespace
} // namespace quorel
