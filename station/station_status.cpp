#include "station/station_status.h"

#include <chrono>
#include <variant>

namespace quorel {

namespace {

constexpr double kAnswerWaitSeconds = 5;

// Sends request and waits for its answer: the answer, or the exit status said on err.
std::variant<Message, int> ask(ChannelConnection& connection, const Message& request,
                               std::ostream& err, const std::string& program) {
    std::string reason;
    switch (connection.open(reason)) {
    case ChannelConnection::Outcome::Refused:
        err << reason << std::endl;
        return kRefusedStatus;
    case ChannelConnection::Outcome::NoStation:
        err << program << " : " << reason << std::endl;
        return kNoStationStatus;
    case ChannelConnection::Outcome::Connected:
        break;
    }
    // A refusal may close the channel before the request is written: its reason is read anyway.
    const bool sent = connection.send(messageLine(request));
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
            if (message->value("id", 0) == request.value("id", 0)) {
                return std::move(*message);
            }
        }
        if (!lines.fault().empty()) {
            break;
        }
    }
    err << program << (sent ? " : la station n'a pas répondu." : " : la station a fermé le canal.")
        << std::endl;
    return kNoStationStatus;
}

constexpr const char* kCommandLine = "la ligne de commande";

} // namespace

int printStationStatus(ChannelConnection& connection, std::ostream& out, std::ostream& err) {
    std::variant<Message, int> answer =
        ask(connection, Message{{"id", 1}, {"command", "status"}}, err, "quorel-station");
    if (const int* status = std::get_if<int>(&answer)) {
        return *status;
    }
    const Message& message = std::get<Message>(answer);
    const auto status = message.find("status");
    if (status == message.end()) {
        err << "quorel-station : la station n'a pas donné son état." << std::endl;
        return kNoStationStatus;
    }
    out << messageLine(*status) << std::flush;
    return 0;
}

Message stationCommandRequest(StationCommand command, const std::string& signal) {
    switch (command) {
    case StationCommand::StartSignal:
        return Message{
            {"id", 1}, {"command", "startSignal"}, {"name", signal}, {"by", kCommandLine}};
    case StationCommand::StopSignal:
        return Message{{"id", 1}, {"command", "stopSignal"}, {"by", kCommandLine}};
    case StationCommand::Suspend:
        return Message{{"id", 1}, {"command", "suspend"}, {"by", kCommandLine}};
    case StationCommand::Resume:
    case StationCommand::None:
        break;
    }
    return Message{{"id", 1}, {"command", "resume"}, {"by", kCommandLine}};
}

int runStationCommand(ChannelConnection& connection, StationCommand command,
                      const std::string& signal, std::ostream& out, std::ostream& err,
                      const std::string& program) {
    std::variant<Message, int> answer =
        ask(connection, stationCommandRequest(command, signal), err, program);
    if (const int* status = std::get_if<int>(&answer)) {
        return *status;
    }
    const Message& message = std::get<Message>(answer);
    if (!message.value("ok", false)) {
        err << program << " : " << message.value("error", std::string("commande refusée."))
            << std::endl;
        return kCommandFailedStatus;
    }
    out << message.value("said", std::string("Fait.")) << std::endl;
    return 0;
}

} // namespace quorel
