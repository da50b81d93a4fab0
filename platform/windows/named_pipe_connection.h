#pragma once

#include "platform/channel_connection.h"

#include <string>

namespace quorel {

// A connection to a station's named pipe (\\.\pipe\…), whose operations wait no longer than they
// are told to.
class NamedPipeConnection final : public ChannelConnection {
  public:
    explicit NamedPipeConnection(std::string name);
    ~NamedPipeConnection() override;
    NamedPipeConnection(const NamedPipeConnection&) = delete;
    NamedPipeConnection& operator=(const NamedPipeConnection&) = delete;

    Outcome open(std::string& reason) override;
    bool isOpen() const override { return pipe_ != nullptr; }
    bool send(std::string_view bytes) override;
    std::optional<std::string> receive(double waitSeconds) override;
    void close() override;

  private:
    // Reads what comes within waitMilliseconds; nullopt when the pipe ended.
    std::optional<std::string> read(unsigned long waitMilliseconds);

    std::string name_;
    void* pipe_ = nullptr;
    void* event_ = nullptr; // signals the end of each operation
};

} // namespace quorel
