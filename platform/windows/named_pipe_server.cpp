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

} // namespace

// One instance of the pipe: waiting for a client, then connected to it. Its connection and reads
// signal one event, its writes another; an operation that fails as it starts signals its event
// too, with the failure kept for the handler.
struct NamedPipeServer::Instance {
    Instance() {
        reading.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        writing.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~Instance() {
        unwatchLoopHandle(reading.hEvent);
        unwatchLoopHandle(writing.hEvent);
        if (pipe != INVALID_HANDLE_VALUE) {
            // The system writes into the operations' buffers until they end: they end first.
            ::CancelIoEx(pipe, nullptr);
            DWORD count = 0;
            if (readPending && readFailure == 0) {
                ::GetOverlappedResult(pipe, &reading, &count, TRUE);
            }
            if (writePending && writeFailure == 0) {
                ::GetOverlappedResult(pipe, &writing, &count, TRUE);
            }
            ::CloseHandle(pipe);
        }
        ::CloseHandle(reading.hEvent);
        ::CloseHandle(writing.hEvent);
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    HANDLE pipe = INVALID_HANDLE_VALUE;
    OVERLAPPED reading{}; // the wait for a client, then each read
    OVERLAPPED writing{};
    bool connected = false;
    bool identified = false; // handed over to the handlers
    bool readPending = false;
    bool writePending = false;
    DWORD readFailure = 0;
    DWORD writeFailure = 0;
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
        watchLoopHandle(instance.reading.hEvent, [this, id] { onRead(id); });
        watchLoopHandle(instance.writing.hEvent, [this, id] { onWritten(id); });
        if (::ConnectNamedPipe(pipe, &instance.reading) || ::GetLastError() == ERROR_IO_PENDING) {
            instance.readPending = true;
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
    if (instance.readPending) {
        return;
    }
    instance.readPending = true;
    if (!::ReadFile(instance.pipe, instance.buffer.data(), kBufferBytes, nullptr,
                    &instance.reading) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        instance.readFailure = ::GetLastError();
        ::SetEvent(instance.reading.hEvent);
    }
}

void NamedPipeServer::onRead(ClientId id) {
    auto it = instances_.find(id);
    if (it == instances_.end()) {
        return;
    }
    Instance& instance = *it->second;
    ::ResetEvent(instance.reading.hEvent);
    if (!instance.readPending) {
        return;
    }
    DWORD count = 0;
    const bool done = instance.readFailure == 0 &&
                      ::GetOverlappedResult(instance.pipe, &instance.reading, &count, FALSE);
    if (!done && instance.readFailure == 0 && ::GetLastError() == ERROR_IO_INCOMPLETE) {
        return; // signalled before it ended: not over yet
    }
    instance.readPending = false;
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
    if (it == instances_.end() || queue == nullptr || it->second->writePending) {
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
    instance.writePending = true;
    if (!::WriteFile(instance.pipe, instance.sent.data(), static_cast<DWORD>(instance.sent.size()),
                     nullptr, &instance.writing) &&
        ::GetLastError() != ERROR_IO_PENDING) {
        instance.writeFailure = ::GetLastError();
        ::SetEvent(instance.writing.hEvent);
    }
}

void NamedPipeServer::onWritten(ClientId id) {
    auto it = instances_.find(id);
    if (it == instances_.end()) {
        return;
    }
    Instance& instance = *it->second;
    ::ResetEvent(instance.writing.hEvent);
    if (!instance.writePending) {
        return;
    }
    DWORD count = 0;
    const bool done = instance.writeFailure == 0 &&
                      ::GetOverlappedResult(instance.pipe, &instance.writing, &count, FALSE);
    if (!done && instance.writeFailure == 0 && ::GetLastError() == ERROR_IO_INCOMPLETE) {
        return; // signalled before it ended: not over yet
    }
    instance.writePending = false;
    if (!done) {
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
