#pragma once

#include "platform/line_parameters.h"
#include "platform/serial_error.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorel {

enum class DeviceWrite { Written, Busy, Failed };

// The operating system's side of one serial device, opened by its path, written one byte at a
// time and read for what it has already received. Nothing here waits: the serial link above
// decides how long a byte may take and what to do about a device that went away.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    // Opens the device at path for reading and writing, so that no other program can open it
    // meanwhile, and sets its line. LineNotApplied: the device is open but refused a line setting.
    // On any other failure it stays closed: DeviceMissing, DeviceBusy (held elsewhere or access
    // denied), NotSerialDevice (a plain file, a folder, a device that has no line) or OpenFailed.
    [[nodiscard]] virtual SerialError open(const std::string& path, const LineParameters& line) = 0;
    // Hands one byte to the driver without waiting: Busy when the device takes nothing now (a
    // module that stopped reading), Failed when the handle is dead.
    [[nodiscard]] virtual DeviceWrite write(uint8_t byte) = 0;
    // Whether bytes the driver took wait in its output queue; false when that cannot be known.
    [[nodiscard]] virtual bool outputPending() = 0;
    // Drops the bytes that wait in the driver's output queue.
    virtual void discardOutput() = 0;
    // Moves at most capacity of the bytes already received into `into`, without waiting; how many
    // (0 when none came, or the handle is dead).
    [[nodiscard]] virtual size_t read(uint8_t* into, size_t capacity) = 0;
    // Drops the bytes received and not read yet.
    virtual void discardInput() = 0;
    // Whether the device went away (unplugged) since it was opened, asked without waiting. The
    // bytes received stay to be read.
    [[nodiscard]] virtual bool hungUp() = 0;
    // Closes the device without waiting for bytes still queued, which are dropped. Closing a
    // closed device does nothing.
    virtual void close() = 0;
};

} // namespace quorel
