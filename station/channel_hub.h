#pragma once

#include "core/journal.h"
#include "platform/clock.h"
#include "station/channel_lines.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace quorel {

// What the station makes of one message of a console.
struct Reply {
    Message answer;         // sent back to that console; none when null
    std::string fault;      // not empty: the console is dropped for it, and the answer is not sent
    bool subscribe = false; // the console is sent every change of the state from now on
};

// The consoles connected to the station, whatever carries their bytes (a local socket, a named
// pipe): what each sent, what waits to be written to it, and the rules that keep any of them
// from getting in the bells' way. It never waits: a transport hands it what it read, and writes
// what it queues when it can.
class ChannelHub {
  public:
    using ClientId = uint64_t;
    using Handler = std::function<Reply(const Message& request)>;

    // More consoles than this at once are turned away.
    static constexpr int kMaxClients = 16;
    // A console whose queue grows past this no longer reads what it is sent: it is dropped.
    static constexpr size_t kQueueMaxBytes = 4 * 1024 * 1024;
    // While a console has more than this waiting, its next messages are not read: one request
    // for a journal day does not pile up on another.
    static constexpr size_t kReadPauseBytes = 64 * 1024;
    // A console must send its first message within this time.
    static constexpr double kFirstMessageSeconds = 5;

    ChannelHub(Clock& clock, Journal& journal, Handler handler);

    // A connection from user, who may steer the bells or not, under an id of the transport's
    // that no other connection has. A refused one gets the reason ("Accès refusé : …") and is
    // dropped; the journal names the user once a day.
    void connect(ClientId id, const std::string& user, bool allowed);
    // Bytes read from the console: its whole messages are handled at once, in order.
    void receive(ClientId id, std::string_view bytes);
    // The console went away, or its transport failed.
    void disconnect(ClientId id);
    // Sent to every console that asked for the state.
    void broadcast(const Message& message);
    // Drops the consoles silent since their connection for longer than kFirstMessageSeconds.
    void dropSilent();

    // What waits to be written to the console (the transport erases what it wrote); nullptr for
    // a console that is not connected.
    std::string* queue(ClientId id);
    // Whether the transport may read more from the console now.
    bool reading(ClientId id) const;
    size_t clientCount() const { return clients_.size(); }
    // Whether any console asked for the state.
    bool watched() const;

    // Set by the transport: write what the console's queue holds, as far as it can without
    // waiting; close the connection once its queue (the reason of a refusal) is written, or at
    // once when the queue is empty.
    std::function<void(ClientId)> flush;
    std::function<void(ClientId)> close;

  private:
    struct Client {
        std::string user;
        ChannelLines lines{kConsoleLineMaxBytes};
        std::string queue;
        double connectedAt = 0;
        bool spoke = false;
        bool subscribed = false;
    };

    void send(ClientId id, Client& client, const Message& message);
    // Drops a console for a fault of its own; the journal says why once a day per cause.
    void drop(ClientId id, const std::string& cause, bool tellIt);
    void noteOnce(const std::string& cause, const std::string& sentence);

    Clock& clock_;
    Journal& journal_;
    Handler handler_;
    std::map<ClientId, Client> clients_;
    std::set<std::string> causesNoted_;
    LocalDate notedOn_{};
};

// The reason a refused console is given, and the journal's line.
std::string accessRefusedText(const std::string& user);

} // namespace quorel
