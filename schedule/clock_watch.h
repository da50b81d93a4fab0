#pragma once

#include "core/journal.h"
#include "core/view.h"
#include "platform/clock_sync.h"
#include "schedule/scheduler_state.h"

#include <optional>
#include <string>

namespace quorel {

// "Horloge synchronisée (erreur estimée ± 12 ms)", "Horloge non synchronisée" or
// "Synchronisation inconnue".
std::string clockSyncText(const ClockSync& sync);
// A clock that is not synchronised, or whose maximum error exceeds a second, is shown in the
// warning colours.
bool clockSyncWarns(const ClockSync& sync);

// Looks at the clock's synchronisation for the clock label (its tool tip and colour), and notes
// each change of state in the journal; a first look notes only a clock that is not synchronised.
class ClockWatch {
  public:
    ClockWatch(ClockSyncSource& source, SchedulerCaptions& captions, View& view, Journal& journal)
        : source_(source), captions_(captions), view_(view), journal_(journal) {}

    void check();

  private:
    ClockSyncSource& source_;
    SchedulerCaptions& captions_;
    View& view_;
    Journal& journal_;
    std::optional<ClockSync::State> noted_;
};

} // namespace quorel
