#pragma once

#include "platform/posix/unix_socket_connection.h"
#include "station/channel_lines.h"

#include <chrono>
#include <functional>
#include <thread>

namespace quorel::test {

// A console of the tests on a station's socket: sends requests, and reads the station's messages
// until one it waits for.
struct ChannelClient {
    explicit ChannelClient(const std::string& path, double waitSeconds = 5) : connection(path) {
        std::string reason;
        for (int tries = 0; tries < waitSeconds * 50; ++tries) {
            if (connection.open(reason) == ChannelConnection::Outcome::Connected) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    bool send(const Message& request) { return connection.send(messageLine(request)); }
    // The first message that matches within the time, or null.
    Message until(const std::function<bool(const Message&)>& match, double seconds = 3) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            while (std::optional<Message> message = lines.next()) {
                if (match(*message)) {
                    return *message;
                }
            }
            const std::optional<std::string> bytes = connection.receive(0.05);
            if (!bytes) {
                break;
            }
            lines.add(*bytes);
        }
        return nullptr;
    }
    Message answer(int id, double seconds = 3) {
        return until([id](const Message& m) { return m.value("id", 0) == id; }, seconds);
    }

    UnixSocketConnection connection;
    ChannelLines lines{kStationLineMaxBytes};
};

} // namespace quorel::test
