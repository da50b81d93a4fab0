#pragma once

#include "platform/channel_connection.h"
#include "station/channel_lines.h"
#include "station/station_channel.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quorel::test {

// A console's connection to a station of the same process: each request is handled as it is
// sent, as the station's hub would (a line too long or a fault drops the console), and its
// answer waits to be received. It breaks after answersLeft answers.
struct DirectConnection final : ChannelConnection {
    explicit DirectConnection(StationChannel& channel) : channel(channel) {}
    Outcome open(std::string&) override { return open_ = true, Outcome::Connected; }
    bool isOpen() const override { return open_; }
    bool send(std::string_view bytes) override {
        ChannelLines lines(kConsoleLineMaxBytes);
        lines.add(bytes);
        const std::optional<Message> request = lines.next();
        const Reply reply = request && answersLeft-- > 0 ? channel.handle(*request) : Reply{};
        open_ = open_ && request && reply.fault.empty() && !reply.answer.is_null();
        pending_ += open_ ? messageLine(reply.answer) : "";
        return open_;
    }
    std::optional<std::string> receive(double) override {
        return open_ ? std::optional(std::exchange(pending_, {})) : std::nullopt;
    }
    void close() override { open_ = false; }

    StationChannel& channel;
    int answersLeft = 1000;

  private:
    bool open_ = false;
    std::string pending_;
};

} // namespace quorel::test
