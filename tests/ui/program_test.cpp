#include "platform/folder_lock.h"
#include "tests/support/program_station.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using Station = test::ProgramStation<test::FakeWindow>;
constexpr double kTenOClock = 10 * 3600;

TEST(StartUp, FirstStartRemovesStaleTemporariesAndGoesOnPastAnUnusableSettingsFile) {
    Station s;
    s.folder.write(".Quorel.0.quorel-tmp-k3Xq9Z", "left by a save killed half-way");
    std::filesystem::last_write_time(s.folder.file(".Quorel.0.quorel-tmp-k3Xq9Z"),
                                     std::filesystem::file_time_type::clock::now() -
                                         std::chrono::hours(1));
    s.start({2020, 6, 26}, kTenOClock, {{"Quorel.ini", "7\r\n"}}); // a Friday
    std::filesystem::remove_all(s.folder.file("Journal"));         // the start-up's line
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.folder.path()), {}), 1);
    EXPECT_EQ(s.folder.read("Quorel.ini"), "7\r\n"); // nothing is written at start-up
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(s.program.panel.PortCom, 0);
    EXPECT_TRUE(s.link.calls.empty());
    EXPECT_FALSE(s.timer.isEnabled());
    EXPECT_EQ(s.program.days.selectedDay(), 4);
    EXPECT_EQ(s.program.days.JourSemaine().size(), 7u);
    EXPECT_FALSE(s.program.autoRun.checked());
    s.program.entries.BtnAjouter_Click(); // refused, and told at once: boxes wait at start-up only
    EXPECT_EQ(s.dialogs.messages.size(), 2u);
    EXPECT_EQ(s.program.fields.ComboSItems, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(s.program.fields.ComboS, "1");
}

TEST(StartUp, RestoresThePortTodayBothCopiesAndThePlace) {
    Station s;
    s.store.values["VornAlmare/VornQuorel/AutoRun"] = "True";
    s.start({2020, 6, 24}, kTenOClock, // a Wednesday
            {{"Quorel.ini", "3\r\n"},
             {"Quorel.2", "\"1\",\"12:00:00\",\"10\"\r\n\"2\",\"07:45:00\",\"5\"\r\n"},
             {"Quorel.conges", "\"2020-06-24\",\"2020-06-24\",\"Sortie\"\r\n"}});
    EXPECT_EQ(s.program.panel.PortCom, 3);
    EXPECT_EQ(s.link.calls, (std::vector<std::string>{"port 3", "parameters 4800,N,8,1", "open"}));
    EXPECT_TRUE(s.timer.isEnabled());
    EXPECT_EQ(s.program.panel.InfoERR, "Init COM3:4800,N,8,1 Ok");
    EXPECT_EQ(s.program.days.selectedDay(), 2);
    ASSERT_EQ(s.program.list.count(), 2);
    EXPECT_EQ(s.program.list.row(1).time, "07:45:00");
    EXPECT_EQ(s.program.scheduler.today.TodayTime[1], "12:00:00");
    EXPECT_EQ(s.program.scheduler.today.TodayTime[2], "07:45:00");
    EXPECT_EQ(s.program.shownNextBell().text, "Jour sans sonnerie\nSortie");
    EXPECT_TRUE(s.program.autoRun.checked());
    EXPECT_TRUE(s.startup.steps.empty()); // the start-up entry is not touched
    EXPECT_EQ(s.program.InitialWidth, 7680);
    EXPECT_EQ(s.program.InitialHeight, 7200);
    EXPECT_DOUBLE_EQ(s.window.placed.left, 5760);
    EXPECT_DOUBLE_EQ(s.window.placed.top, 3600);
    // The resize rule then keeps that size in the normal state only.
    ASSERT_TRUE(s.program.Form_Resize(true, {9000, 8000}).has_value());
    EXPECT_DOUBLE_EQ(s.program.Form_Resize(true, {9000, 8000})->width, 7680);
    EXPECT_FALSE(s.program.Form_Resize(false, {9000, 8000}).has_value());
    EXPECT_FALSE(s.program.Form_Resize(true, {7680, 7200}).has_value());
}

TEST(StartUp, BoxesWaitUntilTheSchedulerRunsOnTodaysTable) {
    Station s;
    // The list of the day cannot load a file this large, and says so in a box.
    const std::string tooLarge(kDayFileMaxBytes + 1, ' ');
    bool readyWhenShown = false;
    s.dialogs.onMessage = [&](const std::string&) {
        readyWhenShown = s.timer.isEnabled() && s.program.scheduler.loadedDay == 0;
    };
    s.start({2020, 6, 22}, kTenOClock,
            {{"Quorel.ini", "1\r\n"}, {"Quorel.0", tooLarge}}); // a Monday
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_TRUE(readyWhenShown);
}

TEST(StartUp, ASecondCopyOnTheSameFolderSaysSoAndLeavesEverythingAlone) {
    Station first;
    first.folder.write(kFolderLockName, ""); // left by a copy that was killed: no hold
    ASSERT_TRUE(first.program.startAlone());
    Station second(first.folder.path());
    EXPECT_FALSE(second.program.startAlone());
    ASSERT_EQ(second.dialogs.messages.size(), 1u);
    EXPECT_EQ(second.dialogs.messages[0].text, "Quorel est déjà lancé.");
    second.program.Form_Unload(ShutdownCause::WindowClosed);
    EXPECT_FALSE(first.folder.exists("Quorel.ini"));
    EXPECT_FALSE(first.folder.exists("Journal"));
    EXPECT_TRUE(second.link.calls.empty());
}

TEST(ShutDown, SavesThePortChoiceStopsSwitchesOffWhatIsOnAndCloses) {
    Station s;
    s.start({2020, 6, 22}, kTenOClock);
    s.program.portChoice.select(2);
    s.program.manual.setCheckS(0, CheckState::Checked);
    s.program.manual.CheckS_Click(0);
    s.link.sent.clear();
    s.link.onWrite = [&](uint8_t) { EXPECT_TRUE(s.link.isOpen() && !s.timer.isEnabled()); };

    // The relays are off and the port closed before a slow disk holds up the save.
    std::vector<uint8_t> sentBeforeSave{1};
    s.files.onCall = [&](const std::string& operation, const std::string&) {
        if (operation == "replace") {
            sentBeforeSave = s.link.isOpen() ? std::vector<uint8_t>{} : s.link.bytes();
            s.clock.advance(3.5);
        }
        return std::string();
    };
    s.program.Form_Unload(ShutdownCause::Quit);
    EXPECT_EQ(sentBeforeSave, (std::vector<uint8_t>{0x6F}));
    EXPECT_TRUE(s.folder.read("Journal/2020-06-22.txt")
                    .ends_with("10:00:03.950 Arrêt de Quorel : « Quitter »\n"))
        << s.folder.read("Journal/2020-06-22.txt");
    EXPECT_EQ(s.folder.read("Quorel.ini"), "2\r\n");
    EXPECT_FALSE(s.timer.isEnabled());
    EXPECT_FALSE(s.link.isOpen());
    EXPECT_EQ(s.program.panel.InfoERR, "Port COM Close OK !");
    EXPECT_EQ(s.link.bytes(), (std::vector<uint8_t>{0x6F})); // relay 2 is known to be off
    EXPECT_TRUE(s.program.ended());
    EXPECT_FALSE(s.folder.exists("Quorel.0"));
    // The close box after "Quitter" does not run it again.
    s.folder.write("Quorel.ini", "x");
    s.program.Form_Unload(ShutdownCause::Quit);
    EXPECT_EQ(s.folder.read("Quorel.ini"), "x");
}

TEST(ShutDown, ACloseAsksAboutUnsavedEditsAndASignalDuringTheQuestionShutsDownAtOnce) {
    Station s;
    s.start({2020, 6, 22}, kTenOClock);
    s.program.portChoice.select(1);
    s.program.manual.setCheckS(0, CheckState::Checked);
    s.program.manual.CheckS_Click(0);
    s.program.list.add({"1", "09:00:00", "5"});
    s.dialogs.answer = [](const std::string&) { return Answer::Cancel; };
    EXPECT_EQ(s.program.requestClose(ShutdownCause::WindowClosed), CloseOutcome::StayOpen);
    EXPECT_EQ(s.program.requestClose(ShutdownCause::Quit), CloseOutcome::StayOpen);
    EXPECT_EQ(s.dialogs.questions.size(), 2u);
    EXPECT_TRUE(!s.program.ended() && s.link.isOpen() && s.timer.isEnabled());

    s.link.sent.clear();
    s.dialogs.answer = [&](const std::string&) {
        // A second close box click waits; log-out does not.
        EXPECT_EQ(s.program.requestClose(ShutdownCause::WindowClosed), CloseOutcome::StayOpen);
        EXPECT_FALSE(s.program.ended());
        EXPECT_EQ(s.program.requestClose(ShutdownCause::Signal), CloseOutcome::End);
        EXPECT_TRUE(s.program.ended() && !s.link.isOpen());
        return Answer::Yes; // too late: saving now would write after the end
    };
    EXPECT_EQ(s.program.requestClose(ShutdownCause::Quit), CloseOutcome::End);
    EXPECT_EQ(s.link.bytes(), (std::vector<uint8_t>{0x6F}));
    EXPECT_FALSE(s.folder.exists("Quorel.0"));
    const std::string journal = s.folder.read("Journal/2020-06-22.txt");
    EXPECT_EQ(journal.find("Arrêt de Quorel"), journal.rfind("Arrêt de Quorel")) << journal;
    EXPECT_EQ(s.program.requestClose(ShutdownCause::WindowClosed), CloseOutcome::End);
    EXPECT_EQ(s.program.exitStatus(), 0);
    EXPECT_EQ(s.dialogs.questions.size(), 3u);
}

TEST(ShutDown, AskedByASignalItShowsNoBox) {
    Station s;
    s.start({2020, 6, 22}, kTenOClock);
    s.program.portChoice.select(1);
    s.program.outputs.keepRelaysInStep(); // both relays known to be off
    s.link.sent.clear();
    std::filesystem::create_directory(s.folder.file("Quorel.ini")); // cannot be replaced
    s.program.list.add({"1", "09:00:00", "5"});
    EXPECT_EQ(s.program.requestClose(ShutdownCause::Signal), CloseOutcome::End);
    EXPECT_TRUE(s.dialogs.messages.empty() && s.dialogs.questions.empty());
    EXPECT_EQ(s.program.exitStatus(), 1);
    EXPECT_NE(s.folder.read("Journal/2020-06-22.txt")
                  .find("modifications non enregistrées de Lundi abandonnées\n"),
              std::string::npos);
    EXPECT_NE(s.errors.str().find("Quorel.ini"), std::string::npos) << s.errors.str();
    EXPECT_TRUE(s.link.bytes().empty());
    EXPECT_TRUE(s.program.ended());
}

} // namespace
} // namespace quorel
