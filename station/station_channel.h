#pragma once

#include "platform/file_layer.h"
#include "platform/serial_ports.h"
#include "platform/settings_store.h"
#include "station/channel_hub.h"
#include "station/station.h"

#include <string>

namespace quorel {

// What consoles may ask of the station, and the state it shows them. Every request is an object
// {"id": n, "command": "…", …}; its answer echoes the id with "ok" true and what was asked, or
// "ok" false and a French "error". A request that is not one of these, or whose fields do not
// hold what the command needs, is a fault: the console that sent it is dropped.
class StationChannel {
  public:
    StationChannel(Station& station, FileLayer& files, SettingsStore& store, SerialPorts& ports,
                   Clock& clock);

    Reply handle(const Message& request);

    // What the window shows of the station: its status line, clock, outputs, test buttons,
    // port option and next bell.
    Message state() const;
    // What a monitoring system polls ("quorel-station --status").
    Message status();
    // Sends the state to the consoles that asked for it, when it changed since it was last sent.
    void publish(ChannelHub& hub);

  private:
    Message readFile(const std::string& name);
    // A signal started or stopped, the bells suspended or resumed, by who asked.
    Message signalCommand(const std::string& command, const std::string& name,
                          const std::string& by);
    Message writeFile(const std::string& name, const std::string& bytes);
    Message removeFile(const std::string& name);
    Message serialPorts();
    Message setPortDevice(int option, const std::string& device);
    std::string todaysTimetable() const;

    Station& station_;
    FileLayer& files_;
    SettingsStore& store_;
    SerialPorts& ports_;
    Clock& clock_;
    Message sent_;
};

// The files of the data folder a console may reach, by their name there: "Quorel.3",
// "Quorel.conges", "Journal/2026-12-08.txt". Journal days are read only.
enum class ChannelFile {
    Refused,
    DayFile,
    ClosedPeriods,
    DatedPeriods,
    TimetableNames,
    Signals,
    JournalDay
};
ChannelFile channelFileKind(const std::string& name);

} // namespace quorel
