#include "platform/file_io.h"
#include "schedule/closed_periods.h"
#include "schedule/daily_journal.h"
#include "schedule/dated_timetables.h"
#include "schedule/today_table.h"
#include "tests/support/program_station.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <utility>

namespace quorel {
namespace {

using Lines = std::vector<std::string>;

struct NoWindow : View, WindowGeometry {
    void redraw(ViewPart) override {}
    TwipsSize outerSize() override { return {7680, 7200}; }
    TwipsSize screenSize() override { return {19200, 14400}; }
    void moveTo(TwipsPoint) override {}
};

// The program with its real journal, in the folder "Journal/" of its temporary folder.
struct Station : test::ProgramStation<NoWindow> {
    // The lines of the file of day, without their times unless stamped.
    Lines lines(const std::string& day, bool stamped = true) const {
        std::istringstream in(folder.read("Journal/" + day + ".txt"));
        Lines result;
        for (std::string line; std::getline(in, line);) {
            result.push_back(stamped ? line : line.substr(13));
        }
        return result;
    }
    void tick(double after) {
        clock.advance(after);
        program.tick.TimerSat_Timer();
    }
};

const std::string kStarted = std::string("Démarrage de Quorel ") + QUOREL_VERSION;

TEST(Journal, ANightOfTheProgramWithItsSwitchesADayWithoutBellsAndTheOldFilesGone) {
    Station s;
    std::filesystem::create_directory(s.folder.file("Journal"));
    // 401 and 400 days before Monday 22 June 2020, 399, names of no day, and the day before.
    const Lines files{"2019-05-18.txt", "2019-05-19.txt", "2019-05-20.txt",
                      "2019-02-30.txt", "notes.txt",      "2020-06-21.txt"};
    for (const std::string& name : files) {
        s.folder.write("Journal/" + name, "");
    }
    s.start({2020, 6, 22}, 86400 - 1.1,
            {{"Quorel.ini", "1\r\n"},
             {"Quorel.0", "1,23:59:59,1\n"},
             {"Quorel.1", "2,00:00:00,5\n1,00:00:00,3\n"},
             {"Quorel.conges", "\"2020-06-23\",\"2020-06-23\",\"Gr\xE8ve\"\r\n"}});
    EXPECT_FALSE(s.folder.exists("Journal/" + files[0]));
    EXPECT_TRUE(s.folder.exists("Journal/" + files[1]));
    while (s.clock.localDate().day == 22 || s.clock.secondsSinceMidnight() < 1.5) {
        s.tick(0.2); // each tick of a second sends its switch-on again
    }
    s.folder.write("saved", "2,00:00:00,5\n1,00:00:00,3\n"); // the same entries, saved again
    std::filesystem::rename(s.folder.file("saved"), s.folder.file("Quorel.1"));
    s.clock.setTime(0, 1, 0);
    s.tick(0);
    s.program.Form_Unload(ShutdownCause::Quit);

    for (size_t i = 1; i < files.size(); ++i) {
        EXPECT_EQ(s.folder.exists("Journal/" + files[i]), i > 1) << files[i];
    }
    // A switch is noted once its relay bytes are out, 0.3 s after its tick.
    EXPECT_EQ(s.lines("2020-06-22"),
              (Lines{"23:59:58.900 " + kStarted,
                     "23:59:58.900 Port « COM1: » choisi : Init COM1:4800,N,8,1 Ok",
                     "23:59:58.900 Horaire du jour chargé : 1 entrée",
                     "23:59:59.400 Module USB-RLY02, version 1",
                     "23:59:59.400 Sortie 1 activée (entrée 23:59:59, 1 s)"}));
    EXPECT_EQ(s.lines("2020-06-23"),
              (Lines{"00:00:00.000 Horaire du jour chargé : 2 entrées",
                     "00:00:00.000 Entrée 00:00:00 (S2, 5 s) non sonnée : jour sans sonnerie « "
                     "Grève »",
                     "00:00:00.000 Entrée 00:00:00 (S1, 3 s) non sonnée : jour sans sonnerie « "
                     "Grève »",
                     "00:00:00.500 Sortie 1 désactivée", "00:01:00.000 Horloge avancée de 59 s",
                     "00:01:00.000 Arrêt de Quorel : « Quitter »"}));
}

// A start is owed every entry since the journal's last line: those of the last two seconds ring
// late at the first tick, the earlier ones, and those the first tick comes too late for, are
// listed as missed, each once.
TEST(Journal, AStartInsideAnEntrysSecondRingsItLateAndListsTheOlderOnesAsMissed) {
    const std::map<std::string, std::string> files{
        {"Quorel.ini", "1\r\n"},
        {"Quorel.0", "1,08:00:00,5\n2,08:00:02,5\n1,08:00:04,5\n"},
        {"Journal/2020-06-22.txt", "07:59:58.000 Arrêt de Quorel : signal\n"}};
    const auto afterStart = [](Station& s) {
        const Lines lines = s.lines("2020-06-22", false);
        return Lines(std::find(lines.begin(), lines.end(), kStarted) + 1, lines.end());
    };
    {
        Station s; // started 0.8 s into the entry's second: rung at the first tick
        std::filesystem::create_directory(s.folder.file("Journal"));
        s.start({2020, 6, 22}, 8 * 3600 + 0.8, files);
        s.tick(0.2);
        EXPECT_EQ(s.link.bytes().back(), 0x70);
        EXPECT_EQ(afterStart(s).back(), "Sortie 1 activée (entrée 08:00:00, 5 s)");
    }
    {
        Station s; // 3.5 s after 08:00:00, 1.5 s after 08:00:02; the first tick 3 s after it
        std::filesystem::create_directory(s.folder.file("Journal"));
        s.start({2020, 6, 22}, 8 * 3600 + 3.5, files);
        EXPECT_EQ(afterStart(s).back(),
                  "Entrée 08:00:00 (S1, 5 s) manquée : Quorel n'était pas lancé");
        s.tick(1.6);
        const Lines lines = afterStart(s);
        EXPECT_EQ(Lines(lines.end() - 2, lines.end()),
                  (Lines{"Entrée 08:00:02 (S2, 5 s) manquée : Quorel n'était pas lancé",
                         "Sortie 1 activée (entrée 08:00:04, 5 s)"}));
        EXPECT_TRUE(s.program.shownNextBell().toolTip.ends_with(
            "\n2 sonneries manquées aujourd'hui (voir le journal)"));
    }
}

TEST(Journal, PortChoicesManualSwitchesAndFailedRelayCommandsAreNotedOnce) {
    Station s;
    s.link.openError = SerialError::DeviceMissing;
    s.start({2020, 6, 22}, 10 * 3600);
    s.program.manual.CheckS_Click(0); // nothing switches while no port is in use
    s.program.portChoice.select(1);
    s.program.portChoice.TimerPort_Timer(); // tried again in vain: no line
    s.link.openError = SerialError::None;
    s.program.portChoice.TimerPort_Timer();
    s.program.manual.CmdRelais_Click(1);
    s.program.manual.CmdRelais_Click(1);
    s.link.writeError = SerialError::WriteFailed;
    s.program.manual.CmdRelais_Click(0); // a test that fails switches nothing
    s.program.manual.setCheckS(0, CheckState::Checked);
    s.program.manual.CheckS_Click(0); // and both relay bytes fail
    s.program.outputs.keepRelaysInStep();
    s.link.writeError = SerialError::None;
    s.program.outputs.keepRelaysInStep();
    s.program.manual.setCheckS(0, CheckState::Unchecked);
    s.program.manual.CheckS_Click(0);
    s.program.portChoice.select(0);
    EXPECT_EQ(
        s.lines("2020-06-22", false),
        (Lines{kStarted, "Horaire du jour chargé : 0 entrée",
               "Port « COM1: » choisi : Erreur n°  8020",
               "Port « COM1: » ouvert : Init COM1:4800,N,8,1 Ok", "Relais 2 activé (test)",
               "Relais 2 désactivé (test)", "Erreur n° 8031 : commande relais non écrite",
               "S1 activée à la main", "Commandes relais rétablies : Init COM1:4800,N,8,1 Ok",
               "S1 désactivée à la main", "Port « Désactivé » choisi : Port COM Close OK !"}));
}

TEST(Journal, OneThatCannotBeWrittenIsSaidOnceOnTheStatusLineAndTheBellsGoOn) {
    Station s;
    s.start({2020, 6, 22}, 10 * 3600,
            {{"Journal", "a file in the folder's place"},
             {"Quorel.ini", "1\r\n"},
             {"Quorel.0", "1,10:00:01,5\n"}});
    // The notice gives the system's reason, whose words differ from one system to another.
    const auto noticed = [&s] {
        const std::string prefix = "Journal impossible à écrire : ";
        return s.program.panel.InfoERR.rfind(prefix, 0) == 0 &&
               s.program.panel.InfoERR.size() > prefix.size();
    };
    EXPECT_TRUE(noticed()) << s.program.panel.InfoERR; // not hidden by the port restored at start
    s.program.portChoice.select(1);
    s.tick(1);
    EXPECT_EQ(s.program.scheduler.OutputState[1], kOn);
    EXPECT_EQ(s.program.panel.InfoERR, "Init COM1:4800,N,8,1 Ok"); // lines lost, no new notice
    std::filesystem::remove(s.folder.file("Journal"));
    s.program.portChoice.select(1); // written: the folder is made for it
    std::filesystem::remove_all(s.folder.file("Journal"));
    s.folder.write("Journal", "");
    s.program.portChoice.select(1);
    EXPECT_TRUE(noticed()) << s.program.panel.InfoERR;
}

TEST(Journal, ASignalInsideASwitchIsTheLastLineAndOnlyAWrittenByteIsNotedActivated) {
    Station s;
    s.start({2020, 6, 22}, 10 * 3600 + 0.9,
            {{"Quorel.ini", "1\r\n"}, {"Quorel.0", "1,10:00:01,5\n2,10:00:01,5\n"}});
    bool signalled = false;
    s.pump.onYield = [&](int) { // in the pause after the first relay byte
        if (!std::exchange(signalled, true)) {
            s.program.Form_Unload(ShutdownCause::Signal);
        }
    };
    s.tick(0.2);
    const Lines lines = s.lines("2020-06-22", false);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "Arrêt de Quorel : signal");
    EXPECT_EQ(s.link.bytes(), (std::vector<uint8_t>{0x65, 0x6F, 0x70}));
}

// Today's journal ends as a power cut during a write leaves it: in half a line, stamped or not, or
// in the NUL bytes of a block the file system had given it.
TEST(Journal, AfterAPowerCutTheStartUpGoesByTheLastStampedLineAndWritesOnALineOfItsOwn) {
    const std::string rung = "08:00:00.010 Sortie 1 activée (entrée 08:00:00, 5 s)\n"
                             "09:00:00.010 Sortie 1 activée (entrée 09:00:00, 5 s)\n";
    for (const std::string& torn : {rung + "09:00:05.0", rung + std::string(4000, '\0'),
                                    rung + "09:00:05.000 Sortie 1 dés" + std::string(9, '\0')}) {
        Station s;
        std::filesystem::create_directory(s.folder.file("Journal"));
        s.folder.write("Journal/2020-06-22.txt", torn);
        s.start({2020, 6, 22}, 10 * 3600 + 30,
                {{"Quorel.0", "1,08:00:00,5\n1,09:00:00,5\n1,10:00:00,5\n"}});
        const std::string written = s.folder.read("Journal/2020-06-22.txt");
        ASSERT_TRUE(written.starts_with(torn + "\n10:00:30.000 " + kStarted + "\n"))
            << written.substr(torn.size());
        EXPECT_EQ(written.substr(written.rfind('\n', written.size() - 2) + 1),
                  "10:00:30.000 Entrée 10:00:00 (S1, 5 s) manquée : Quorel n'était pas lancé\n");
        EXPECT_EQ(written.find("Entrée 09:00:00"), std::string::npos);
        // Once a line is written, the next ones follow it.
        s.program.Form_Unload(ShutdownCause::Quit);
        EXPECT_EQ(s.folder.read("Journal/2020-06-22.txt"),
                  written + "10:00:30.000 Arrêt de Quorel : « Quitter »\n");
    }
}

TEST(Journal, OfAHugeDayOnlyTheEndIsReadAtStartUpAndShown) {
    Station s;
    std::filesystem::create_directory(s.folder.file("Journal"));
    const std::string path = s.folder.file("Journal/2020-06-22.txt");
    s.folder.write("Journal/2020-06-22.txt", "07:00:00.000 " + kStarted + "\n");
    std::filesystem::resize_file(path, int64_t{64} << 20); // holes, read as NUL bytes
    const std::string end = "\n09:00:00.010 Sortie 1 activée (entrée 09:00:00, 5 s)\n"
                            "09:00:05.000 Sortie 1 désactivée\n";
    std::ofstream(path, std::ios::binary | std::ios::app) << end;
    EXPECT_EQ(lastJournalSecond(s.folder.file("Journal/"), {2020, 6, 22}), 9 * 3600 + 5);
    // The line cut by the start of the end shown is left out.
    EXPECT_EQ(journalDayText(s.folder.file("Journal/"), {2020, 6, 22}),
              "[Début de la journée non affiché : seuls les 2 derniers Mio du fichier le sont.]" +
                  end);
    s.start({2020, 6, 22}, 10 * 3600 + 30, {{"Quorel.0", "1,09:00:00,5\n1,10:00:00,5\n"}});
    const std::string written =
        readFileTail(path, static_cast<int64_t>(end.size()) + 1000).bytes.substr(1000);
    EXPECT_EQ(written.find("Entrée 09:00:00"), std::string::npos);
    EXPECT_NE(written.find("Entrée 10:00:00 (S1, 5 s) manquée"), std::string::npos);
}

// The scheduler's files over their bounds read as missing: the bells of today's file ring on a
// day that a Quorel.conges too large to read would have silenced.
TEST(Journal, AFileOverItsBoundIsJournaledOnceForEachOfItsStatesAndReadsAsMissing) {
    Station s;
    const auto tooLarge = [](int64_t bound, std::string bytes = {}) {
        return bytes + std::string(static_cast<size_t>(bound) + 1 - bytes.size(), ' ');
    };
    s.start({2020, 6, 22}, 10 * 3600 + 30,
            {{"Quorel.0", "1,10:30:00,5\n"},
             {"Quorel.horaires", tooLarge(kDatedPeriodsMaxBytes)},
             {"Quorel.conges",
              tooLarge(kClosedPeriodsMaxBytes, "\"2020-06-22\",\"2020-06-22\",\"Gr\xE8ve\"\r\n")}});
    const auto minute = [&s](int minute) { // ticks on to its second 00
        while (s.clock.secondsSinceMidnight() < 10 * 3600 + minute * 60) {
            s.tick(0.5);
        }
    };
    minute(1);
    minute(2);
    s.folder.write("Quorel.horaires", tooLarge(kDatedPeriodsMaxBytes) + " ");
    minute(3);
    // The names, read with the periods, bring no new line about the periods.
    s.folder.write("Quorel.noms", "7,Examens\n");
    minute(4);
    s.folder.write("Quorel.0", tooLarge(kDayFileMaxBytes));
    minute(5);
    minute(6);
    EXPECT_EQ(s.lines("2020-06-22", false),
              (Lines{kStarted,
                     "Fichier Quorel.horaires refusé : fichier trop volumineux (plus de 64 Kio)",
                     "Horaire du jour chargé : 1 entrée",
                     "Fichier Quorel.conges refusé : fichier trop volumineux (plus de 64 Kio)",
                     "Fichier Quorel.horaires refusé : fichier trop volumineux (plus de 64 Kio)",
                     "Fichier Quorel.0 refusé : fichier trop volumineux (plus de 64 Kio)",
                     "Horaire du jour chargé : 0 entrée"}));
    EXPECT_FALSE(s.program.scheduler.closedToday.has_value());
    EXPECT_TRUE(s.program.scheduler.datedPeriods.empty());
}

TEST(Journal, RetentionCountsFromTheLastDayItWroteSoAClockFarAheadDeletesNothingMore) {
    Station s;
    std::filesystem::create_directory(s.folder.file("Journal"));
    for (const char* day : {"2019-05-01", "2019-06-01", "2020-06-21"}) {
        s.folder.write("Journal/" + std::string(day) + ".txt", "");
    }
    s.start({2038, 1, 19}, 10 * 3600);
    EXPECT_FALSE(s.folder.exists("Journal/2019-05-01.txt")); // gone at the right date too
    EXPECT_TRUE(s.folder.exists("Journal/2019-06-01.txt"));
    EXPECT_TRUE(s.folder.exists("Journal/2020-06-21.txt"));
}

#ifndef _WIN32
TEST(Journal, ALinkInPlaceOfTodaysFileOrOfTheFolderIsNeverFollowed) {
    const test::TempFolder elsewhere;
    elsewhere.write("target", "kept\n");
    elsewhere.write("2019-01-01.txt", "a user's own file\n");
    elsewhere.write("2020-06-21.txt", "");
    Station s;
    std::filesystem::create_directory(s.folder.file("Journal"));
    std::filesystem::create_symlink(elsewhere.file("target"),
                                    s.folder.file("Journal/2020-06-22.txt"));
    s.start({2020, 6, 22}, 10 * 3600);
    EXPECT_EQ(elsewhere.read("target"), "kept\n");
    EXPECT_TRUE(s.program.panel.InfoERR.starts_with("Journal impossible à écrire : "))
        << s.program.panel.InfoERR;

    Station linked;
    std::filesystem::create_directory_symlink(elsewhere.path(), linked.folder.file("Journal"));
    linked.start({2020, 6, 22}, 10 * 3600);
    EXPECT_TRUE(elsewhere.exists("2019-01-01.txt"));
}
#endif

} // namespace
} // namespace quorel
