#pragma once

#include "platform/serial_error.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorel {

// A relay byte that has not left after this many seconds is stale: it would ring a bell at a
// moment nobody chose.
inline constexpr double kByteDeadline = 1.0;

// The serial port that carries the relay commands, written one byte at a time; what the module
// answers to a query is read without waiting. A link that reads nothing stands for a module that
// never answers.
class SerialLink {
  public:
    virtual ~SerialLink() = default;
    // Whether the port is in service: true from a successful open() until close().
    virtual bool isOpen() const = 0;
    // Allowed only while closed.
    [[nodiscard]] virtual SerialError setPortNumber(int16_t number) = 0;
    // The line parameters, "4800,N,8,1" (baud, parity N/E/O/M/S, data bits 5-8, stop bits
    // 1/1.5/2). Allowed only while closed; a malformed text is refused.
    [[nodiscard]] virtual SerialError setParameters(const std::string& text) = 0;
    // Acquires the port and applies number and parameters; on failure the port stays closed.
    [[nodiscard]] virtual SerialError open() = 0;
    // Releases the port; closing a closed port does nothing.
    virtual void close() = 0;
    // Writes one byte and lets it leave at once. While in service, a device that went away is
    // opened again first. A byte that has not left after deadlineSeconds (a module that stopped
    // reading) is dropped, never delivered late, and the write fails.
    [[nodiscard]] virtual SerialError writeByte(uint8_t byte, double deadlineSeconds) = 0;
    [[nodiscard]] SerialError writeByte(uint8_t byte) { return writeByte(byte, kByteDeadline); }
    // While in service without a device (it went away): tries to open it again. None when a
    // device is held; PortNotOpen when the port is not in service.
    [[nodiscard]] virtual SerialError reconnect() = 0;
    // Moves at most capacity of the bytes received into `into`, without waiting; how many.
    [[nodiscard]] virtual size_t read(uint8_t* /*into*/, size_t /*capacity*/) { return 0; }
    // Drops the bytes received and not read yet, before a query whose answer is awaited.
    virtual void discardInput() {}
    // How many times a device has been opened. It grows when the device is opened again after it
    // went away, which may have reset the relays.
    virtual uint32_t openings() const = 0;
};

} // namespace quorel
