#pragma once

#include "platform/clock.h"
#include "platform/serial_device.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorel {

// What a device said when asked who it is.
struct ProbeOutcome {
    bool opened = false; // false: missing, held by another program, or no serial device
    // The module's identifier and firmware version; none when nothing well-formed came back.
    std::optional<uint8_t> identifier;
    uint8_t version = 0;
};

// Opens the device at path with the module's line, asks it for its version (0x5A), waits at most
// ModuleQueries::kAnswerWait for the two bytes of the answer, and closes it. The waits go through
// clock.pause(), whose events keep the window and the scheduler running meanwhile.
ProbeOutcome probeModule(SerialDevice& device, const std::string& path, Clock& clock);

} // namespace quorel
