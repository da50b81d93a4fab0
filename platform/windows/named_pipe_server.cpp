#include "platform/windows/named_pipe_server.h"

#include "platform/windows/loop_handles.h"
#include "platform/windows/wide_text.h"

#include <algorithm>
#include <vector>
#include <windows.h>

namespace quorel {

namespace {

constexpr DWORD kBufferBytes = 64 * 1024;
constexpr unsigned kSilentCheckMilliseconds = 1000;

// One overlapped operation of an instance, with the event it signals. An operation that fails as
// it starts signals its event too, with the failure kept for the handler.
class PipeOperation {
  public:
    enum class End { NotOver, Done, Failed };

    PipeOperation() { overlapped_.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~PipeOperation() { ::CloseHandle(overlapped_.hEvent); }
    PipeOperation(const PipeOperation&) = delete;
    PipeOperation& operator=(const PipeOperation&) = delete;

    HANDLE event() const { return overlapped_.hEvent; }
    OVERLAPPED* overlapped() { return &overlapped_; }
    bool pending() const { return pending_; }
    // Called with what the call that starts it (ReadFile, WriteFile, ConnectNamedPipe) returned.
    void started(BOOL began) {
        pending_ = true;
        if (!began && ::GetLastError() != ERROR_IO_PENDING) {
            failure_ = ::GetLastError();
            ::SetEvent(overlapped_.hEvent);
        }
    }
    // Its event went off: whether it is over and how, with the bytes it moved in count.
    End ended(HANDLE pipe, DWORD& count) {
        ::ResetEvent(overlapped_.hEvent);
        if (!pending_) {
            return End::NotOver;
        }
        const bool done = failure_ == 0 && ::GetOverlappedResult(pipe, &overlapped_, &count, FALSE);
        if (!done && failure_ == 0 && ::GetLastError() == ERROR_IO_INCOMPLETE) {
            return End::NotOver; // signalled before it ended
        }
        pending_ = false;
        return done ? End::Done : End::Failed;
    }
    // The system writes into the operation's buffer until it ends: waited for once cancelled.
    void waitCancelled(HANDLE pipe) {
        DWORD count = 0;
        if (pending_ && failure_ == 0) {
            ::GetOverlappedResult(pipe, &overlapped_, &count, TRUE);
        }
    }

  private:
    OVERLAPPED overlapped_{};
    bool pending_ = false;
    DWORD failure_ = 0;
};

} // namespace

// One instance of the pipe: waiting for a client, then connected to it. Its connection and reads
// are one operation, its writes another.
struct NamedPipeServer::Instance {
    Instance() = default;
    ~Instance() {
        unwatchLoopHandle(reading.event());
        unwatchLoopHandle(writing.event());
        if (pipe != INVALID_HANDLE_VALUE) {
            ::CancelIoEx(pipe, nullptr);
            reading.waitCancelled(pipe);
            writing.waitCancelled(pipe);
            ::CloseHandle(pipe);
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    HANDLE pipe = INVALID_HANDLE_VALUE;
    PipeOperation reading; // the wait for a client, then each read
    PipeOperation writing;
    bool connected = false;
    bool identified = false; // handed over to the handlers
    ULONGLONG connectedAt = 0;
    std::vector<char> buffer = std::vector<char>(kBufferBytes);
    std::string sent; // handed to the pipe, not taken by it yet
};

NamedPipeServer::NamedPipeServer(Handlers handlers)
    : handlers_(std::move(handlers)),
      silentCheck_(kSilentCheckMilliseconds, [this] { dropSilent(); }) {}

NamedPipeServer::~NamedPipeServer() {
    silentCheck_.setEnabled(false);
    instances_.clear();
}

std::string NamedPipeServer::listen(const std::string& name, const PipeAccess& access) {
    if (access.descriptor() == nullptr) {
        return "la liste d'accès du canal " + name + " n'a pas pu être faite";
    }
    name_ = toWide(name);
    access_ = &access;
    // FILE_FLAG_FIRST_PIPE_INSTANCE refuses a name in use, but Wine ignores it: a pipe that
    // exists, free or busy, is asked first.
    if (::WaitNamedPipeW(name_.c_str(), 1) || ::GetLastError() == ERROR_SEM_TIMEOUT) {
        return "une autre station écoute déjà sur " + name;
    }
    return listenAgain(true);
}

std::string NamedPipeServer::listenAgain(bool first) {
    while (!listening_ && static_cast<int>(instances_.size()) < kInstances) {
        SECURITY_ATTRIBUTES attributes{sizeof(attributes), access_->descriptor(), FALSE};
        // The first instance makes the pipe: a pipe of that name that exists already is another
        // program's.
        const HANDLE pipe = ::CreateNamedPipeW(
            name_.c_str(),
            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
            kInstances, kBufferBytes, kBufferBytes, 0, &attributes);
        if (pipe == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (!first) {
                return {}; // tried again when a client leaves
            }
            return error == ERROR_ACCESS_DENIED
                       ? "une autre station écoute déjà sur " + fromWide(name_)
                       : fromWide(name_) + " : " + windowsErrorText(error);
        }
        first = false;
        const ClientId id = ++lastId_;
        Instance& instance = *(instances_[id] = std::make_unique<Instance>());
        instance.pipe = pipe;
        watchLoopHandle(instance.reading.event(), [this, id] { onRead(id); });
        watchLoopHandle(instance.writing.event(), [this, id] { onWritten(id); });
        if (::ConnectNamedPipe(pipe, instance.reading.overlapped()) ||
            ::GetLastError() == ERROR_IO_PENDING) {
            instance.reading.started(TRUE);
            listening_ = true;
        } else if (::GetLastError() == ERROR_PIPE_CONNECTED) {
            connected(id); // a client came between the two calls
        } else if (::GetLastError() == ERROR_NO_DATA) {
            remove(id); // a client came and went between the two calls: the next instance
        } else {
            remove(id); // tried again when a client leaves, never in a loop
            return {};
        }
    }
    return {};
}

void NamedPipeServer::connected(ClientId id) {
    Instance& instance = *instances_.at(id);
    instance.connected = true;
    instance.connectedAt = ::GetTickCount64();
    silentCheck_.setEnabled(true);
    startRead(id);
}

void NamedPipeServer::startRead(ClientId id) {
    Instance& instance = *instances_.at(id);
    if (!instance.reading.pending()) {
        instance.reading.started(::ReadFile(instance.pipe, instance.buffer.data(), kBufferBytes,
                                            nullptr, instance.reading.overlapped()));
    }
}

void NamedPipeServer::onRead(ClientId id) {
    auto it = instances_.find(id);
    if (it == instances_.end()) {
        return;
    }
    Instance& instance = *it->second;
    DWORD count = 0;
    const PipeOperation::End end = instance.reading.ended(instance.pipe, count);
    if (end == PipeOperation::End::NotOver) {
        return;
    }
    const bool done = end == PipeOperation::End::Done;
    if (!instance.connected) {
        listening_ = false;
        if (done) {
            connected(id);
        } else {
            remove(id);
        }
        listenAgain();
        return;
    }
    if (!done) {
        lose(id);
        return;
    }
    // The handlers may close the connection, and the instance with its buffer.
    const std::string bytes(instance.buffer.data(), count);
    if (!instance.identified) {
        instance.identified = true;
        handlers_.connected(id, access_->identify(instance.pipe));
        if (instances_.count(id) == 0) {
            return;
        }
    }
    handlers_.received(id, bytes);
    if (instances_.count(id) != 0 && handlers_.reading(id)) {
        startRead(id); // otherwise again once its queue is written
    }
}

void NamedPipeServer::flush(ClientId id) {
    auto it = instances_.find(id);
    std::string* queue = handlers_.queue(id);
    if (it == instances_.end() || queue == nullptr || it->second->writing.pending()) {
        return; // the next piece goes once the pipe has taken this one
    }
    Instance& instance = *it->second;
    if (instance.sent.empty()) {
        const size_t size = std::min<size_t>(queue->size(), kBufferBytes);
        instance.sent.assign(*queue, 0, size);
        queue->erase(0, size);
    }
    if (instance.sent.empty()) {
        if (handlers_.reading(id)) {
            startRead(id);
        }
        return;
    }
    instance.writing.started(::WriteFile(instance.pipe, instance.sent.data(),
                                         static_cast<DWORD>(instance.sent.size()), nullptr,
                                         instance.writing.overlapped()));
}

void NamedPipeServer::onWritten(ClientId id) {
    auto it = instances_.find(id);
    if (it == instances_.end()) {
        return;
    }
    Instance& instance = *it->second;
    DWORD count = 0;
    const PipeOperation::End end = instance.writing.ended(instance.pipe, count);
    if (end == PipeOperation::End::NotOver) {
        return;
    }
    if (end == PipeOperation::End::Failed) {
        lose(id);
        return;
    }
    instance.sent.erase(0, count);
    flush(id);
}

void NamedPipeServer::close(ClientId id) {
    remove(id);
    listenAgain();
}

void NamedPipeServer::lose(ClientId id) {
    const bool handedOver = instances_.at(id)->identified;
    remove(id);
    listenAgain();
    if (handedOver) {
        handlers_.gone(id);
    }
}

void NamedPipeServer::remove(ClientId id) {
    instances_.erase(id);
}

void NamedPipeServer::dropSilent() {
    const ULONGLONG now = ::GetTickCount64();
    std::vector<ClientId> silent;
    bool waiting = false;
    for (const auto& [id, instance] : instances_) {
        if (instance->connected && !instance->identified) {
            if (now - instance->connectedAt > kFirstBytesMilliseconds) {
                silent.push_back(id);
            } else {
                waiting = true;
            }
        }
    }
    for (ClientId id : silent) {
        remove(id);
    }
    silentCheck_.setEnabled(waiting);
    listenAgain();
}

} // namespace quorel
