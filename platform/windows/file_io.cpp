#include "platform/file_io.h"

#include "platform/temporary_name.h"
#include "platform/windows/wide_text.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>
#include <windows.h>

namespace quorel {

namespace {

// Closes the handle on every return path.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now and reports whether the close succeeded.
    bool closeNow() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }
    // Gives the handle to the caller, who closes it.
    HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

  private:
    HANDLE handle_;
};

// Lists a folder; closes the search on every return path.
class FolderSearch {
  public:
    explicit FolderSearch(const std::string& folder) {
        std::wstring pattern = toWide(folder);
        if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') {
            pattern += L'\\';
        }
        pattern += L'*';
        handle_ = ::FindFirstFileW(pattern.c_str(), &entry_);
    }
    ~FolderSearch() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::FindClose(handle_);
        }
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;
    // The next entry other than "." and "..", or nullptr at the end.
    const WIN32_FIND_DATAW* next() {
        while (handle_ != INVALID_HANDLE_VALUE) {
            if (started_ && ::FindNextFileW(handle_, &entry_) == 0) {
                return nullptr;
            }
            started_ = true;
            const std::wstring_view name = entry_.cFileName;
            if (name != L"." && name != L"..") {
                return &entry_;
            }
        }
        return nullptr;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW entry_{};
    bool started_ = false;
};

std::string lastErrorText() {
    return windowsErrorText(::GetLastError());
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

int64_t nanosecondsOf(const FILETIME& time) {
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<int64_t>(ticks) * 100; // ticks of 100 ns
}

// The letters and digits a temporary's name ends with.
constexpr std::string_view kRandomCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// A new temporary beside path, created so that no other file of that name is overwritten.
HANDLE createTemporaryBeside(const std::string& path, std::wstring& temporary) {
    const size_t separator = path.find_last_of("\\/");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const std::string stem =
        path.substr(0, nameStart) + "." + path.substr(nameStart) + std::string(kTemporaryMark);
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<size_t> pick(0, kRandomCharacters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = stem;
        for (size_t i = 0; i < kTemporaryRandomLength; ++i) {
            name += kRandomCharacters[pick(random)];
        }
        temporary = toWide(name);
        const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// What is not a regular file: a folder, a device, or a reparse point (a symbolic link or a
// junction), whose target may be anywhere.
constexpr DWORD kNotRegular =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') {
        folder += '\\';
    }
    return folder;
}

// A folder itself, not a reparse point that leads to one.
bool isRealFolder(std::string folder) {
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    const DWORD attributes = ::GetFileAttributesW(toWide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Opens path for reading when it names a file on a disk (not a folder, a pipe or a device) and
// gives its size; an invalid handle, with the reason in result, otherwise.
HANDLE openRegularFile(const std::string& path, int64_t& size, FileReadResult& result) {
    const std::wstring widePath = toWide(path);
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result.error = kNotARegularFile;
        return INVALID_HANDLE_VALUE;
    }
    FileHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        result.error = lastErrorText();
        return INVALID_HANDLE_VALUE;
    }
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        result.error = kNotARegularFile;
        return INVALID_HANDLE_VALUE;
    }
    LARGE_INTEGER fileSize{};
    if (::GetFileSizeEx(file.get(), &fileSize) == 0) {
        result.error = lastErrorText();
        return INVALID_HANDLE_VALUE;
    }
    size = fileSize.QuadPart;
    return file.release();
}

// Appends the file's bytes from where it stands to result, until its end or until limit bytes
// are held. False, with the reason and no bytes in result, on a failed read.
bool readUpTo(HANDLE file, size_t limit, FileReadResult& result) {
    char buffer[16384];
    while (result.bytes.size() < limit) {
        const DWORD wanted =
            static_cast<DWORD>(std::min(sizeof buffer, limit - result.bytes.size()));
        DWORD got = 0;
        if (::ReadFile(file, buffer, wanted, &got, nullptr) == 0) {
            result.error = lastErrorText();
            result.bytes.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        result.bytes.append(buffer, got);
    }
    return true;
}

void refuseAsTooLarge(FileReadResult& result, int64_t maxBytes) {
    result.bytes.clear();
    result.bytes.shrink_to_fit();
    result.error = tooLargeFileText(maxBytes);
    result.tooLarge = true;
}

} // namespace

std::string systemErrorText(int errorNumber) {
    return std::strerror(errorNumber);
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    FileHandle file(::CreateFileW(toWide(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || ::GetFileInformationByHandle(file.get(), &info) == 0) {
        return std::nullopt;
    }
    return FileStamp{
        info.dwVolumeSerialNumber,
        (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
        static_cast<int64_t>((static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
        nanosecondsOf(info.ftLastWriteTime)};
}

FileReadResult readWholeFile(const std::string& path, int64_t maxBytes) {
    FileReadResult result;
    int64_t size = 0;
    FileHandle file(openRegularFile(path, size, result));
    if (!file.valid()) {
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
    FileHandle file(openRegularFile(path, size, result));
    if (!file.valid()) {
        return result;
    }
    const int64_t start = size > maxBytes ? size - maxBytes : 0;
    LARGE_INTEGER offset{};
    offset.QuadPart = start;
    if (start > 0 && ::SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN) == 0) {
        result.error = lastErrorText();
        return result;
    }
    result.beginningLeftOut = start > 0;
    readUpTo(file.get(), static_cast<size_t>(maxBytes), result);
    return result;
}

std::string replaceFileContent(const std::string& path, std::string_view bytes) {
    std::wstring temporary;
    FileHandle file(createTemporaryBeside(path, temporary));
    if (!file.valid()) {
        return lastErrorText();
    }
    if (!writeAll(file.get(), bytes) || ::FlushFileBuffers(file.get()) == 0 || !file.closeNow()) {
        const std::string error = lastErrorText();
        ::DeleteFileW(temporary.c_str());
        return error;
    }
    // Replaces the file in one step, and returns only once the change is on the disk.
    if (::MoveFileExW(temporary.c_str(), toWide(path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const std::string error = lastErrorText();
        ::DeleteFileW(temporary.c_str());
        return error;
    }
    return {};
}

std::string appendToFile(const std::string& path, std::string_view bytes) {
    // The reparse point itself is opened, not what it points to, so that a link is seen and
    // refused.
    FileHandle file(::CreateFileW(toWide(path).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    if (!file.valid()) {
        return lastErrorText();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file.get(), &info) == 0) {
        return lastErrorText();
    }
    if ((info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        ::GetFileType(file.get()) != FILE_TYPE_DISK) {
        return kNotARegularFile;
    }
    if (!writeAll(file.get(), bytes) || !file.closeNow()) {
        return lastErrorText();
    }
    return {};
}

std::string createFolder(const std::string& path) {
    const std::wstring widePath = toWide(path);
    if (::CreateDirectoryW(widePath.c_str(), nullptr) != 0) {
        return {};
    }
    const DWORD error = ::GetLastError();
    const DWORD attributes = ::GetFileAttributesW(widePath.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {};
    }
    return windowsErrorText(error);
}

std::vector<std::string> regularFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (!isRealFolder(folder)) {
        return names;
    }
    FolderSearch search(folder);
    while (const WIN32_FIND_DATAW* entry = search.next()) {
        if ((entry->dwFileAttributes & kNotRegular) == 0) {
            names.push_back(fromWide(entry->cFileName));
        }
    }
    return names;
}

std::string removeFileIn(const std::string& folder, const std::string& name) {
    if (!isRealFolder(folder)) {
        return kNotARegularFile;
    }
    const std::wstring path = toWide(withSeparator(folder) + name);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return lastErrorText();
    }
    if ((attributes & kNotRegular) != 0) {
        return kNotARegularFile;
    }
    return ::DeleteFileW(path.c_str()) != 0 ? std::string() : lastErrorText();
}

bool FileExists(const std::string& path) {
    if (path.find_first_not_of(" \t") == std::string::npos ||
        path.find('\0') != std::string::npos) {
        return false;
    }
    // An ordinary file: not a folder, and not hidden (Windows' own mark for hidden files).
    const DWORD attributes = ::GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DEVICE)) == 0;
}

void removeStaleTemporaries(const std::string& folder, double olderThanSeconds) {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const std::string prefix = withSeparator(folder);
    FolderSearch search(folder);
    while (const WIN32_FIND_DATAW* entry = search.next()) {
        const std::string name = fromWide(entry->cFileName);
        if (!isTemporaryName(name) || (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            continue;
        }
        const double age =
            static_cast<double>(nanosecondsOf(now) - nanosecondsOf(entry->ftLastWriteTime)) / 1e9;
        if (age > olderThanSeconds) {
            ::DeleteFileW(toWide(prefix + name).c_str());
        }
    }
}

} // namespace quorel
