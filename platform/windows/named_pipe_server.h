#pragma once

#include "platform/windows/pipe_access.h"
#include "platform/windows/win32_interval_timer.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace quorel {

// A named pipe that the station's consoles connect to, served by the thread's message loop
// without ever waiting: every operation on its instances is overlapped and signals an event that
// the loop watches (watchLoopHandle). What a console sends is handed over as it comes; what it is
// sent is handed to the pipe a piece at a time, the next one once the pipe has taken it. Remote
// clients are rejected, the access list lets in only those that PipeAccess names, and each client
// is identified when its first bytes arrive, as the system tells who sent them.
class NamedPipeServer {
  public:
    using ClientId = uint64_t;
    struct Handlers {
        // A client's first bytes came: who it is, and the id its bytes are handed over with.
        std::function<void(ClientId, const PipePeer&)> connected;
        std::function<void(ClientId, std::string_view)> received;
        // A client that was handed over closed its end, or its pipe failed.
        std::function<void(ClientId)> gone;
        // What waits to be written to the client, taken from as it is written; nullptr once the
        // client is dropped.
        std::function<std::string*(ClientId)> queue;
        // Whether more may be read from the client now.
        std::function<bool(ClientId)> reading;
    };

    // Instances of the pipe at most: the hub's consoles and a few more, which it turns away with
    // its reason; beyond them a client finds the pipe busy.
    static constexpr int kInstances = 20;
    // A client that sends nothing for this long after it connected is disconnected.
    static constexpr unsigned kFirstBytesMilliseconds = 5000;

    explicit NamedPipeServer(Handlers handlers);
    ~NamedPipeServer();
    NamedPipeServer(const NamedPipeServer&) = delete;
    NamedPipeServer& operator=(const NamedPipeServer&) = delete;

    // Listens at name (\\.\pipe\…) for the clients that access lets in; access must outlive the
    // server. A pipe of that name served by another program is left alone. The reason in French
    // on failure, or an empty text.
    std::string listen(const std::string& name, const PipeAccess& access);
    // Hands what the client's queue holds to the pipe, a piece at a time.
    void flush(ClientId id);
    // Closes the client's connection at once; what the pipe already took still reaches it.
    void close(ClientId id);

  private:
    struct Instance;

    // Makes instances until one waits for a client, or the pipe has all it may have; the
    // failure of the first one, or an empty text.
    std::string listenAgain(bool first = false);
    void startRead(ClientId id);
    void onRead(ClientId id);
    void onWritten(ClientId id);
    void connected(ClientId id);
    void dropSilent();
    void remove(ClientId id);
    // The client's pipe failed or it closed its end.
    void lose(ClientId id);

    Handlers handlers_;
    std::wstring name_;
    const PipeAccess* access_ = nullptr;
    std::map<ClientId, std::unique_ptr<Instance>> instances_;
    ClientId lastId_ = 0;
    bool listening_ = false; // an instance waits for a client
    Win32IntervalTimer silentCheck_;
};

} // namespace quorel
