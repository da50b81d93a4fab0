#include "station/station_channel.h"

#include "platform/port_devices.h"
#include "relay/module_probe.h"
#include "relay/status_text.h"
#include "schedule/calendar_date.h"
#include "schedule/closed_periods.h"
#include "schedule/daily_journal.h"
#include "schedule/dated_timetables.h"
#include "schedule/today_table.h"

namespace quorel {

namespace {

const char* checkText(CheckState state) {
    switch (state) {
    case CheckState::Checked:
        return "on";
    case CheckState::Greyed:
        return "greyed";
    case CheckState::Unchecked:
        break;
    }
    return "off";
}

Message signText(const NextBellSign& sign) {
    return Message{{"text", sign.text},
                   {"warning", sign.warning},
                   {"time", sign.time},
                   {"toolTip", sign.toolTip}};
}

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A field of the request that must hold a value of type T; nullopt when it is missing or holds
// another type.
template <typename T> std::optional<T> field(const Message& request, const char* name) {
    const auto it = request.find(name);
    if (it == request.end()) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<T, bool>) {
        return it->is_boolean() ? std::optional<T>(it->template get<bool>()) : std::nullopt;
    } else if constexpr (std::is_integral_v<T>) {
        return it->is_number_integer() ? std::optional<T>(it->template get<T>()) : std::nullopt;
    } else {
        return it->is_string() ? std::optional<T>(it->template get<std::string>()) : std::nullopt;
    }
}

Message failure(const std::string& error) {
    return Message{{"ok", false}, {"error", error}};
}

int64_t maxBytesOf(ChannelFile kind) {
    switch (kind) {
    case ChannelFile::ClosedPeriods:
        return kClosedPeriodsMaxBytes;
    case ChannelFile::DatedPeriods:
        return kDatedPeriodsMaxBytes;
    case ChannelFile::TimetableNames:
        return kTimetableNamesMaxBytes;
    case ChannelFile::Signals:
        return kSignalsMaxBytes;
    case ChannelFile::JournalDay:
        return kJournalShownBytes;
    case ChannelFile::DayFile:
    case ChannelFile::Refused:
        break;
    }
    return kDayFileMaxBytes;
}

} // namespace

ChannelFile channelFileKind(const std::string& name) {
    if (name == "Quorel.conges") {
        return ChannelFile::ClosedPeriods;
    }
    if (name == "Quorel.horaires") {
        return ChannelFile::DatedPeriods;
    }
    if (name == "Quorel.noms") {
        return ChannelFile::TimetableNames;
    }
    if (name == "Quorel.signaux") {
        return ChannelFile::Signals;
    }
    if (name.starts_with("Quorel.") && name.size() <= 10 && isDigits(name.substr(7))) {
        return ChannelFile::DayFile;
    }
    constexpr std::string_view kJournal = "Journal/";
    if (name.starts_with(kJournal) && name.ends_with(".txt") &&
        name.size() == kJournal.size() + 14 &&
        parseIsoDate(name.substr(kJournal.size(), 10)).has_value()) {
        return ChannelFile::JournalDay;
    }
    return ChannelFile::Refused;
}

StationChannel::StationChannel(Station& station, FileLayer& files, SettingsStore& store,
                               SerialPorts& ports, Clock& clock)
    : station_(station), files_(files), store_(store), ports_(ports), clock_(clock) {}

Reply StationChannel::handle(const Message& request) {
    const std::optional<std::string> command = field<std::string>(request, "command");
    const auto id = request.find("id");
    if (!command || id == request.end() || !id->is_number_integer()) {
        return Reply{{}, "message sans « id » ni « command »"};
    }
    const std::string badFields = "champs invalides pour « " + *command + " »";
    Reply reply;
    if (*command == "hello") {
        reply.answer = Message{{"ok", true},
                               {"version", QUOREL_VERSION},
                               {"dataFolder", station_.dataFolder()},
                               {"state", state()}};
        reply.subscribe = true;
    } else if (*command == "status") {
        reply.answer = Message{{"ok", true}, {"status", status()}};
    } else if (*command == "choosePort") {
        const auto option = field<int>(request, "option");
        if (!option || *option < 0 || *option > 4) {
            return Reply{{}, badFields};
        }
        station_.portChoice.select(static_cast<int16_t>(*option));
        reply.answer = Message{{"ok", true}};
    } else if (*command == "switchOutput") {
        const auto output = field<int>(request, "output");
        const auto on = field<bool>(request, "on");
        if (!output || !on || *output < 1 || *output > kOutputCount) {
            return Reply{{}, badFields};
        }
        const auto index = static_cast<int16_t>(*output - 1);
        station_.manual.setCheckS(index, *on ? CheckState::Checked : CheckState::Unchecked);
        station_.manual.CheckS_Click(index);
        reply.answer = Message{{"ok", true}};
    } else if (*command == "testRelay") {
        const auto relay = field<int>(request, "relay");
        if (!relay || *relay < 1 || *relay > kRelayCount) {
            return Reply{{}, badFields};
        }
        station_.manual.CmdRelais_Click(static_cast<int16_t>(*relay - 1));
        reply.answer = Message{{"ok", true}};
    } else if (*command == "fileExists") {
        const auto name = field<std::string>(request, "name");
        if (!name) {
            return Reply{{}, badFields};
        }
        const bool known = channelFileKind(*name) != ChannelFile::Refused;
        reply.answer = Message{
            {"ok", true}, {"exists", known && files_.exists(station_.paths.AppFolder + *name)}};
    } else if (*command == "readFile" || *command == "removeFile") {
        const auto name = field<std::string>(request, "name");
        if (!name) {
            return Reply{{}, badFields};
        }
        reply.answer = *command == "readFile" ? readFile(*name) : removeFile(*name);
    } else if (*command == "writeFile") {
        const auto name = field<std::string>(request, "name");
        const auto text = field<std::string>(request, "bytes");
        const std::optional<std::string> bytes = text ? decodeBytes(*text) : std::nullopt;
        if (!name || !bytes) {
            return Reply{{}, badFields};
        }
        reply.answer = writeFile(*name, *bytes);
    } else if (*command == "serialPorts") {
        reply.answer = serialPorts();
    } else if (*command == "probe") {
        const auto device = field<std::string>(request, "device");
        if (!device) {
            return Reply{{}, badFields};
        }
        const ProbeOutcome outcome = probeModule(*ports_.newDevice(), *device, clock_);
        reply.answer = Message{{"ok", true}, {"opened", outcome.opened}};
        if (outcome.identifier) {
            reply.answer["identifier"] = *outcome.identifier;
            reply.answer["version"] = outcome.version;
        }
    } else if (*command == "setPortDevice") {
        const auto option = field<int>(request, "option");
        const auto device = field<std::string>(request, "device");
        if (!option || !device || *option < 1 || *option > 4) {
            return Reply{{}, badFields};
        }
        reply.answer = setPortDevice(*option, *device);
    } else if (*command == "startSignal" || *command == "stopSignal" || *command == "suspend" ||
               *command == "resume") {
        const auto by = field<std::string>(request, "by");
        const auto name = field<std::string>(request, "name");
        if (!by || (*by != "la fenêtre" && *by != "la ligne de commande") ||
            (*command == "startSignal") != name.has_value()) {
            return Reply{{}, badFields};
        }
        reply.answer = signalCommand(*command, name.value_or(""), *by);
    } else {
        return Reply{{}, "commande inconnue « " + *command + " »"};
    }
    reply.answer["id"] = *id;
    return reply;
}

Message StationChannel::signalCommand(const std::string& command, const std::string& name,
                                      const std::string& by) {
    if (command == "startSignal") {
        const std::string why = station_.startSignal(name, by);
        return why.empty() ? Message{{"ok", true}, {"said", "Signal « " + name + " » déclenché."}}
                           : failure(why);
    }
    if (command == "stopSignal") {
        const std::string running =
            station_.scheduler.signal ? station_.scheduler.signal->signal.name : "";
        return Message{{"ok", true},
                       {"said", station_.stopSignal(by) ? "Signal « " + running + " » arrêté."
                                                        : std::string("Aucun signal en cours.")}};
    }
    const bool suspend = command == "suspend";
    const bool already = station_.scheduler.suspended == suspend;
    if (const std::string why = station_.setSuspended(suspend, by); !why.empty()) {
        return failure(why);
    }
    return Message{
        {"ok", true},
        {"said",
         std::string(suspend ? (already ? "Sonneries déjà suspendues." : "Sonneries suspendues.")
                             : (already ? "Sonneries déjà en service." : "Sonneries reprises."))}};
}

Message StationChannel::readFile(const std::string& name) {
    const ChannelFile kind = channelFileKind(name);
    if (kind == ChannelFile::Refused) {
        return failure("Fichier refusé : « " + name + " »");
    }
    const std::string path = station_.paths.AppFolder + name;
    if (!files_.exists(path)) {
        return Message{{"ok", true}, {"exists", false}};
    }
    const FileReadResult file = kind == ChannelFile::JournalDay
                                    ? readFileTail(path, kJournalShownBytes)
                                    : files_.read(path, maxBytesOf(kind));
    if (!file.ok()) {
        Message answer = failure(file.error);
        answer["tooLarge"] = file.tooLarge;
        return answer;
    }
    return Message{{"ok", true},
                   {"exists", true},
                   {"bytes", encodeBytes(file.bytes)},
                   {"beginningLeftOut", file.beginningLeftOut}};
}

Message StationChannel::writeFile(const std::string& name, const std::string& bytes) {
    const ChannelFile kind = channelFileKind(name);
    if (kind == ChannelFile::Refused || kind == ChannelFile::JournalDay) {
        return failure("Fichier refusé : « " + name + " »");
    }
    if (static_cast<int64_t>(bytes.size()) > maxBytesOf(kind)) {
        return failure(tooLargeFileText(maxBytesOf(kind)));
    }
    const std::string error = files_.replace(station_.paths.AppFolder + name, bytes);
    if (!error.empty()) {
        return failure(error);
    }
    // Read again at once, not at the next minute: an entry saved for the next seconds rings.
    if (kind == ChannelFile::ClosedPeriods) {
        station_.reloadClosedPeriods();
    } else {
        station_.reloadSpecialTimetables();
    }
    return Message{{"ok", true}};
}

Message StationChannel::removeFile(const std::string& name) {
    if (channelFileKind(name) != ChannelFile::DayFile) {
        return failure("Fichier refusé : « " + name + " »");
    }
    const std::string error = removeFileIn(station_.paths.AppFolder, name);
    return error.empty() ? Message{{"ok", true}} : failure(error);
}

Message StationChannel::serialPorts() {
    Message present = Message::array();
    for (const PresentPort& port : ports_.present()) {
        present.push_back(Message{
            {"device", port.device}, {"description", port.description}, {"target", port.target}});
    }
    Message devices = Message::array();
    Message targets = Message::array();
    for (int option = 1; option <= 4; ++option) {
        const std::string device = deviceForPort(store_, option);
        devices.push_back(device);
        targets.push_back(ports_.targetOf(device));
    }
    return Message{{"ok", true}, {"present", present}, {"devices", devices}, {"targets", targets}};
}

Message StationChannel::setPortDevice(int option, const std::string& device) {
    const std::string before = deviceForPort(store_, option);
    const std::string error =
        store_.write(kStoreApplication, kPortsSection, "COM" + std::to_string(option), device);
    if (!error.empty()) {
        return failure(error);
    }
    if (station_.panel.PortCom == option && deviceForPort(store_, option) != before) {
        station_.portChoice.deviceChanged();
    }
    return Message{{"ok", true}};
}

Message StationChannel::state() const {
    const RelayPanel& panel = station_.panel;
    const SchedulerCaptions& captions = station_.captions;
    Message outputs = Message::array();
    for (size_t k = 0; k < kOutputCount; ++k) {
        outputs.push_back(Message{{"on", panel.LedOut.at(k) == Indicator::On},
                                  {"switch", checkText(panel.CheckS.at(k))},
                                  {"elapsed", captions.LblTemp.at(k)},
                                  {"duration", captions.LblMaxi.at(k)}});
    }
    Message tests = Message::array();
    for (TestButton button : panel.CmdRelais) {
        tests.push_back(button == TestButton::RelayOn);
    }
    return Message{{"portOption", panel.PortCom},
                   {"status", panel.InfoERR},
                   {"error", panel.InfoERRNumber},
                   {"module", panel.moduleNote},
                   {"foundStates", panel.foundStates},
                   {"moduleRelays", panel.moduleRelays},
                   {"statusToolTip", statusToolTip(panel)},
                   {"clock", captions.LblHeure},
                   {"clockToolTip", captions.LblHeureToolTip},
                   {"clockWarning", captions.clockWarning},
                   {"outputs", outputs},
                   {"relayTests", tests},
                   {"nextBell", signText(station_.shownNextBell())},
                   {"signal", station_.scheduler.signal ? station_.scheduler.signal->signal.name
                                                        : std::string()},
                   {"suspended", station_.scheduler.suspended}};
}

std::string StationChannel::todaysTimetable() const {
    const SchedulerState& scheduler = station_.scheduler;
    if (scheduler.closedToday) {
        return "aucun : " + scheduler.closedToday->label;
    }
    if (scheduler.periodToday) {
        const auto name = scheduler.timetableNames.find(scheduler.periodToday->timetable);
        if (name != scheduler.timetableNames.end()) {
            return name->second;
        }
    }
    return scheduler.loadedDay ? "Quorel." + std::to_string(*scheduler.loadedDay) : "";
}

Message StationChannel::status() {
    const RelayPanel& panel = station_.panel;
    const SchedulerCaptions& captions = station_.captions;
    Message outputs = Message::array();
    for (size_t k = 0; k < kOutputCount; ++k) {
        outputs.push_back(Message{{"output", k + 1},
                                  {"on", panel.LedOut.at(k) == Indicator::On},
                                  {"elapsed", captions.LblTemp.at(k)},
                                  {"duration", captions.LblMaxi.at(k)}});
    }
    const NextBellSign next = station_.shownNextBell();
    return Message{{"version", QUOREL_VERSION},
                   {"dataFolder", station_.dataFolder()},
                   {"portOption", kPortComCaptions.at(static_cast<size_t>(panel.PortCom))},
                   {"status", panel.InfoERR},
                   {"error", panel.InfoERRNumber},
                   {"module", panel.moduleNote},
                   {"outputs", outputs},
                   {"nextBell", next.text},
                   {"nextBellTime", next.time},
                   {"timetable", todaysTimetable()},
                   {"clock", captions.LblHeure},
                   {"clockSynchronised", !captions.clockWarning},
                   {"clockSynchronisation", captions.LblHeureToolTip},
                   {"missedToday", station_.tick.missedToday()},
                   {"signal", station_.scheduler.signal ? station_.scheduler.signal->signal.name
                                                        : std::string()},
                   {"suspended", station_.scheduler.suspended},
                   {"lastJournalLine", station_.lastJournalLine()}};
}

void StationChannel::publish(ChannelHub& hub) {
    // With no console watching, the state is not even built: the tick's redraws cost nothing,
    // and the next console to watch is sent the state whatever was sent before.
    if (!hub.watched()) {
        sent_ = nullptr;
        return;
    }
    Message now = state();
    if (now != sent_) {
        hub.broadcast(Message{{"state", now}});
        sent_ = std::move(now);
    }
}

} // namespace quorel
