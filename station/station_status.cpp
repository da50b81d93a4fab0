#include "station/station_status.h"

#include "station/channel_lines.h"

#include <chrono>

namespace quorel {

namespace {

constexpr double kAnswerWaitSeconds = 5;

} // namespace

int printStationStatus(ChannelConnection& connection, std::ostream& out, std::ostream& err) {
    std::string reason;
    switch (connection.open(reason)) {
    case ChannelConnection::Outcome::Refused:
        err << reason << std::endl;
        return kRefusedStatus;
    case ChannelConnection::Outcome::NoStation:
        err << "quorel-station : " << reason << std::endl;
        return kNoStationStatus;
    case ChannelConnection::Outcome::Connected:
        break;
    }
    // A refusal may close the channel before the request is written: its reason is read anyway.
    const bool sent = connection.send(messageLine(Message{{"id", 1}, {"command", "status"}}));
    ChannelLines lines(kStationLineMaxBytes);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(kAnswerWaitSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::optional<std::string> bytes = connection.receive(0.2);
        if (!bytes) {
            break;
        }
        lines.add(*bytes);
        while (std::optional<Message> message = lines.next()) {
            if (message->value("refused", false)) {
                err << message->value("error", std::string("Accès refusé.")) << std::endl;
                return kRefusedStatus;
            }
            const auto status = message->find("status");
            if (message->value("id", 0) == 1 && status != message->end()) {
                out << messageLine(*status) << std::flush;
                return 0;
            }
        }
        if (!lines.fault().empty()) {
            break;
        }
    }
    err << (sent ? "quorel-station : la station n'a pas donné son état."
                 : "quorel-station : la station a fermé le canal.")
        << std::endl;
    return kNoStationStatus;
}

} // namespace quorel
