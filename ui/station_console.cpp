#include "ui/station_console.h"

#include "core/program_paths.h"

#include <chrono>

namespace quorel {

namespace {

CheckState checkOf(const std::string& text) {
    return text == "on"       ? CheckState::Checked
           : text == "greyed" ? CheckState::Greyed
                              : CheckState::Unchecked;
}

Message unreachable() {
    return Message{{"ok", false}, {"error", kStationUnreachable}};
}

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

StationConsole::StationConsole(RelayPanel& panel, SchedulerCaptions& captions, View& view,
                               Dialogs& dialogs, FileLayer& localFiles)
    : panel_(panel), captions_(captions), view_(view), dialogs_(dialogs),
      files_(*this, localFiles) {}

bool StationConsole::connect(ChannelConnection& connection, const std::string& address) {
    std::string reason;
    if (connection.open(reason) != ChannelConnection::Outcome::Connected) {
        return false;
    }
    connection_ = &connection;
    address_ = address;
    if (!hello()) {
        connection_ = nullptr;
        return false;
    }
    return true;
}

bool StationConsole::hello() {
    lines_ = ChannelLines(kStationLineMaxBytes);
    const Message answer = request(Message{{"command", "hello"}});
    if (!answer.value("ok", false)) {
        if (connection_->isOpen()) {
            connection_->close();
        }
        return false;
    }
    dataFolder_ = ProgramPaths::inFolder(answer.value("dataFolder", std::string())).AppFolder;
    shownLost_ = false;
    show(answer.value("state", Message::object()));
    return true;
}

void StationConsole::poll(double monotonic) {
    if (connection_ == nullptr) {
        return;
    }
    if (connection_->isOpen()) {
        take(0);
        return;
    }
    if (!shownLost_) {
        lost();
    }
    if (monotonic - lastTry_ >= kRetrySeconds) {
        lastTry_ = monotonic;
        std::string reason;
        if (connection_->open(reason) == ChannelConnection::Outcome::Connected) {
            hello();
        }
    }
}

std::optional<Message> StationConsole::take(int64_t id) {
    while (connection_->isOpen()) {
        while (std::optional<Message> message = lines_.next()) {
            if (const auto state = message->find("state");
                state != message->end() && !message->contains("id")) {
                show(*state);
            } else if (id != 0 && message->value("id", int64_t{0}) == id) {
                return message;
            }
        }
        if (!lines_.fault().empty()) {
            connection_->close();
            break;
        }
        const std::optional<std::string> bytes = connection_->receive(0);
        if (!bytes || bytes->empty()) {
            break;
        }
        lines_.add(*bytes);
    }
    return std::nullopt;
}

Message StationConsole::request(Message request) {
    if (!reachable()) {
        return unreachable();
    }
    request["id"] = ++lastId_;
    if (!connection_->send(messageLine(request))) {
        connection_->close();
        return unreachable();
    }
    const double deadline = steadySeconds() + kAnswerWaitSeconds;
    while (connection_->isOpen()) {
        if (std::optional<Message> answer = take(lastId_)) {
            return *answer;
        }
        const double left = deadline - steadySeconds();
        if (left <= 0) {
            connection_->close(); // a station that does not answer is as good as gone
            break;
        }
        const std::optional<std::string> bytes = connection_->receive(std::min(left, 0.1));
        if (bytes && !bytes->empty()) {
            lines_.add(*bytes);
        }
    }
    return unreachable();
}

void StationConsole::command(Message request) {
    const Message answer = this->request(std::move(request));
    if (!answer.value("ok", false)) {
        dialogs_.message(answer.value("error", std::string(kStationUnreachable)),
                         MessageIcon::Critical);
    }
}

void StationConsole::choosePort(int16_t option) {
    command(Message{{"command", "choosePort"}, {"option", option}});
    view_.redraw(ViewPart::PortChoice); // the choice the station holds, not the one clicked
}

void StationConsole::switchOutput(int16_t index, bool on) {
    command(Message{{"command", "switchOutput"}, {"output", index + 1}, {"on", on}});
    view_.redraw(ViewPart::Outputs);
}

void StationConsole::testRelay(int16_t index) {
    command(Message{{"command", "testRelay"}, {"relay", index + 1}});
    view_.redraw(ViewPart::RelayButtons);
}

void StationConsole::show(const Message& state) {
    const auto text = [&state](const char* key) { return state.value(key, std::string()); };
    panel_.PortCom = static_cast<int16_t>(state.value("portOption", 0));
    panel_.InfoERR = text("status");
    panel_.InfoERRNumber = state.value("error", 0);
    panel_.moduleNote = text("module");
    panel_.foundStates = text("foundStates");
    setModuleRelays(panel_,
                    state.value("moduleRelays", kRelayCount) == kMaxRelayCount ? kMaxRelayCount
                                                                               : kRelayCount,
                    view_);
    captions_.LblHeure = text("clock");
    captions_.LblHeureToolTip = text("clockToolTip");
    captions_.clockWarning = state.value("clockWarning", false);
    const Message outputs = state.value("outputs", Message::array());
    for (size_t k = 0; k < panel_.LedOut.size() && k < outputs.size(); ++k) {
        const Message& output = outputs[k];
        panel_.LedOut.at(k) = output.value("on", false) ? Indicator::On : Indicator::Off;
        panel_.CheckS.at(k) = checkOf(output.value("switch", std::string()));
        captions_.LblTemp.at(k) = output.value("elapsed", std::string());
        captions_.LblMaxi.at(k) = output.value("duration", std::string());
    }
    const Message tests = state.value("relayTests", Message::array());
    for (size_t k = 0; k < panel_.CmdRelais.size() && k < tests.size(); ++k) {
        panel_.CmdRelais.at(k) =
            tests[k].is_boolean() && tests[k].get<bool>() ? TestButton::RelayOn : TestButton::Face;
    }
    signal_ = text("signal");
    suspended_ = state.value("suspended", false);
    const Message next = state.value("nextBell", Message::object());
    captions_.LblProchaine =
        NextBellSign{next.value("text", std::string()), next.value("warning", false),
                     next.value("time", std::string()), next.value("toolTip", std::string())};
    for (ViewPart part :
         {ViewPart::Clock, ViewPart::Outputs, ViewPart::Status, ViewPart::PortChoice,
          ViewPart::RelayButtons, ViewPart::NextBell, ViewPart::Signals}) {
        view_.redraw(part);
    }
}

void StationConsole::lost() {
    shownLost_ = true;
    panel_.InfoERR = kStationUnreachable;
    panel_.InfoERRNumber = 0;
    view_.redraw(ViewPart::Status);
}

std::string StationConsole::toolTip() const {
    return "Cette fenêtre est la console du service Quorel, qui fait sonner les cloches même "
           "sans session ouverte.\nStation : " +
           address_ + " (dossier " + dataFolder_ + ")";
}

std::optional<std::string> StationConsole::Files::nameOf(const std::string& path) const {
    const std::string& folder = console_.dataFolder_;
    if (folder.empty() || !path.starts_with(folder)) {
        return std::nullopt;
    }
    return path.substr(folder.size());
}

std::optional<FileStamp> StationConsole::Files::stamp(const std::string& path) {
    if (!console_.active()) {
        return local_.stamp(path);
    }
    // The window only asks whether there is a file.
    return exists(path) ? std::optional<FileStamp>(FileStamp{}) : std::nullopt;
}

bool StationConsole::Files::exists(const std::string& path) {
    if (!console_.active()) {
        return local_.exists(path);
    }
    const std::optional<std::string> name = nameOf(path);
    if (!name) {
        return false;
    }
    const Message answer = console_.request(Message{{"command", "fileExists"}, {"name", *name}});
    // While the station cannot say, a file is assumed: reading it then tells why it cannot be.
    return !answer.value("ok", false) || answer.value("exists", false);
}

FileReadResult StationConsole::Files::readRemote(const std::string& path) {
    const std::optional<std::string> name = nameOf(path);
    if (!name) {
        return FileReadResult{{}, "fichier hors du dossier du service"};
    }
    const Message answer = console_.request(Message{{"command", "readFile"}, {"name", *name}});
    if (!answer.value("ok", false)) {
        FileReadResult refused{{}, answer.value("error", std::string(kStationUnreachable))};
        refused.tooLarge = answer.value("tooLarge", false);
        return refused;
    }
    if (!answer.value("exists", false)) {
        return FileReadResult{{}, "fichier introuvable"};
    }
    const std::optional<std::string> bytes = decodeBytes(answer.value("bytes", std::string()));
    if (!bytes) {
        return FileReadResult{{}, "réponse illisible du service"};
    }
    FileReadResult file{*bytes, {}};
    file.beginningLeftOut = answer.value("beginningLeftOut", false);
    return file;
}

FileReadResult StationConsole::Files::read(const std::string& path, int64_t maxBytes) {
    return console_.active() ? readRemote(path) : local_.read(path, maxBytes);
}

FileReadResult StationConsole::Files::tail(const std::string& path, int64_t maxBytes) {
    return console_.active() ? readRemote(path) : local_.tail(path, maxBytes);
}

std::string StationConsole::Files::replace(const std::string& path, std::string_view bytes) {
    if (!console_.active()) {
        return local_.replace(path, bytes);
    }
    const std::optional<std::string> name = nameOf(path);
    if (!name) {
        return "fichier hors du dossier du service";
    }
    // A longer line would get the console dropped by the station.
    if (bytes.size() > kConsoleFileMaxBytes) {
        return "fichier trop volumineux pour le service (" + std::to_string(bytes.size()) +
               " octets, au plus " + std::to_string(kConsoleFileMaxBytes) + ")";
    }
    const Message answer = console_.request(
        Message{{"command", "writeFile"}, {"name", *name}, {"bytes", encodeBytes(bytes)}});
    return answer.value("ok", false) ? std::string()
                                     : answer.value("error", std::string(kStationUnreachable));
}

std::string StationConsole::Files::remove(const std::string& folder, const std::string& name) {
    if (!console_.active()) {
        return local_.remove(folder, name);
    }
    if (folder != console_.dataFolder_) {
        return "fichier hors du dossier du service";
    }
    const Message answer = console_.request(Message{{"command", "removeFile"}, {"name", name}});
    return answer.value("ok", false) ? std::string()
                                     : answer.value("error", std::string(kStationUnreachable));
}

} // namespace quorel
