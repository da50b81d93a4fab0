#pragma once

#include "platform/posix/poll_event_loop.h"

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace quorel {

// Who is at the other end of a local connection, as the kernel tells it.
struct LocalPeer {
    uid_t uid = 0;
    std::string user; // the account's name, or the uid as text when it has none
    bool allowed = false;
};

// Whether the user may steer the bells: root, the user the station runs as, or a member of the
// group (by its primary group or a supplementary one).
bool mayOperate(uid_t uid, gid_t group);

// A Unix socket that the station's consoles connect to, served by the event loop without ever
// waiting: what a console sends is handed over as it comes, and what it is sent is written as
// far as its socket takes it, the rest tried again every 20 ms. The socket file is mode 0660 in
// the given group, so that only its members (and root) may even connect; each peer's credentials
// are checked again when it connects.
class UnixSocketServer {
  public:
    using ClientId = uint64_t;
    struct Handlers {
        // A connection, with its peer and the id its bytes are handed over with.
        std::function<void(ClientId, const LocalPeer&)> connected;
        std::function<void(ClientId, std::string_view)> received;
        // The peer closed its end, or its socket failed.
        std::function<void(ClientId)> gone;
        // What waits to be written to the client, erased as it is written; nullptr once the
        // client is dropped.
        std::function<std::string*(ClientId)> queue;
        // Whether more may be read from the client now.
        std::function<bool(ClientId)> reading;
    };

    UnixSocketServer(PollEventLoop& loop, Handlers handlers);
    ~UnixSocketServer();
    UnixSocketServer(const UnixSocketServer&) = delete;
    UnixSocketServer& operator=(const UnixSocketServer&) = delete;

    // Listens at path for members of group. A stale socket file left by a station that is gone
    // is replaced; a station already listening there, or anything else at that path, is not.
    // The reason in French on failure, or an empty text.
    std::string listen(const std::string& path, gid_t group);
    // Writes what the client's queue holds, as far as the socket takes it now.
    void flush(ClientId id);
    // Closes the client's connection at once.
    void close(ClientId id);

  private:
    struct Client {
        int fd = -1;
        bool watched = false;
    };

    void accept();
    void readFrom(ClientId id);
    void watch(ClientId id, Client& client, bool on);
    void remove(ClientId id);

    PollEventLoop& loop_;
    Handlers handlers_;
    int listener_ = -1;
    std::string path_;
    gid_t group_ = 0;
    std::map<ClientId, Client> clients_;
    ClientId lastId_ = 0;
    PollEventLoop::TimerId retry_;
};

} // namespace quorel
