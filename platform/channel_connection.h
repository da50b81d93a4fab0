#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorel {

// A console's connection to the station's local channel (a Unix socket, a named pipe).
class ChannelConnection {
  public:
    enum class Outcome { Connected, NoStation, Refused };

    virtual ~ChannelConnection() = default;
    // Connects to the channel's address. NoStation when nothing listens there, Refused when the
    // system denies this user the channel; reason says it in French.
    virtual Outcome open(std::string& reason) = 0;
    virtual bool isOpen() const = 0;
    // Writes all the bytes, waiting at most a few seconds; false when the connection broke.
    // What the station sent before it closed may still be received.
    virtual bool send(std::string_view bytes) = 0;
    // What arrived, waiting at most waitSeconds for something (0: not at all); empty when
    // nothing did; nullopt when the connection ended (it is then closed).
    virtual std::optional<std::string> receive(double waitSeconds) = 0;
    virtual void close() = 0;
};

// The address of the system's station: a socket under the runtime folder that the service
// manager gives ($RUNTIME_DIRECTORY/quorel.sock, else /run/quorel/quorel.sock) on Linux, the
// named pipe \\.\pipe\Quorel on Windows. environment reads a variable, nullptr when unset.
std::string defaultChannelAddress(const char* (*environment)(const char*));

} // namespace quorel
