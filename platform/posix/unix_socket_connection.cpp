#include "platform/posix/unix_socket_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace quorel {

namespace {

constexpr int kSendWaitMilliseconds = 3000;

} // namespace

std::string defaultChannelAddress(const char* (*environment)(const char*)) {
    const char* runtime = environment("RUNTIME_DIRECTORY");
    if (runtime != nullptr && *runtime != '\0') {
        // The service manager may give several folders, separated by colons: the first is ours.
        const std::string first(runtime, std::strcspn(runtime, ":"));
        return first + (first.ends_with('/') ? "" : "/") + "quorel.sock";
    }
    return "/run/quorel/quorel.sock";
}

ChannelConnection::Outcome UnixSocketConnection::open(std::string& reason) {
    close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof(address.sun_path)) {
        reason = "chemin du canal trop long : " + path_;
        return Outcome::NoStation;
    }
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        reason = std::strerror(errno);
        return Outcome::NoStation;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EACCES || error == EPERM) {
            reason = "Accès refusé : le canal " + path_ +
                     " est réservé aux opérateurs de Quorel (membres de son groupe).";
            return Outcome::Refused;
        }
        reason =
            "aucune station de Quorel ne répond sur " + path_ + " (" + std::strerror(error) + ")";
        return Outcome::NoStation;
    }
    fd_ = fd;
    return Outcome::Connected;
}

bool UnixSocketConnection::send(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        pollfd ready{fd_, POLLOUT, 0};
        if (::poll(&ready, 1, kSendWaitMilliseconds) <= 0) {
            close(); // a station that takes nothing for seconds is as good as gone
            return false;
        }
        const ssize_t count = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            continue;
        }
        if (count <= 0) {
            // What the station wrote before it closed (the reason of a refusal) is still read.
            ::shutdown(fd_, SHUT_WR);
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return fd_ >= 0;
}

std::optional<std::string> UnixSocketConnection::receive(double waitSeconds) {
    if (fd_ < 0) {
        return std::nullopt;
    }
    pollfd ready{fd_, POLLIN, 0};
    const int wait = static_cast<int>(std::ceil(std::max(0.0, waitSeconds) * 1000));
    if (::poll(&ready, 1, wait) <= 0) {
        return std::string();
    }
    char buffer[64 * 1024];
    const ssize_t count = ::recv(fd_, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (count > 0) {
        return std::string(buffer, static_cast<size_t>(count));
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
        return std::string();
    }
    close();
    return std::nullopt;
}

void UnixSocketConnection::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace quorel
