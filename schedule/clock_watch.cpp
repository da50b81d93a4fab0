#include "schedule/clock_watch.h"

#include <cmath>

namespace quorel {

namespace {

constexpr double kTrustedMaxErrorSeconds = 1.0;

const char* stateSentence(ClockSync::State state) {
    switch (state) {
    case ClockSync::State::Synchronised:
        return "Horloge synchronisée";
    case ClockSync::State::Unsynchronised:
        return "Horloge non synchronisée";
    case ClockSync::State::Unknown:
        break;
    }
    return "Synchronisation inconnue";
}

} // namespace

std::string clockSyncText(const ClockSync& sync) {
    std::string text = stateSentence(sync.state);
    if (sync.state == ClockSync::State::Synchronised) {
        const long milliseconds = std::lround(sync.estimatedErrorSeconds * 1000);
        text += " (erreur estimée ± " + std::to_string(milliseconds) + " ms)";
    }
    return text;
}

bool clockSyncWarns(const ClockSync& sync) {
    return sync.state == ClockSync::State::Unsynchronised ||
           (sync.state == ClockSync::State::Synchronised &&
            sync.maxErrorSeconds > kTrustedMaxErrorSeconds);
}

void ClockWatch::check() {
    const ClockSync sync = source_.read();
    const bool first = !noted_;
    if (noted_ != sync.state) {
        if (!first || sync.state == ClockSync::State::Unsynchronised) {
            journal_.note(stateSentence(sync.state));
        }
        noted_ = sync.state;
    }
    std::string tip = clockSyncText(sync);
    const bool warning = clockSyncWarns(sync);
    if (tip != captions_.LblHeureToolTip || warning != captions_.clockWarning) {
        captions_.LblHeureToolTip = std::move(tip);
        captions_.clockWarning = warning;
        view_.redraw(ViewPart::Clock);
    }
}

} // namespace quorel
