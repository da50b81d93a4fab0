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

// Opens path for reading when it names a regular file, without waiting on a FIFO that has no
// writer, and gives its size. -1, with the reason in result, otherwise.
int openRegularFile(const std::string& path, int64_t& size, FileReadResult& result) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        result.error = systemErrorText(errno);
    } else if (!S_ISREG(info.st_mode)) {
        result.error = kNotARegularFile;
    } else {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        size = static_cast<int64_t>(info.st_size);
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return -1;
}

// Appends the file's bytes from where it stands to result, until its end or until limit bytes
// are held. False, with the reason and no bytes in result, on a failed read.
bool readUpTo(int fd, size_t limit, FileReadResult& result) {
    char buffer[16384];
    while (result.bytes.size() < limit) {
        const ssize_t got =
            ::read(fd, buffer, std::min(sizeof buffer, limit - result.bytes.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = systemErrorText(errno);
            result.bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
    return true;
}

void refuseAsTooLarge(FileReadResult& result, int64_t maxBytes) {
    result.bytes.clear();
    result.bytes.shrink_to_fit();
    result.error = tooLargeFileText(maxBytes);
    result.tooLarge = true;
}

// Opens folder for reading its entries, refusing a symbolic link in its place (a trailing slash
// would make the system follow one).
int openRealFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
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

FileReadResult readWholeFile(const std::string& path, int64_t maxBytes) {
    FileReadResult result;
    int64_t size = 0;
    FileDescriptor file(openRegularFile(path, size, result));
    if (file.get() < 0) {
        return result;
    }
    if (size > maxBytes) {
        refuseAsTooLarge(result, maxBytes);
        return result;
    }
    result.bytes.reserve(static_cast<size_t>(size));
    // One byte more than the bound tells a file that grew past it since its size was looked at.
    if (!readUpTo(file.get(), static_cast<size_t>(maxBytes) + 1, result)) {
        return result;
    }
    if (static_cast<int64_t>(result.bytes.size()) > maxBytes) {
        refuseAsTooLarge(result, maxBytes);
    }
    return result;
}

FileReadResult readFileTail(const std::string& path, int64_t maxBytes) {
    FileReadResult result;
    int64_t size = 0;
    FileDescriptor file(openRegularFile(path, size, result));
    if (file.get() < 0) {
        return result;
    }
    const int64_t start = size > maxBytes ? size - maxBytes : 0;
    if (start > 0 && ::lseek(file.get(), static_cast<off_t>(start), SEEK_SET) < 0) {
        result.error = systemErrorText(errno);
        return result;
    }
    result.beginningLeftOut = start > 0;
    readUpTo(file.get(), static_cast<size_t>(maxBytes), result);
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
    // Not through a link at the last step of the path, and not blocked by a pipe with no reader.
    FileDescriptor file(::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
    if (file.get() < 0) {
        return errno == ELOOP || errno == ENXIO ? kNotARegularFile : systemErrorText(errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return systemErrorText(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return kNotARegularFile;
    }
    if (!writeAll(file.get(), bytes) || !file.closeNow()) {
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

std::vector<std::string> regularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    const int folderFd = openRealFolder(folder);
    DIR* directory = folderFd >= 0 ? ::fdopendir(folderFd) : nullptr;
    if (directory == nullptr) {
        if (folderFd >= 0) {
            ::close(folderFd);
        }
        return names;
    }
    while (const dirent* entry = ::readdir(directory)) {
        struct stat info {};
        if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(directory);
    return names;
}

std::string removeFileIn(const std::string& folder, const std::string& name) {
    FileDescriptor folderFd(openRealFolder(folder));
    if (folderFd.get() < 0) {
        return errno == ELOOP || errno == ENOTDIR ? kNotARegularFile : systemErrorText(errno);
    }
    struct stat info {};
    if (::fstatat(folderFd.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return systemErrorText(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        return kNotARegularFile;
    }
    return ::unlinkat(folderFd.get(), name.c_str(), 0) == 0 ? std::string()
                                                            : systemErrorText(errno);
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
