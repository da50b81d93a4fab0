#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// The bytes of a file, or the system's reason why they could not be read.
struct [[nodiscard]] FileReadResult {
    std::string bytes;
    std::string error; // empty when the file was read
    // The file was refused for being larger than the reader's bound; error says so.
    bool tooLarge = false;
    // readFileTail only: the file holds more bytes before those read.
    bool beginningLeftOut = false;

    bool ok() const { return error.empty(); }
};

// Reads a whole regular file; anything else (a folder, a FIFO, a device) is refused without
// waiting. A file of more than maxBytes bytes, or one that grows past them while it is read, is
// refused with tooLarge set, before its bytes are read: a huge file costs no more than a look at
// its size. The file is closed again before the call returns.
[[nodiscard]] FileReadResult readWholeFile(const std::string& path, int64_t maxBytes);

// Reads the last maxBytes bytes of a regular file, or all of it when it is no larger, without
// reading what comes before them: the end of a huge journal costs what that of a small one does.
// beginningLeftOut tells a file that holds more. Anything but a regular file is refused as by
// readWholeFile.
[[nodiscard]] FileReadResult readFileTail(const std::string& path, int64_t maxBytes);

// Why a file over maxBytes is refused: "fichier trop volumineux (plus de 256 Kio)".
[[nodiscard]] std::string tooLargeFileText(int64_t maxBytes);

// Replaces the file's content with bytes, or creates it. The bytes go to a temporary file
// ".<file name>.quorel-tmp-XXXXXX" in the same folder, which is then renamed over the file: the
// previous content is never lost, even if the disk fills up or the write fails half-way. Through a
// symbolic link (or a chain of them) the link's final target is replaced and the link stays.
// Returns the system's reason on failure, or an empty text on success.
[[nodiscard]] std::string replaceFileContent(const std::string& path, std::string_view bytes);

// Removes the temporaries of replaceFileContent left in folder (not its subfolders) by a save that
// was killed half-way. Only those older than olderThanSeconds go, so that a save running now in
// another copy of the program keeps its own. Errors are ignored: a leftover is tried again at the
// next start.
void removeStaleTemporaries(const std::string& folder, double olderThanSeconds = 60);

// Adds bytes at the end of the file, created if missing, in one write and without waiting for the
// disk: lines of the journal go out while a bell rings. Only a regular file takes them: a symbolic
// link in its place (which could make a program run by an administrator append to any file), a
// named pipe or a device is refused. Returns the reason on failure, or an empty text on success.
[[nodiscard]] std::string appendToFile(const std::string& path, std::string_view bytes);

// Makes the folder (not its parents). An empty text on success or when the folder exists already.
[[nodiscard]] std::string createFolder(const std::string& path);

// The names of the regular files of folder, when folder is a real folder and not a symbolic link
// to one; none otherwise, or when it cannot be read. Links and subfolders are left out.
[[nodiscard]] std::vector<std::string> regularFilesIn(const std::string& folder);

// Removes the regular file name of folder, never through a symbolic link: neither folder nor the
// file may be one. The reason on failure, or an empty text.
[[nodiscard]] std::string removeFileIn(const std::string& folder, const std::string& name);

// What tells one state of a file from another without reading it: the file's identity (a file
// replaced through a rename is a new one), its size and its modification time.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path; nullopt when there is no such file or it cannot be looked up.
[[nodiscard]] std::optional<FileStamp> fileStamp(const std::string& path);

// True when path names an existing ordinary file that is not hidden (on Linux: its name does not
// begin with a dot) and is not a folder. A path that is blank once its leading and trailing
// blanks are removed, and any failure of the look-up, give false; it never reports an error.
[[nodiscard]] bool FileExists(const std::string& path);

// The system's text for an errno value.
std::string systemErrorText(int errorNumber);

// Why a path that names something other than a regular file is refused.
inline constexpr const char* kNotARegularFile = "ce n'est pas un fichier ordinaire";

} // namespace quorel
