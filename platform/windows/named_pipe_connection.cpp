#include "platform/windows/named_pipe_connection.h"

#include "platform/windows/pipe_access.h"
#include "platform/windows/wide_text.h"

#include <algorithm>
#include <cmath>
#include <vector>
#include <windows.h>

namespace quorel {

namespace {

constexpr DWORD kBusyWaitMilliseconds = 2000;
constexpr DWORD kSendWaitMilliseconds = 3000;
constexpr DWORD kChunkBytes = 64 * 1024;

// Waits at most waitMilliseconds for the operation to end, then cancels it; true with its count
// when it ended well, false with its error.
bool finish(HANDLE pipe, HANDLE event, OVERLAPPED& operation, DWORD waitMilliseconds,
            DWORD& count) {
    if (::WaitForSingleObject(event, waitMilliseconds) != WAIT_OBJECT_0) {
        ::CancelIoEx(pipe, &operation);
    }
    // Ended now, cancelled or not: what it did is told, and its buffer is free again.
    return ::GetOverlappedResult(pipe, &operation, &count, TRUE);
}

} // namespace

std::string defaultChannelAddress(const char* (*)(const char*)) {
    return "\\\\.\\pipe\\Quorel";
}

NamedPipeConnection::NamedPipeConnection(std::string name)
    : name_(std::move(name)), event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

NamedPipeConnection::~NamedPipeConnection() {
    close();
    ::CloseHandle(event_);
}

ChannelConnection::Outcome NamedPipeConnection::open(std::string& reason) {
    close();
    const std::wstring name = toWide(name_);
    // Reading and writing its data only: the station's access list grants no more. The station
    // may learn who connects, not act as this user.
    const auto connect = [&] {
        return ::CreateFileW(
            name.c_str(), GENERIC_READ | FILE_WRITE_DATA, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_OVERLAPPED | SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    };
    HANDLE pipe = connect();
    if (pipe == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_PIPE_BUSY &&
        ::WaitNamedPipeW(name.c_str(), kBusyWaitMilliseconds)) {
        pipe = connect(); // an instance came free
    }
    if (pipe != INVALID_HANDLE_VALUE) {
        pipe_ = pipe;
        return Outcome::Connected;
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_ACCESS_DENIED) {
        reason = "Accès refusé : le canal " + name_ +
                 " est réservé aux opérateurs de Quorel (membres du groupe « " + kOperatorsGroup +
                 " ») et aux administrateurs.";
        return Outcome::Refused;
    }
    reason = error == ERROR_FILE_NOT_FOUND ? "aucune station de Quorel ne répond sur " + name_
             : error == ERROR_PIPE_BUSY || error == ERROR_SEM_TIMEOUT
                 ? "la station de Quorel sur " + name_ + " est occupée : trop de consoles"
                 : "aucune station de Quorel ne répond sur " + name_ + " (" +
                       windowsErrorText(error) + ")";
    return Outcome::NoStation;
}

bool NamedPipeConnection::send(std::string_view bytes) {
    while (pipe_ != nullptr && !bytes.empty()) {
        OVERLAPPED operation{};
        operation.hEvent = event_;
        const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), kChunkBytes));
        DWORD count = 0;
        if (!::WriteFile(pipe_, bytes.data(), size, nullptr, &operation) &&
            ::GetLastError() != ERROR_IO_PENDING) {
            return false; // what the station wrote before it closed may still be read
        }
        if (!finish(pipe_, event_, operation, kSendWaitMilliseconds, count)) {
            if (::GetLastError() == ERROR_OPERATION_ABORTED) {
                close(); // a station that takes nothing for seconds is as good as gone
            }
            return false;
        }
        bytes.remove_prefix(count);
    }
    return pipe_ != nullptr;
}

std::optional<std::string> NamedPipeConnection::receive(double waitSeconds) {
    if (pipe_ == nullptr) {
        return std::nullopt;
    }
    DWORD available = 0;
    const bool peeked = ::PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr);
    if (peeked && available == 0 && waitSeconds <= 0) {
        return std::string();
    }
    // A pipe the station closed still gives what it wrote before: the read tells its end.
    const double wait = peeked && available > 0 ? 0 : std::max(0.0, waitSeconds);
    return read(static_cast<DWORD>(std::ceil(wait * 1000)));
}

std::optional<std::string> NamedPipeConnection::read(unsigned long waitMilliseconds) {
    std::vector<char> buffer(kChunkBytes);
    OVERLAPPED operation{};
    operation.hEvent = event_;
    DWORD count = 0;
    if ((::ReadFile(pipe_, buffer.data(), kChunkBytes, nullptr, &operation) ||
         ::GetLastError() == ERROR_IO_PENDING) &&
        finish(pipe_, event_, operation, waitMilliseconds, count)) {
        return std::string(buffer.data(), count);
    }
    if (::GetLastError() == ERROR_OPERATION_ABORTED) {
        return std::string(); // nothing came in time
    }
    close();
    return std::nullopt;
}

void NamedPipeConnection::close() {
    if (pipe_ != nullptr) {
        ::CloseHandle(pipe_);
        pipe_ = nullptr;
    }
}

} // namespace quorel
