#include "relay/module_probe.h"

#include "platform/line_parameters.h"
#include "relay/module_queries.h"
#include "relay/relay_bytes.h"

#include <vector>

namespace quorel {

namespace {

constexpr double kLookStepSeconds = 0.01;

} // namespace

ProbeOutcome probeModule(SerialDevice& device, const std::string& path, Clock& clock) {
    ProbeOutcome outcome;
    const SerialError error = device.open(path, *parseLineParameters(kLineParameters));
    if (error != SerialError::None && error != SerialError::LineNotApplied) {
        return outcome;
    }
    outcome.opened = true;
    device.discardInput();
    const double askedAt = clock.monotonicSeconds();
    const double deadline = askedAt + ModuleQueries::kAnswerWait;
    DeviceWrite written = device.write(kGetVersion);
    while (written == DeviceWrite::Busy &&
           clock.monotonicSeconds() < askedAt + ModuleQueries::kQuestionDeadline) {
        clock.pause(kLookStepSeconds);
        written = device.write(kGetVersion);
    }
    // One byte more than the answer tells a flood or an echo that follows it from the answer.
    std::vector<uint8_t> received;
    bool lookedAfterAnswer = false;
    while (written == DeviceWrite::Written && received.size() <= 2) {
        uint8_t bytes[3];
        const size_t count = device.read(bytes, 3 - received.size());
        received.insert(received.end(), bytes, bytes + count);
        if (received.size() == 2 && lookedAfterAnswer) {
            break;
        }
        if (clock.monotonicSeconds() >= deadline) {
            break;
        }
        lookedAfterAnswer = received.size() == 2;
        clock.pause(kLookStepSeconds);
    }
    if (received.size() == 2) {
        outcome.identifier = received[0];
        outcome.version = received[1];
    }
    device.close();
    return outcome;
}

} // namespace quorel
