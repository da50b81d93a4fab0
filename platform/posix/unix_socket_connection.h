#pragma once

#include "platform/channel_connection.h"

#include <string>

namespace quorel {

// A connection to a station's Unix socket.
class UnixSocketConnection final : public ChannelConnection {
  public:
    explicit UnixSocketConnection(std::string path) : path_(std::move(path)) {}
    ~UnixSocketConnection() override { close(); }
    UnixSocketConnection(const UnixSocketConnection&) = delete;
    UnixSocketConnection& operator=(const UnixSocketConnection&) = delete;

    Outcome open(std::string& reason) override;
    bool isOpen() const override { return fd_ >= 0; }
    bool send(std::string_view bytes) override;
    std::optional<std::string> receive(double waitSeconds) override;
    void close() override;

  private:
    std::string path_;
    int fd_ = -1;
};

} // namespace quorel
