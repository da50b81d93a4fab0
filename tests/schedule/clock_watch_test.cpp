#include "schedule/clock_watch.h"
#include "tests/support/fakes.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using State = ClockSync::State;

// The clock label says how far the clock can be trusted, warns when it cannot, and the journal
// notes each change of state (at the first look, only a clock that is not synchronised).
TEST(ClockWatch, TheLabelSaysTheSynchronisationAndTheJournalItsChanges) {
    test::FakeClockSync source;
    SchedulerCaptions captions;
    test::RecordingView view;
    test::RecordingJournal journal;
    ClockWatch watch(source, captions, view, journal);
    const auto look = [&](ClockSync sync) {
        source.sync = sync;
        watch.check();
        return captions.LblHeureToolTip + (captions.clockWarning ? " [warning]" : "");
    };
    EXPECT_EQ(look({State::Synchronised, 0.0124, 0.2}),
              "Horloge synchronisée (erreur estimée ± 12 ms)");
    EXPECT_EQ(look({State::Synchronised, 0.0004, 1.5}),
              "Horloge synchronisée (erreur estimée ± 0 ms) [warning]");
    EXPECT_EQ(look({State::Unsynchronised, 0, 16}), "Horloge non synchronisée [warning]");
    EXPECT_EQ(look({State::Unsynchronised, 0, 16}), "Horloge non synchronisée [warning]");
    EXPECT_EQ(look({State::Unknown, 0, 0}), "Synchronisation inconnue");
    EXPECT_EQ(look({State::Synchronised, 0.003, 0.01}),
              "Horloge synchronisée (erreur estimée ± 3 ms)");
    EXPECT_EQ(journal.sentences,
              (std::vector<std::string>{"Horloge non synchronisée", "Synchronisation inconnue",
                                        "Horloge synchronisée"}));

    test::RecordingJournal fresh;
    ClockWatch unsynchronised(source, captions, view, fresh);
    source.sync = {State::Unsynchronised, 0, 16};
    unsynchronised.check();
    EXPECT_EQ(fresh.sentences, std::vector<std::string>{"Horloge non synchronisée"});
}

} // namespace
} // namespace quorel
