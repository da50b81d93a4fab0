#include "relay/module_queries.h"

#include "relay/relay_bytes.h"

#include <algorithm>

namespace quorel {

namespace {

size_t answerSize(ModuleQueries::Query query) {
    return query == ModuleQueries::Query::Version ? 2 : 1;
}

} // namespace

bool ModuleQueries::ask(Query query) {
    pending_.reset();
    link_.discardInput();
    const uint8_t byte = query == Query::Version ? kGetVersion : kGetRelayStates;
    if (link_.writeByte(byte, kQuestionDeadline) != SerialError::None) {
        return false;
    }
    pending_ = Pending{query, clock_.monotonicSeconds(), {}};
    return true;
}

std::optional<ModuleQueries::Outcome> ModuleQueries::look() {
    if (!pending_) {
        return std::nullopt;
    }
    const size_t expected = answerSize(pending_->query);
    // One byte more than the answer is enough to tell a flood from it.
    uint8_t bytes[4];
    const size_t wanted = expected + 1 - std::min(pending_->received.size(), expected + 1);
    const size_t count = link_.read(bytes, std::min(wanted, sizeof bytes));
    pending_->received.insert(pending_->received.end(), bytes, bytes + count);
    const size_t received = pending_->received.size();
    const bool late = clock_.monotonicSeconds() - pending_->askedAt >= kAnswerWait;
    if (received < expected && !late) {
        return std::nullopt;
    }
    Outcome outcome{pending_->query, std::nullopt};
    if (received == expected) {
        outcome.answer = pending_->received;
    } else if (received > expected) {
        link_.discardInput();
    }
    pending_.reset();
    return outcome;
}

} // namespace quorel
