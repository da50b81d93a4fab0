#pragma once

#include "platform/clock.h"
#include "platform/serial_link.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quorel {

// The module's two queries on their way: a query is written, and its answer is looked for at
// each later tick, never waited for. What came before the query is dropped first; at most a
// small buffer is read per look, so a device that floods the port cannot hold the program.
class ModuleQueries {
  public:
    enum class Query { Version, RelayStates };
    struct Outcome {
        Query query;
        // The answer's bytes; none when nothing well-formed came within kAnswerWait (nothing,
        // too few bytes, or more than the answer holds: an echo, garbage, a flood).
        std::optional<std::vector<uint8_t>> answer;
    };

    static constexpr double kAnswerWait = 0.3;
    // A question that cannot leave at once is given up (no answer), never waited for: the
    // relay bytes must not wait behind it.
    static constexpr double kQuestionDeadline = 0.05;

    ModuleQueries(SerialLink& link, Clock& clock) : link_(link), clock_(clock) {}

    // Writes the query; false when it could not be written (nothing is then awaited).
    bool ask(Query query);
    bool awaiting() const { return pending_.has_value(); }
    // Forgets an awaited answer (the port closed, or a new device was opened).
    void forget() { pending_.reset(); }
    // The outcome of the awaited query once its answer is complete or its time is over.
    std::optional<Outcome> look();

  private:
    struct Pending {
        Query query;
        double askedAt;
        std::vector<uint8_t> received;
    };

    SerialLink& link_;
    Clock& clock_;
    std::optional<Pending> pending_;
};

} // namespace quorel
