#pragma once

#include "core/view.h"
#include "platform/channel_connection.h"
#include "platform/dialogs.h"
#include "platform/file_layer.h"
#include "relay/relay_panel.h"
#include "schedule/scheduler_state.h"
#include "station/channel_lines.h"

#include <cstdint>
#include <string>

namespace quorel {

// What the window says while its station cannot be reached, and what every command then gets.
inline constexpr const char* kStationUnreachable = "Service Quorel injoignable";

// The window as the console of a station that runs apart, as a system service: the station's
// state is shown in the window's panel and captions as it arrives, and the window's commands
// and file operations go to the station through its channel. The console never holds the bells
// up: the station does not wait for it, and a broken channel only greys the window's state until
// the station answers again.
class StationConsole {
  public:
    // Seconds a request waits for its answer before the station counts as unreachable.
    static constexpr double kAnswerWaitSeconds = 5;
    // While the station is unreachable, a connection is tried again this often.
    static constexpr double kRetrySeconds = 1;

    StationConsole(RelayPanel& panel, SchedulerCaptions& captions, View& view, Dialogs& dialogs,
                   FileLayer& localFiles);

    // Tries the station at address once, through connection; true when it answered: the window
    // is its console from then on, whatever becomes of the channel.
    bool connect(ChannelConnection& connection, const std::string& address);
    bool active() const { return connection_ != nullptr; }
    bool reachable() const { return connection_ != nullptr && connection_->isOpen(); }
    // The station's data folder, ending in the separator, as its files are named by.
    const std::string& dataFolder() const { return dataFolder_; }

    // Runs often (every 20 ms): shows the state the station sent meanwhile; once the channel
    // broke, says so and tries to connect again every kRetrySeconds, monotonic is the clock that
    // counts them.
    void poll(double monotonic);

    // The window's commands, sent to the station; while it cannot be reached, the operator is
    // told kStationUnreachable.
    void choosePort(int16_t option);
    void switchOutput(int16_t index, bool on);
    void testRelay(int16_t index);
    // A request and its answer; an answer {"ok": false, "error": kStationUnreachable} when the
    // station cannot be reached or does not answer in time.
    Message request(Message request);

    // The signal the station runs ("" for none) and whether its bells are suspended.
    const std::string& signal() const { return signal_; }
    bool suspended() const { return suspended_; }

    // The files the window edits: the station's while the window is its console, else localFiles.
    FileLayer& files() { return files_; }
    // The status line's tool tip: that the window is the service's console, and where.
    std::string toolTip() const;

  private:
    class Files final : public FileLayer {
      public:
        Files(StationConsole& console, FileLayer& local) : console_(console), local_(local) {}
        std::optional<FileStamp> stamp(const std::string& path) override;
        bool exists(const std::string& path) override;
        FileReadResult read(const std::string& path, int64_t maxBytes) override;
        std::string replace(const std::string& path, std::string_view bytes) override;
        FileReadResult tail(const std::string& path, int64_t maxBytes) override;
        std::string remove(const std::string& folder, const std::string& name) override;

      private:
        // The file's name in the station's folder, or nullopt for a path outside it.
        std::optional<std::string> nameOf(const std::string& path) const;
        FileReadResult readRemote(const std::string& path);
        StationConsole& console_;
        FileLayer& local_;
    };

    bool hello();
    // Takes what arrived and shows each state in it; an answer to id is returned when it came.
    std::optional<Message> take(int64_t id);
    void show(const Message& state);
    void lost();
    void command(Message request);

    RelayPanel& panel_;
    SchedulerCaptions& captions_;
    View& view_;
    Dialogs& dialogs_;
    Files files_;
    ChannelConnection* connection_ = nullptr;
    std::string address_;
    std::string dataFolder_;
    ChannelLines lines_{kStationLineMaxBytes};
    int64_t lastId_ = 0;
    bool shownLost_ = false;
    std::string signal_;
    bool suspended_ = false;
    double lastTry_ = 0;
};

} // namespace quorel
