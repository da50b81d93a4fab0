#pragma once

#include "platform/serial_error.h"

#include <cstdint>
#include <string>

namespace quorel {

// The operating system's side of a serial device that the Qt serial link holds open: what Qt's
// serial port does not offer (a write that never queues a stale byte, the driver's output queue,
// a hang-up). A device handle is the system's own (a descriptor on POSIX systems, a HANDLE on
// Windows), as QSerialPort::handle() gives it.
using DeviceHandle = intptr_t;

// What the device name names, before the port is opened: a missing device, one the user may not
// use, or something that is not a serial device (a plain file, a folder).
[[nodiscard]] SerialError checkDevicePath(const std::string& path);

enum class DeviceWrite { Written, Busy, Failed };
// Writes one byte without waiting: Busy when the device takes nothing now (a module that stopped
// reading), Failed when the handle is dead.
[[nodiscard]] DeviceWrite writeDeviceByte(DeviceHandle device, uint8_t byte);

// Whether bytes wait in the driver's output queue; false when that cannot be known.
[[nodiscard]] bool outputPending(DeviceHandle device);

// Drops the bytes that wait in the driver's output queue, or those received and unread.
void discardOutput(DeviceHandle device);
void discardInput(DeviceHandle device);

enum class DeviceState { Quiet, InputWaiting, HungUp };
// Whether the device hung up (unplugged) or sent something, without waiting.
[[nodiscard]] DeviceState deviceState(DeviceHandle device);

// A pause of a few milliseconds between two tries of a busy device.
void pauseBriefly();

} // namespace quorel
