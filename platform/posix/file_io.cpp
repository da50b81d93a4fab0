#include "platform/file_io.h"

#include "platform/temporary_name.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorel {

namespace {

// Closes the descriptor on every return path.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a late write error shows up here).
    bool closeNow() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The file a save to path must replace: path itself, or the end of the chain of symbolic links
// it starts (which may not exist yet). nullopt when the chain is too long or loops.
std::optional<std::string> finalTarget(std::string path) {
    for (int level = 0; level <= 40; ++level) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::error_code error;
        const std::string link = std::filesystem::read_symlink(path, error).string();
        if (error) {
            return path;
        }
        if (!link.empty() && link.front() == '/') {
            path = link;
        } else {
            const size_t slash = path.rfind('/');
            path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
    }
    return std::nullopt;
}

} // namespace

std::string systemErrorText(int errorNumber) {
    char buffer[256] = {};
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                     static_cast<int64_t>(info.st_size),
                     static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
                         info.st_mtim.tv_nsec};
}

FileReadResult readWholeFile(const std::string& path) {
    FileReadResult result;
    // Non-blocking, so that a FIFO with no writer cannot hold the open for ever.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        result.error = systemErrorText(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = "ce n'est pas un fichier ordinaire";
        return result;
    }
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = systemErrorText(errno);
            result.bytes.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
    return result;
}

std::string replaceFileContent(const std::string& path, std::string_view bytes) {
    const std::optional<std::string> target = finalTarget(path);
    if (!target) {
        return systemErrorText(ELOOP);
    }
    const size_t slash = target->rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string temporary = target->substr(0, nameStart) + "." + target->substr(nameStart);
    temporary.append(kTemporaryMark).append(kTemporaryRandomLength, 'X');
    FileDescriptor file(::mkstemp(temporary.data()));
    if (file.get() < 0) {
        return systemErrorText(errno);
    }
    // mkstemp makes the file private; keep the permissions of the file it replaces, or give a
    // new file the usual ones.
    struct stat previous {};
    if (::stat(target->c_str(), &previous) == 0) {
        ::fchmod(file.get(), previous.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(file.get(), 0666 & ~mask);
    }
    if (!writeAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemErrorText(error);
    }
    if (!file.closeNow()) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemErrorText(error);
    }
    if (::rename(temporary.c_str(), target->c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return systemErrorText(error);
    }
    return {};
}

std::string appendToFile(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (file.get() < 0 || !writeAll(file.get(), bytes) || !file.closeNow()) {
        return systemErrorText(errno);
    }
    return {};
}

std::string createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        return {};
    }
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        return {};
    }
    return systemErrorText(error);
}

std::vector<std::string> namesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(directory);
    return names;
}

std::string removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? std::string() : systemErrorText(errno);
}

bool FileExists(const std::string& path) {
    if (path.find_first_not_of(" \t") == std::string::npos) {
        return false;
    }
    // The text is looked up untrimmed; a path holding a NUL byte cannot name a file.
    if (path.find('\0') != std::string::npos) {
        return false;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return nameStart < path.size() && path[nameStart] != '.';
}

void removeStaleTemporaries(const std::string& folder, double olderThanSeconds) {
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int folderFd = ::dirfd(directory);
    while (const dirent* entry = ::readdir(directory)) {
        struct stat info {};
        if (!isTemporaryName(entry->d_name) ||
            ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        const double age = static_cast<double>(now.tv_sec - info.st_mtim.tv_sec) +
                           static_cast<double>(now.tv_nsec - info.st_mtim.tv_nsec) / 1e9;
        if (age > olderThanSeconds) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(directory);
}

} // namespace quorel
