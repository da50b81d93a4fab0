#include "platform/posix/poll_unix_signals.h"

#include <cstdint>
#include <utility>

namespace quorel {

PollUnixSignals::PollUnixSignals(PollEventLoop& loop, std::function<void()> onTermination)
    : loop_(loop), onTermination_(std::move(onTermination)) {
    if (pipe_.readEnd() < 0) {
        return;
    }
    loop_.watchReadable(pipe_.readEnd(), [this] {
        if (pipe_.take(SIZE_MAX) > 0 && onTermination_) {
            onTermination_();
        }
    });
}

PollUnixSignals::~PollUnixSignals() {
    if (pipe_.readEnd() >= 0) {
        loop_.unwatch(pipe_.readEnd());
    }
}

} // namespace quorel
