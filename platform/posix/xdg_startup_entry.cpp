#include "platform/posix/xdg_startup_entry.h"

#include "platform/file_io.h"

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

namespace quorel {

namespace {

// Characters that make an Exec argument need double quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped with a backslash inside a quoted Exec argument.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

// One argument of an Exec command line: quoted when needed, "%" doubled so that it is not taken
// for a field code.
std::string execArgument(const std::string& argument) {
    const bool needsQuotes = argument.find_first_of(kReservedInExec) != std::string::npos;
    std::string out;
    if (needsQuotes) {
        out += '"';
    }
    for (const char c : argument) {
        if (c == '%') {
            out += "%%";
            continue;
        }
        if (needsQuotes && kEscapedInQuotes.find(c) != std::string_view::npos) {
            out += '\\';
        }
        out += c;
    }
    if (needsQuotes) {
        out += '"';
    }
    return out;
}

// The escaping of every string value of a desktop entry, applied on top of the Exec quoting.
std::string stringValue(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

XdgStartupEntry::XdgStartupEntry(std::string configFolder)
    : configFolder_(std::move(configFolder)) {
    while (configFolder_.size() > 1 && configFolder_.back() == '/') {
        configFolder_.pop_back();
    }
}

std::string XdgStartupEntry::folder() const {
    return configFolder_ + "/autostart";
}

std::string XdgStartupEntry::filePath() const {
    return folder() + "/Gestion Quorel.desktop";
}

std::string XdgStartupEntry::openForCreate() {
    std::error_code error;
    std::filesystem::create_directories(folder(), error);
    // The creation's own reason says more than the missing folder's.
    const std::string reason = folderReason();
    return reason.empty() || !error ? reason : error.message();
}

std::string XdgStartupEntry::setCommand(const std::string& programPath) {
    return replaceFileContent(filePath(), desktopEntryFor(programPath));
}

std::string XdgStartupEntry::openExisting() {
    return folderReason();
}

std::string XdgStartupEntry::deleteCommand() {
    std::error_code error;
    // Never remove a folder that happens to carry the entry's name.
    const auto status = std::filesystem::symlink_status(filePath(), error);
    if (error) {
        return error.message();
    }
    if (!std::filesystem::exists(status)) {
        return systemErrorText(ENOENT);
    }
    if (std::filesystem::is_directory(status)) {
        return systemErrorText(EISDIR);
    }
    if (!std::filesystem::remove(filePath(), error) && !error) {
        return systemErrorText(ENOENT); // gone meanwhile
    }
    return error ? error.message() : std::string();
}

std::string XdgStartupEntry::folderReason() const {
    std::error_code error;
    if (std::filesystem::is_directory(folder(), error)) {
        return {};
    }
    return error ? error.message() : systemErrorText(ENOTDIR);
}

std::string desktopExecValue(const std::string& programPath) {
    return stringValue(execArgument(programPath));
}

std::string desktopEntryFor(const std::string& programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Gestion Quorel\n"
           "Exec=" +
           desktopExecValue(programPath) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace quorel
