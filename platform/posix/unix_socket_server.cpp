#include "platform/posix/unix_socket_server.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace quorel {

namespace {

constexpr int64_t kRetryMicroseconds = 20'000;
constexpr size_t kReadBytes = 64 * 1024;

std::string systemReason() {
    return std::strerror(errno);
}

bool fillAddress(sockaddr_un& address, const std::string& path) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Whether a station answers at path now.
bool someoneListens(const sockaddr_un& address) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return false;
    }
    const bool answered =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(probe);
    return answered;
}

std::string userName(uid_t uid) {
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return std::string(found->pw_name);
    }
    return std::to_string(uid);
}

} // namespace

bool mayOperate(uid_t uid, gid_t group) {
    if (uid == 0 || uid == ::geteuid()) {
        return true;
    }
    std::vector<char> buffer(16 * 1024);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return false;
    }
    if (found->pw_gid == group) {
        return true;
    }
    std::vector<gid_t> groups(64);
    int count = static_cast<int>(groups.size());
    if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<size_t>(count));
        if (::getgrouplist(found->pw_name, found->pw_gid, groups.data(), &count) < 0) {
            return false;
        }
    }
    groups.resize(static_cast<size_t>(count));
    for (gid_t member : groups) {
        if (member == group) {
            return true;
        }
    }
    return false;
}

UnixSocketServer::UnixSocketServer(PollEventLoop& loop, Handlers handlers)
    : loop_(loop), handlers_(std::move(handlers)) {
    retry_ = loop_.addTimer([this] {
        std::vector<ClientId> ids;
        for (const auto& [id, client] : clients_) {
            ids.push_back(id);
        }
        for (ClientId id : ids) {
            flush(id);
        }
    });
}

UnixSocketServer::~UnixSocketServer() {
    loop_.removeTimer(retry_);
    while (!clients_.empty()) {
        remove(clients_.begin()->first);
    }
    if (listener_ >= 0) {
        loop_.unwatch(listener_);
        ::close(listener_);
        ::unlink(path_.c_str());
    }
}

std::string UnixSocketServer::listen(const std::string& path, gid_t group) {
    sockaddr_un address;
    if (!fillAddress(address, path)) {
        return "chemin du canal trop long : " + path;
    }
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            return path + " existe et n'est pas un canal de Quorel";
        }
        if (someoneListens(address)) {
            return "une autre station écoute déjà sur " + path;
        }
        ::unlink(path.c_str()); // left by a station that is gone
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return systemReason();
    }
    // Made with no access for others from the start, not opened to them for an instant.
    const mode_t mask = ::umask(0117);
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::umask(mask);
    if (!bound || ::chown(path.c_str(), static_cast<uid_t>(-1), group) != 0 ||
        ::chmod(path.c_str(), 0660) != 0 || ::listen(fd, 32) != 0) {
        const std::string reason = systemReason();
        if (bound) {
            ::unlink(path.c_str());
        }
        ::close(fd);
        return path + " : " + reason;
    }
    listener_ = fd;
    path_ = path;
    group_ = group;
    loop_.watchReadable(listener_, [this] { accept(); });
    return {};
}

void UnixSocketServer::accept() {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return; // EAGAIN: none left; any other failure is the peer's, tried at its next one
        }
        ucred credentials{};
        socklen_t size = sizeof(credentials);
        LocalPeer peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0) {
            peer.uid = credentials.uid;
            peer.allowed = mayOperate(credentials.uid, group_);
            peer.user = userName(credentials.uid);
        } else {
            peer.user = "(inconnu)";
        }
        const ClientId id = ++lastId_;
        clients_[id].fd = fd;
        // The handler may refuse it: the refusal is written and the connection closed at once.
        handlers_.connected(id, peer);
        auto it = clients_.find(id);
        if (it != clients_.end()) {
            watch(id, it->second, true);
            flush(id);
        }
    }
}

void UnixSocketServer::watch(ClientId id, Client& client, bool on) {
    if (on && !client.watched) {
        loop_.watchReadable(client.fd, [this, id] { readFrom(id); });
    } else if (!on && client.watched) {
        loop_.unwatch(client.fd);
    }
    client.watched = on;
}

void UnixSocketServer::readFrom(ClientId id) {
    auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    if (!handlers_.reading(id)) {
        watch(id, it->second, false); // watched again once its queue is written
        return;
    }
    char buffer[kReadBytes];
    const ssize_t count = ::recv(it->second.fd, buffer, sizeof(buffer), 0);
    if (count > 0) {
        handlers_.received(id, std::string_view(buffer, static_cast<size_t>(count)));
        return;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
        return;
    }
    remove(id);
    handlers_.gone(id);
}

void UnixSocketServer::flush(ClientId id) {
    auto it = clients_.find(id);
    std::string* queue = handlers_.queue(id);
    if (it == clients_.end() || queue == nullptr) {
        return; // not accepted yet: written once it is
    }
    while (!queue->empty()) {
        const ssize_t count = ::send(it->second.fd, queue->data(), queue->size(), MSG_NOSIGNAL);
        if (count > 0) {
            queue->erase(0, static_cast<size_t>(count));
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            break;
        }
        remove(id);
        handlers_.gone(id);
        return;
    }
    if (!queue->empty()) {
        if (!loop_.timerActive(retry_)) {
            loop_.startTimer(retry_, kRetryMicroseconds);
        }
    } else if (handlers_.reading(id)) {
        watch(id, it->second, true);
    }
}

void UnixSocketServer::close(ClientId id) {
    if (clients_.count(id) != 0) {
        std::string* queue = handlers_.queue(id);
        if (queue != nullptr) {
            flush(id);
        }
        remove(id);
    }
}

void UnixSocketServer::remove(ClientId id) {
    auto it = clients_.find(id);
    if (it == clients_.end()) {
        return;
    }
    if (it->second.watched) {
        loop_.unwatch(it->second.fd);
    }
    ::close(it->second.fd);
    clients_.erase(it);
}

} // namespace quorel
