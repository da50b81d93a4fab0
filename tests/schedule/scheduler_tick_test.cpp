#include "relay/outputs.h"
#include "schedule/scheduler_tick.h"
#include "schedule/signals.h"
#include "schedule/today_reload.h"
#include "schedule/weekday.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/recording_serial_link.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using Bytes = std::vector<uint8_t>;
using Flags = std::array<int16_t, 5>;

// The tick driving the real SetOutputs over a recording link, on Monday 22 June 2020.
struct TickTest : ::testing::Test {
    TickTest() {
        EXPECT_EQ(link.open(), SerialError::None);
        timer.setEnabled(true);
        relays.portOpened();
        relays.keepInStep(); // the relays set off as the port opens
        link.sent.clear();
    }
    // Loads Monday's table at h:m:s, as the tick does at second 00.
    void at(int h, int m, double s) {
        clock.setTime(h, m, s);
        LoadTodayTable(state.today, paths.DayFilePrefix, 0);
    }
    void run(double seconds = 0) {
        clock.advance(seconds);
        tick.TimerSat_Timer();
    }

    test::TempFolder folder;
    ProgramPaths paths = ProgramPaths::inFolder(folder.path());
    test::FakeClock clock;
    test::RecordingSerialLink link{&clock};
    test::FakeEventPump pump;
    test::FakeTimer timer;
    test::RecordingView view;
    SchedulerState state;
    SchedulerCaptions captions;
    RelayPanel panel;
    test::RecordingJournal journal;
    test::HookedFiles files;
    RelayLink relays{link, clock, state, panel, view, journal};
    Outputs outputs{state, panel, relays, pump, clock, timer, view};
    SchedulerTick tick{state, captions, clock, pump, view, paths, outputs, journal, files};
};

TEST_F(TickTest, EveryEntryDueSwitchesOnAtEachTickOfItsSecondAndOffAfterItsDuration) {
    folder.write("Quorel.0", "1,07:45:00,5\n");
    at(7, 44, 59.9);
    pump.onYield = [this](int yield) { // a tick raised inside a tick is skipped
        if (yield < 20) { // bounded, so that a missing guard fails instead of recursing
            tick.TimerSat_Timer();
        }
    };
    run();
    EXPECT_EQ(state.ScanSlot, 601);
    EXPECT_EQ(clock.clockTextReads(), 601); // the clock label, then once per slot
    run(0.2);
    EXPECT_EQ(captions.LblHeure, "07:45:00");
    EXPECT_EQ(state.ScanSlot, 1);
    EXPECT_EQ(captions.LblMaxi[0], "5");
    EXPECT_EQ(captions.LblTemp[0], "--:--");
    run(); // 07:45:00.4 after the relay pauses: on again, the duration counts from here
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x65, 0x70}));
    EXPECT_FLOAT_EQ(state.OutputStartTime[1], 7 * 3600 + 45 * 60 + 0.4f);
    run(4.5);
    EXPECT_EQ(captions.LblTemp[0], "00:04");
    run(5 - (clock.monotonicSeconds() - *state.outputStartMonotonic[1])); // exactly 5 s
    EXPECT_EQ(state.OutputState[1], kOff);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x65, 0x70, 0x6F, 0x70}));
    EXPECT_EQ(pump.yields, 11); // two per relay command and one at the end of each tick

    // Every entry due in the second rings, and the first per output gives the duration.
    link.sent.clear();
    folder.write("Quorel.0",
                 "2,08:00:01,3\n1,08:00:01,9\n2,08:00:01,4\n2,08:00:01,6\n4,08:00:01,2\n");
    at(8, 0, 1);
    state.today.TodayOutput[1] = 7; // refused by the loader; passed over, the scan goes on
    run();
    EXPECT_EQ(state.ScanSlot, 2);
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, kOn}));
    EXPECT_EQ(captions.LblMaxi, (std::array<std::string, 4>{"9", "4", "0", "2"}));
    // Once, for the combined state; outputs 3 and 4 have no relay.
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x66}));
    run(2);
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, kOff}));
}

// On a board with four relays, output 3 is noted on only once its relay took the byte, and a
// switch-on is repeated within its second only if its longer switch (0.6 s) is over before the
// next second's entry.
TEST_F(TickTest, ABoardWithFourRelaysNotesOutput3OnceWrittenAndRepeatsOnlyWhereItFits) {
    link.module = SimulatedModule(0, false, 4);
    relays.portOpened();
    relays.keepInStep();
    folder.write("Quorel.0", "3,08:00:00,1\n3,08:00:05,1\n4,08:00:06,1\n");
    at(7, 59, 59.9);
    run();
    const auto notedOn = [this](const std::string& time) {
        return std::count(journal.sentences.begin(), journal.sentences.end(),
                          "Sortie 3 activée (entrée " + time + ", 1 s)");
    };
    link.onWrite = [this](uint8_t byte) { // the module goes away after relay 2's byte
        link.writeError = byte == kRelay2Off ? SerialError::WriteFailed : link.writeError;
    };
    run(0.1);
    EXPECT_EQ(notedOn("08:00:00"), 0);
    link.onWrite = nullptr;
    link.writeError = SerialError::None;
    run(8 * 3600 + 5 - clock.secondsSinceMidnight());
    EXPECT_EQ(notedOn("08:00:05"), 1);
    const size_t sent = link.bytes().size();
    const double nextSecond = clock.monotonicSeconds() - 0.6 + 1;
    run(); // 08:00:05.6, right after the switch: too late for a repeat
    EXPECT_EQ(link.bytes().size(), sent);
    run(0.2);
    run(0.2);
    const auto firstOfNextSecond =
        std::find_if(link.sent.begin(), link.sent.end(),
                     [&](const test::SentByte& sent) { return sent.at >= nextSecond - 1e-6; });
    ASSERT_NE(firstOfNextSecond, link.sent.end());
    EXPECT_LE(firstOfNextSecond->at - nextSecond, 0.05);
}

// A signal runs its pattern from the next tick, holds the entries of its outputs, lets the others
// ring, and ends with its pattern; suspended bells hold every entry.
TEST_F(TickTest, ASignalRunsItsPatternHoldsItsOutputsEntriesAndEnds) {
    folder.write("Quorel.0", "1,10:00:01,5\n2,10:00:01,5\n1,10:00:06,5\n");
    at(10, 0, 0);
    run();
    const Signal alert{.name = "Alerte", .outputs = {1}, .tenths = {10, 5}, .repetitions = 2};
    tick.startSignal(alert, "la fenêtre");
    EXPECT_EQ(state.OutputState[1], kOff); // from the next tick
    EXPECT_EQ(captions.LblProchaine.text, "Signal « Alerte » en cours");
    EXPECT_TRUE(captions.LblProchaine.warning);
    std::vector<std::pair<double, int16_t>> seen; // time since the start, output 1
    const double start = clock.monotonicSeconds() + 0.2;
    while (clock.monotonicSeconds() < start + 4) {
        run(0.2);
        seen.emplace_back(clock.monotonicSeconds() - start, state.OutputState[1]);
    }
    // On for 1 s, off for 0.5 s, twice, each switch within a tick (0.2 s plus relay pauses).
    for (const auto& [at, flag] : seen) {
        const bool on = (at >= 0.5 && at < 0.95) || (at >= 1.9 && at < 2.45);
        const bool off = (at >= 1.3 && at < 1.45) || at >= 3.5;
        EXPECT_TRUE(!on || flag == kOn) << at;
        EXPECT_TRUE(!off || flag == kOff) << at;
    }
    EXPECT_EQ(state.OutputState[2], kOn); // its entry rings beside the signal
    EXPECT_FALSE(state.signal);
    const std::vector<std::string> expected{
        "Signal « Alerte » déclenché (S1) par la fenêtre",
        "Entrée 10:00:01 (S1, 5 s) non sonnée : signal « Alerte » en cours",
        "Sortie 2 activée (entrée 10:00:01, 5 s)", "Signal « Alerte » terminé"};
    for (const std::string& line : expected) {
        EXPECT_NE(std::find(journal.sentences.begin(), journal.sentences.end(), line),
                  journal.sentences.end())
            << line;
    }
    while (clock.secondsSinceMidnight() < 10 * 3600 + 6.5) {
        run(0.2);
    }
    EXPECT_EQ(state.OutputState[1], kOn); // the entry after the signal rings

    // Until stopped, across midnight; stopped at once, its outputs off.
    clock.setTime(23, 59, 59);
    tick.startSignal({.name = "Sirène", .outputs = {1, 2}, .tenths = {1}, .repetitions = 0},
                     "la ligne de commande");
    run(0.2);
    run(1.2);
    EXPECT_EQ(captions.LblHeure.substr(0, 5), "00:00");
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
    link.sent.clear();
    EXPECT_TRUE(tick.stopSignal("la fenêtre"));
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x70}));
    EXPECT_FALSE(tick.stopSignal("la fenêtre"));
    EXPECT_EQ(journal.sentences.back(), "Signal « Sirène » arrêté par la fenêtre");

    folder.write("Quorel.1", "1,08:00:00,5\n");
    tick.setSuspended(true, "la fenêtre");
    EXPECT_EQ(captions.LblProchaine.text, "Sonneries suspendues");
    clock.setTime(8, 0, 0);
    run();
    run(0.2);
    EXPECT_EQ(state.OutputState[1], kOff);
    EXPECT_EQ(journal.sentences.back(),
              "Entrée 08:00:00 (S1, 5 s) non sonnée : sonneries suspendues");
}

TEST(Signals, RecordsAreCheckedAndPatternsTimed) {
    const std::vector<SignalRecord> records = readSignalRecords(
        "\"Alerte intrusion\",\"1+2\",\"1,1\",\"0\"\r\n\"Sonnerie 5 s\",\"1\",\"5\",\"1\"\r\n"
        "\"Mauvais\",\"5\",\"1\",\"1\"\r\n\"Court\",\"1\",\"0.05\",\"1\"\r\n"
        "\"Répété\",\"2+1+2\",\"0.5,1.5\",\"3\"\r\n");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(signalsBytes(records), signalsBytes(readSignalRecords(signalsBytes(records))));
    const std::optional<Signal> alert = signalOf(records[0]);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->outputs, (std::vector<int>{1, 2}));
    EXPECT_EQ(alert->tenths, (std::vector<int>{10, 10}));
    EXPECT_TRUE(alert->onAt(0) && !alert->onAt(1.0) && alert->onAt(2.05) && !alert->overAt(1e6));
    std::string fault;
    EXPECT_FALSE(signalOf(records[2], &fault));
    EXPECT_EQ(fault, "sorties invalides « 5 » (1 à 4, par exemple 1+2)");
    EXPECT_FALSE(signalOf(records[3], &fault));
    EXPECT_TRUE(fault.starts_with("durées invalides")) << fault;
    const std::optional<Signal> repeated = signalOf(records[4]);
    ASSERT_TRUE(repeated);
    EXPECT_EQ(outputsText(repeated->outputs), "1+2");
    EXPECT_TRUE(repeated->onAt(2.1) && !repeated->onAt(2.5) && !repeated->overAt(5.9));
    EXPECT_TRUE(repeated->overAt(6.0) && !repeated->onAt(6.1));

    test::TempFolder folder;
    folder.write("Quorel.signaux", signalsBytes(records));
    const SignalsRead read = loadSignals(folder.file("Quorel.signaux"));
    EXPECT_EQ(read.runnable.size(), 3u);
    EXPECT_EQ(read.skipped, (std::vector<std::string>{
                                "Signal « Mauvais » ignoré : sorties invalides « 5 » (1 à 4, "
                                "par exemple 1+2)",
                                "Signal « Court » ignoré : durées invalides « 0.05 » (secondes, "
                                "une décimale au plus, de 0.1 à 3600)"}));
    EXPECT_TRUE(loadSignals(folder.file("absent")).runnable.empty());
}

TEST_F(TickTest, TodaysFileIsReadAgainAtSecondZeroOnlyWhenItOrTheDayChanged) {
    folder.write("Quorel.0", "1,08:00:30,5\n");
    clock.setTime(8, 0, 0);
    run();
    EXPECT_EQ(state.today.TodayTime[1], "08:00:30");
    state.today.TodayTime[1] = "kept"; // so that a needless reload shows
    run();
    clock.setTime(8, 1, 0);
    run();
    EXPECT_EQ(state.today.TodayTime[1], "kept");
    folder.write("Quorel.0", "1,08:02:30,15\n"); // saved again
    run(1);
    EXPECT_EQ(state.today.TodayTime[1], "kept"); // not before the next second 00
    clock.setTime(8, 2, 0);
    run();
    EXPECT_EQ(state.today.TodayTime[1], "08:02:30");
    state.today.TodayTime[1] = "kept";
    clock.set(LocalDate{2020, 6, 29}, 8 * 3600 + 3 * 60); // a week later, the same file
    run();
    EXPECT_EQ(state.today.TodayTime[1], "kept");
    clock.set(LocalDate{2020, 6, 30}, 8 * 3600 + 3 * 60); // Tuesday: no file
    run();
    EXPECT_EQ(state.today.TodayTime[1], "");
}

// On a date of a dated period its timetable rings, not the weekday's; the label and the journal
// name it; a change of the periods or of the names counts from the next second 00, and midnight
// enters the next day's timetable by the same rule.
TEST_F(TickTest, ADatedPeriodRingsItsTimetableInsteadOfTheWeekdaysFromTheFilesAndAtMidnight) {
    folder.write("Quorel.0", "1,08:00:10,5\n"); // Monday's
    folder.write("Quorel.4", "2,08:02:10,5\n"); // Friday's
    folder.write("Quorel.7", "1,08:00:20,5\n1,23:59:59,2\n");
    folder.write("Quorel.noms", "\"7\",\"Examens\"\r\n\"8\",\"Sans fichier\"\r\n");
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-23\",\"7\"\r\n");
    clock.setTime(8, 0, 0);
    loadDay(state, files, paths, clock.localDate(), journal);
    tick.showNextBell();
    EXPECT_EQ(journal.sentences.back(),
              "Horaire du jour chargé : 2 entrées (horaire particulier « Examens »)");
    EXPECT_EQ(captions.LblProchaine.text, "Horaire particulier « Examens »\n08:00:20 - S1 - 5 s");
    EXPECT_EQ(captions.LblProchaine.toolTip,
              "Horaire particulier « Examens » du 22/06/2020 au 23/06/2020\n"
              "Prochaine sonnerie : 08:00:20 - S1 - 5 s");
    run(10);
    EXPECT_EQ(link.bytes(), Bytes{}); // Monday's entry does not ring
    run(10);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70}));
    // A later period naming Friday's timetable wins from the next second 00.
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-23\",\"7\"\r\n"
                                    "\"2020-06-22\",\"2020-06-22\",\"4\"\r\n");
    run(39.5);
    EXPECT_EQ(captions.LblProchaine.text, "Horaire particulier « Examens »\n23:59:59 - S1 - 2 s");
    clock.setTime(8, 1, 0);
    run();
    EXPECT_EQ(captions.LblProchaine.text, "Horaire particulier « Vendredi »\n08:02:10 - S2 - 5 s");
    EXPECT_EQ(journal.sentences.back(),
              "Horaire du jour chargé : 1 entrée (horaire particulier « Vendredi »)");
    // A period naming the weekday's own timetable is no other timetable.
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-23\",\"0\"\r\n");
    clock.setTime(8, 2, 0);
    run();
    EXPECT_EQ(captions.LblProchaine.text, "Prochaine sonnerie\naucune aujourd'hui");
    EXPECT_EQ(journal.sentences.back(), "Horaire du jour chargé : 1 entrée");
    // A special timetable without a day file rings nothing; one without a name does not ring.
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-22\",\"8\"\r\n"
                                    "\"2020-06-22\",\"2020-06-23\",\"9\"\r\n"
                                    "\"2020-06-23\",\"2020-06-23\",\"7\"\r\n");
    clock.setTime(8, 3, 0);
    run();
    EXPECT_EQ(captions.LblProchaine.text,
              "Horaire particulier « Sans fichier »\naucune aujourd'hui");
    EXPECT_EQ(journal.sentences.back(),
              "Horaire du jour chargé : 0 entrée (horaire particulier « Sans fichier »)");
    // Tuesday rings the special timetable from midnight, read ahead in the last minute.
    clock.setTime(23, 59, 0);
    run();
    clock.setTime(23, 59, 59.9);
    run();
    run(0.2);
    EXPECT_EQ(captions.LblHeure, "00:00:00");
    EXPECT_EQ(journal.sentences.back(),
              "Horaire du jour chargé : 2 entrées (horaire particulier « Examens »)");
    EXPECT_EQ(state.today.TodayTime[1], "08:00:20");
    EXPECT_EQ(captions.LblProchaine.text, "Horaire particulier « Examens »\n08:00:20 - S1 - 5 s");
}

// A clock set back rings no entry twice; a clock set forward, or a sleep, is noted with its size
// and the entries it went over as missed, none rung late; the next bell's tool tip counts them.
TEST_F(TickTest, AClockJumpIsNotedItsGapMissedAndNoEntryRingsTwiceADay) {
    folder.write("Quorel.0", "1,08:00:00,5\n2,08:10:00,5\n1,08:20:00,5\n1,09:00:00,5\n");
    at(7, 59, 59.9);
    run();
    run(0.2); // 08:00:00.1, and 0.3 s of relay pauses
    ASSERT_EQ(link.bytes(), (Bytes{0x65, 0x70}));
    clock.setTime(7, 59, 50); // set back: 08:00:00 comes again
    run();
    EXPECT_EQ(journal.sentences.back(), "Horloge retardée de 10 s");
    run(10);
    run(0.2);
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x6F, 0x70})); // not again; the bell ended
    run(0.2);                                                 // 08:00:00.7, no relay pause
    clock.setTime(8, 15, 0.7);                                // set forward
    run();
    const auto last = [this](size_t count) {
        return std::vector<std::string>(journal.sentences.end() - static_cast<long>(count),
                                        journal.sentences.end());
    };
    EXPECT_EQ(last(2),
              (std::vector<std::string>{"Horloge avancée de 15 min 0 s",
                                        "Entrée 08:10:00 (S2, 5 s) manquée : horloge avancée"}));
    EXPECT_EQ(captions.LblProchaine.toolTip,
              "Prochaine sonnerie\n08:20:00 - S1 - 5 s\n1 sonnerie manquée aujourd'hui (voir le "
              "journal)");
    clock.sleep(50 * 60); // asleep until 09:05
    run();
    EXPECT_EQ(last(3), (std::vector<std::string>{
                           "Horloge avancée de 50 min 0 s",
                           "Entrée 08:20:00 (S1, 5 s) manquée : ordinateur en veille",
                           "Entrée 09:00:00 (S1, 5 s) manquée : ordinateur en veille"}));
    EXPECT_TRUE(captions.LblProchaine.toolTip.ends_with(
        "\n3 sonneries manquées aujourd'hui (voir le journal)"));
    EXPECT_EQ(link.bytes().size(), 4u); // none rung late
    clock.set({2020, 6, 29}, 7 * 3600); // the next week: counted afresh
    run();
    tick.showNextBell();
    EXPECT_TRUE(captions.LblProchaine.toolTip.empty()) << captions.LblProchaine.toolTip;
    // On a day without bells an entry jumped over is not missed.
    state.closedToday = ClosedPeriod{{2020, 6, 29}, {2020, 6, 29}, "Grève"};
    clock.setTime(8, 5, 0);
    run();
    EXPECT_EQ(journal.sentences.back(), "Horloge avancée de 1 h 5 min");
}

TEST_F(TickTest, TheEntriesOfASecondRingFromMemoryBeforeAnyFileIsReadEvenASlowOneOrAtMidnight) {
    folder.write("Quorel.0", "1,08:00:00,5\n");
    folder.write("Quorel.1", "2,00:00:00,5\n"); // Tuesday's
    clock.setTime(7, 59, 59.9);
    run();
    folder.write("Quorel.0", "1,08:00:00,5\n2,08:00:30,5\n"); // saved just before the minute
    std::vector<std::pair<std::string, size_t>> reads; // a file read, and the bytes sent by then
    files.onCall = [&](const std::string& operation, const std::string& path) {
        if (operation == "read") {
            reads.emplace_back(path.substr(path.size() - 8), link.bytes().size());
            clock.advance(2); // a slow disk
        }
        return std::string();
    };
    run(0.2);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0], (std::pair<std::string, size_t>{"Quorel.0", 2}));
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70}));
    EXPECT_EQ(state.today.TodayTime[2], "08:00:30"); // in force from the next tick
    EXPECT_TRUE(journal.sentences.back().starts_with("Horaire du jour chargé"));

    // Tomorrow's file is read in the day's last minute; midnight reads nothing before it rings.
    run(5);
    clock.setTime(23, 58, 59.9);
    run();
    reads.clear();
    run(0.2);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].first, "Quorel.1");
    reads.clear();
    link.sent.clear();
    clock.setTime(23, 59, 59.9);
    run(0.2);
    EXPECT_EQ(captions.LblHeure, "00:00:00");
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x66}));
    EXPECT_TRUE(reads.empty());
    EXPECT_EQ(state.today.TodayOutput[1], 2);
}

TEST_F(TickTest, ASecondThatNoTickLookedAtIsCaughtUpWithinTwoSecondsAndOtherwiseNoted) {
    folder.write("Quorel.0", "1,08:00:01,5\n2,08:00:02,3\n1,08:00:10,5\n2,08:00:10,5\n");
    clock.setTime(8, 0, 0.9);
    run();
    run(2.2); // 08:00:03.1: held up over seconds 01 and 02
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x66}));
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{"Module USB-RLY02, version 1",
                                        "Horaire du jour chargé : 4 entrées",
                                        "Sortie 1 activée (entrée 08:00:01, 5 s)",
                                        "Sortie 2 activée (entrée 08:00:02, 3 s)"}));
    EXPECT_EQ(captions.LblMaxi[1], "3");
    journal.sentences.clear();
    run(10); // 08:00:13.x: second 10 is three seconds gone
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{"Sortie 1 désactivée", "Sortie 2 désactivée",
                                        "Entrée 08:00:10 (S1, 5 s) non sonnée : Quorel occupé",
                                        "Entrée 08:00:10 (S2, 5 s) non sonnée : Quorel occupé"}));
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOff, 0, 0}));

    // A clock set forward rings nothing late for the seconds it jumped over; the entries listed
    // as not rung already are not listed again.
    journal.sentences.clear();
    clock.setTime(8, 0, 9.5);
    run();
    clock.setTime(8, 0, 20.1);
    run();
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{"Horloge retardée de 4 s", "Horloge avancée de 11 s"}));
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOff, 0, 0}));
}

// The files read ahead for the next day are looked at again at each tick of the last minute: a
// period shortened at 23:59:59 counts at midnight, and the journal names what the day rings.
TEST_F(TickTest, APeriodChangedInTheDaysLastSecondsCountsAtMidnight) {
    folder.write("Quorel.1", "2,00:00:00,5\n"); // Tuesday's own
    folder.write("Quorel.7", "1,00:00:00,5\n");
    folder.write("Quorel.noms", "\"7\",\"Examens\"\r\n");
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-23\",\"7\"\r\n");
    clock.setTime(23, 59, 0);
    run(); // Tuesday read ahead: the special timetable
    clock.setTime(23, 59, 59.5);
    run();
    folder.write("Quorel.horaires", "\"2020-06-22\",\"2020-06-22\",\"7\"\r\n");
    run(0.2);
    link.sent.clear();
    run(0.4);
    EXPECT_EQ(captions.LblHeure, "00:00:00");
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x66}));
    EXPECT_EQ(std::vector<std::string>(journal.sentences.end() - 2, journal.sentences.end()),
              (std::vector<std::string>{"Horaire du jour chargé : 1 entrée",
                                        "Sortie 2 activée (entrée 00:00:00, 5 s)"}));
}

// Summer time moves the local time without the clock being set: it is journaled as such, the
// hour it leaves out in March rings nothing late, and the hour that comes twice in October rings
// once.
TEST_F(TickTest, SummerTimeIsNoClockJumpItsMissingHourRingsNothingAndItsRepeatedHourRingsOnce) {
    folder.write("Quorel.6", "1,02:30:00,5\n2,03:00:00,5\n");
    clock.set({2020, 3, 29}, 2 * 3600 - 0.3); // Sunday, 01:59:59.7
    clock.changeUtcOffset(3600);
    clock.advance(-3600); // still 01:59:59.7, now an hour ahead of UTC
    run();
    journal.sentences.clear();
    clock.advance(0.2);
    clock.changeUtcOffset(3600); // 02:00:00 is 03:00:00
    run(0.2);
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{
                  "Passage à l'heure d'été (+1 h)",
                  "Entrée 02:30:00 (S1, 5 s) non sonnée : heure inexistante (passage à l'heure "
                  "d'été)",
                  "Sortie 2 activée (entrée 03:00:00, 5 s)"}));
    EXPECT_EQ(link.bytes(), (Bytes{0x6F, 0x66})); // only 03:00:00, on time
    tick.showNextBell();
    EXPECT_EQ(captions.LblProchaine.toolTip.find("manqu"), std::string::npos);

    folder.write("Quorel.6", "1,02:30:00,1\n1,02:45:00,1\n");
    clock.set({2020, 10, 25}, 2.5 * 3600 - 0.1); // Sunday, 02:29:59.9, summer time
    run();
    run(0.2);
    run(0.2);
    link.sent.clear();
    journal.sentences.clear();
    clock.advance(29 * 60 + 59.5); // 02:59:59.9, an unnoticed gap without entries
    run();
    clock.advance(0.2);
    clock.changeUtcOffset(-3600); // 03:00:00.1 is 02:00:00.1 again
    run();
    EXPECT_EQ(std::vector<std::string>(journal.sentences.end() - 2, journal.sentences.end()),
              (std::vector<std::string>{"Entrée 02:45:00 (S1, 1 s) non sonnée : Quorel occupé",
                                        "Passage à l'heure d'hiver (−1 h)"}));
    journal.sentences.clear();
    clock.advance(30 * 60 - 1.1); // 02:29:59.0 of the second pass
    run();
    link.sent.clear();
    for (int i = 0; i < 15; ++i) {
        run(0.2);
    }
    EXPECT_TRUE(link.bytes().empty()); // 02:30:00 rang in the first pass
    EXPECT_TRUE(journal.sentences.empty()) << journal.sentences.front();
}

// An entry rings once on its date, also when the clock is set back over midnight, and the
// change of day does not ring the day before's last second again; an entry that rang, or was
// listed, is never listed as missed (again), and the tool tip counts each once.
TEST_F(TickTest, NoEntryRingsTwiceOrIsListedTwiceAcrossMidnightAndBackAndForth) {
    folder.write("Quorel.0", "1,23:59:59,1\n");
    folder.write("Quorel.1", "2,00:00:01,1\n1,00:30:00,1\n2,01:00:00,1\n");
    at(23, 59, 58.1);
    for (int i = 0; i < 15; ++i) { // to 00:00:01.1, a tick every 0.2 s
        run(0.2);
    }
    EXPECT_EQ(link.bytes(), (Bytes{0x65, 0x70, 0x6F, 0x70, 0x6F, 0x66}));
    EXPECT_EQ(std::count(journal.sentences.begin(), journal.sentences.end(),
                         "Sortie 1 activée (entrée 23:59:59, 1 s)"),
              1);
    run(2);
    link.sent.clear();
    clock.set({2020, 6, 22}, 86400 - 5); // set back 8 s, to Monday 23:59:55
    for (int i = 0; i < 40; ++i) {
        run(0.2);
    }
    EXPECT_EQ(link.bytes(), Bytes{}) << "rang again";

    // Set back an hour and right again: what rang is not missed; what was missed is listed once.
    clock.setTime(0, 50, 0);
    run();
    tick.noteMissedEntries(0, 60 * 45, "Quorel n'était pas lancé"); // 00:30:00 listed
    journal.sentences.clear();
    clock.setTime(1, 0, 0);
    run();
    clock.setTime(0, 10, 0); // set back
    run();
    clock.setTime(1, 10, 0); // and right again
    run();
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{
                  "Horloge avancée de 10 min 0 s", "Sortie 2 activée (entrée 01:00:00, 1 s)",
                  "Horloge retardée de 50 min 0 s", "Horloge avancée de 1 h 0 min"}));
    EXPECT_TRUE(captions.LblProchaine.toolTip.ends_with(
        "\n1 sonnerie manquée aujourd'hui (voir le journal)"))
        << captions.LblProchaine.toolTip;
}

// A repeat of a switch-on late in its second would hold the next second's first tick: the first
// byte of an entry of the next second leaves on time.
TEST_F(TickTest, ARepeatLateInItsSecondNeverDelaysTheNextSecondsEntry) {
    folder.write("Quorel.0", "1,08:00:00,1\n2,08:00:01,1\n");
    at(8, 0, 0);
    const double nextSecond = clock.monotonicSeconds() + 1;
    for (int i = 0; i < 6; ++i) { // a tick 0.2 s after the end of the one before
        run(i == 0 ? 0 : 0.2);
    }
    const auto firstOfNextSecond =
        std::find_if(link.sent.begin(), link.sent.end(),
                     [&](const test::SentByte& sent) { return sent.at >= nextSecond - 1e-6; });
    ASSERT_NE(firstOfNextSecond, link.sent.end());
    EXPECT_EQ(firstOfNextSecond->byte, 0x65);
    EXPECT_LE(firstOfNextSecond->at - nextSecond, 0.05);
}

TEST_F(TickTest, AnOutputOnAtMidnightIsTimedAcrossTheDayChange) {
    folder.write("Quorel.0", "1,23:59:58,5\n");
    folder.write("Quorel.1", "2,00:00:00,60\n"); // Tuesday's
    at(23, 59, 58);
    run();
    run(1.8);
    EXPECT_EQ(state.OutputState, (Flags{0, kOn, kOn, 0, 0}));
    EXPECT_EQ(captions.LblTemp[0], "00:02");
    run(2.7);
    EXPECT_EQ(captions.LblHeure, "00:00:03");
    EXPECT_EQ(captions.LblTemp[0], "00:05");
    EXPECT_EQ(state.OutputState, (Flags{0, kOff, kOn, 0, 0}));
}

TEST_F(TickTest, OutputSwitchedOnByHandIsTimedFromItsLastScheduledStart) {
    at(10, 0, 0.5);
    outputs.SetOutputs(kOn, 0, 0, 0); // never scheduled: off at the next tick
    run();
    EXPECT_EQ(state.OutputState[1], kOff);

    folder.write("Quorel.0", "2,10:00:02,10\n");
    at(10, 0, 2);
    run();
    outputs.SetOutputs(0, 0, 0, 0);
    clock.advance(3.5);
    outputs.SetOutputs(0, kOn, 0, 0);
    run(); // 4.4 s after the scheduled start
    EXPECT_EQ(captions.LblTemp[1], "00:04");
    run(5.4);
    EXPECT_EQ(state.OutputState[2], kOn);
    run(0.3);
    EXPECT_EQ(state.OutputState[2], kOff);
}

TEST_F(TickTest, ADayWithoutBellsStartsNoEntryButSwitchesOffWhatIsOn) {
    folder.write("Quorel.0", "1,23:59:58,5\n"); // Monday 22 June 2020
    folder.write("Quorel.1", "2,08:00:00,5\n"); // Tuesday, a strike
    folder.write("Quorel.2", "2,08:00:30,5\n"); // Wednesday
    folder.write("Quorel.conges", "\"2020-06-23\",\"2020-06-23\",\"Gr\xE8ve\"\r\n"); // Windows-1252
    at(23, 59, 58);
    run();
    EXPECT_EQ(state.OutputState[1], kOn);
    run(2); // midnight: the list judges the new day
    EXPECT_EQ(captions.LblProchaine.text, "Jour sans sonnerie\nGrève");
    EXPECT_TRUE(captions.LblProchaine.warning);
    run(3.2);
    EXPECT_EQ(state.OutputState[1], kOff); // the evening's bell still ends
    link.sent.clear();
    clock.setTime(8, 0, 0);
    run();
    EXPECT_EQ(state.ScanSlot, 601);
    EXPECT_TRUE(link.bytes().empty());

    clock.set({2020, 6, 24}, 8 * 3600);
    run();
    EXPECT_EQ(captions.LblProchaine.text, "Prochaine sonnerie\n08:00:30 - S2 - 5 s");
    run(30);
    EXPECT_EQ(state.OutputState[2], kOn);
    // A closure saved meanwhile counts from the next second 00.
    folder.write("Quorel.conges", "\"2020-06-24\",\"2020-06-26\",\"Travaux\"\r\n");
    run(29.5);
    EXPECT_FALSE(captions.LblProchaine.warning);
    run(0.2);
    EXPECT_EQ(captions.LblProchaine.text, "Jour sans sonnerie\nTravaux");
}

TEST_F(TickTest, TheNextBellIsTheEarliestEntryStillToComeAndMovesOnAsTimePasses) {
    folder.write("Quorel.0", "5,09:00:30,5\n2,10:15:00,7\n1,10:15:00,5\n1,09:00:00,4\n");
    clock.setTime(9, 0, 0);
    run(); // 09:00:00 fires; the entry of an output that does not exist never does
    EXPECT_EQ(captions.LblProchaine,
              (NextBellSign{"Prochaine sonnerie\n10:15:00 - S2 - 7 s", false, "10:15:00", {}}));
    view.parts.clear();
    run(1);
    EXPECT_FALSE(view.saw(ViewPart::NextBell)); // nothing fired: nothing to work out again
    clock.setTime(10, 16, 5); // the port was closed at 10:15: the sign does not stay behind
    run();
    EXPECT_EQ(captions.LblProchaine.text, "Prochaine sonnerie\naucune aujourd'hui");
}

// The day files are numbered by an old calendar formula that drifts before March 1900 and after
// February 2100; the weekday must stay true on both sides.
TEST(CurrentWeekday, IsTheTrueWeekdayOfEveryDate) {
    using namespace std::chrono;
    for (sys_days day = year(1899) / 1 / 1; day <= sys_days(year(2101) / 1 / 1); day += days(1)) {
        const year_month_day ymd(day);
        const LocalDate date{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
        ASSERT_EQ(CurrentWeekday(date), weekday(day).iso_encoding())
            << date.year << "-" << date.month << "-" << date.day;
    }
    EXPECT_EQ(CurrentWeekday(LocalDate{2400, 2, 29}), 2); // a Tuesday
}

} // namespace
} // namespace quorel
