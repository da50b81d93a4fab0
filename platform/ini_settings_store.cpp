#include "platform/ini_settings_store.h"

#include "platform/file_io.h"
#include "platform/user_folders.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace quorel {

namespace {

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The file's lines, without the UTF-8 byte-order mark some editors (Windows Notepad) put first.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool isSectionHeader(const std::string& line, std::string* name) {
    const std::string text = trimmed(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
        return false;
    }
    *name = trimmed(text.substr(1, text.size() - 2));
    return true;
}

bool isKeyLine(const std::string& line, std::string* key, std::string* value) {
    const std::string text = trimmed(line);
    if (text.empty() || text[0] == ';' || text[0] == '#') {
        return false;
    }
    const size_t equals = text.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    *key = trimmed(text.substr(0, equals));
    *value = trimmed(text.substr(equals + 1));
    return true;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += '\n';
    }
    return bytes;
}

} // namespace

IniSettingsStore::IniSettingsStore(std::string folder) : folder_(std::move(folder)) {}

std::string IniSettingsStore::filePath(const std::string& application) const {
    return folder_ + "/" + application + ".ini";
}

std::string IniSettingsStore::read(const std::string& application, const std::string& section,
                                   const std::string& key, const std::string& fallback) {
    const FileReadResult file = readWholeFile(filePath(application), kIniFileMaxBytes);
    if (!file.ok()) {
        return fallback;
    }
    std::string current;
    for (const std::string& line : splitLines(file.bytes)) {
        std::string name, lineKey, value;
        if (isSectionHeader(line, &name)) {
            current = name;
        } else if (current == section && isKeyLine(line, &lineKey, &value) && lineKey == key) {
            return value;
        }
    }
    return fallback;
}

std::string IniSettingsStore::write(const std::string& application, const std::string& section,
                                    const std::string& key, const std::string& value) {
    std::vector<std::string> lines;
    if (std::string error = readForChange(application, lines); !error.empty()) {
        return error;
    }
    const std::string newLine = key + "=" + value;
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (isSectionHeader(lines[i], &name) && name == section) {
            header = i;
            break;
        }
    }
    if (header == lines.size()) {
        if (!lines.empty() && !trimmed(lines.back()).empty()) {
            lines.push_back("");
        }
        lines.push_back("[" + section + "]");
        lines.push_back(newLine);
    } else {
        // A new key goes after the section's last key, before any blank lines that end it.
        size_t insertAt = header + 1;
        bool replaced = false;
        for (size_t i = header + 1; i < lines.size(); ++i) {
            std::string name, lineKey, lineValue;
            if (isSectionHeader(lines[i], &name)) {
                break;
            }
            if (isKeyLine(lines[i], &lineKey, &lineValue) && lineKey == key) {
                lines[i] = newLine;
                replaced = true;
                break;
            }
            if (!trimmed(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
        if (!replaced) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
        }
    }
    std::error_code ignored; // a folder that cannot be made fails the save, which says why
    std::filesystem::create_directories(folder_, ignored);
    return replaceFileContent(filePath(application), joinedLines(lines));
}

std::string IniSettingsStore::remove(const std::string& application, const std::string& section,
                                     const std::string& key) {
    std::vector<std::string> lines;
    if (std::string error = readForChange(application, lines); !error.empty()) {
        return error;
    }
    std::vector<std::string> kept;
    std::string current;
    for (const std::string& line : lines) {
        std::string name, lineKey, value;
        if (isSectionHeader(line, &name)) {
            current = name;
        } else if (current == section && isKeyLine(line, &lineKey, &value) && lineKey == key) {
            continue;
        }
        kept.push_back(line);
    }
    if (kept.size() == lines.size()) {
        return {};
    }
    return replaceFileContent(filePath(application), joinedLines(kept));
}

bool IniSettingsStore::holdsOnlySectionHeaders(const std::string& application) const {
    const FileReadResult file = readWholeFile(filePath(application), kIniFileMaxBytes);
    const std::vector<std::string> lines = splitLines(file.bytes);
    std::string name;
    return file.ok() && std::all_of(lines.begin(), lines.end(), [&name](const std::string& line) {
               return trimmed(line).empty() || isSectionHeader(line, &name);
           });
}

std::string IniSettingsStore::readForChange(const std::string& application,
                                            std::vector<std::string>& lines) const {
    const std::string path = filePath(application);
    const FileReadResult file = readWholeFile(path, kIniFileMaxBytes);
    std::error_code missing;
    // A store that cannot be read would lose its other settings if rewritten.
    if (!file.ok() && std::filesystem::symlink_status(path, missing).type() !=
                          std::filesystem::file_type::not_found) {
        return file.error;
    }
    lines = splitLines(file.bytes);
    return {};
}

IniSettingsStore userSettingsStore() {
    return IniSettingsStore(userConfigFolder());
}

} // namespace quorel
