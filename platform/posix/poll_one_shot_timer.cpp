#include "platform/posix/poll_one_shot_timer.h"

namespace quorel {

PollOneShotTimer::PollOneShotTimer(PollEventLoop& loop)
    : loop_(loop), id_(loop.addTimer([this] { expire(); })) {}

PollOneShotTimer::~PollOneShotTimer() {
    loop_.removeTimer(id_);
}

} // namespace quorel
