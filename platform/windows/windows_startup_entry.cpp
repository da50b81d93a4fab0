#include "platform/windows/windows_startup_entry.h"

#include "platform/windows/wide_text.h"
#include "platform/windows_run_command.h"

#include <windows.h>

namespace quorel {

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kValueName = "Gestion Quorel";

// The ANSI functions take the system's code page; the program's texts are UTF-8. A text that is
// not valid UTF-8 is passed on as it is.
std::string toAnsi(const std::string& utf8) {
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                 static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0) {
        return utf8;
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                          wide.data(), wideLength);
    const int ansiLength =
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (ansiLength <= 0) {
        return utf8;
    }
    std::string ansi(static_cast<size_t>(ansiLength), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), ansiLength, nullptr,
                          nullptr);
    return ansi;
}

// The system's text for a registry result; empty for ERROR_SUCCESS.
std::string systemMessage(LONG result) {
    return result == ERROR_SUCCESS ? std::string()
                                   : windowsErrorText(static_cast<unsigned long>(result));
}

} // namespace

WindowsStartupEntry::~WindowsStartupEntry() {
    close();
}

std::string WindowsStartupEntry::openForCreate() {
    close();
    HKEY key = nullptr;
    const LONG result = ::RegCreateKeyA(HKEY_CURRENT_USER, kRunKey, &key);
    if (result != ERROR_SUCCESS) {
        return systemMessage(result);
    }
    key_ = key;
    return {};
}

std::string WindowsStartupEntry::setCommand(const std::string& programPath) {
    const std::string command = toAnsi(windowsRunCommand(programPath));
    // REG_SZ data is counted with its terminating NUL.
    return systemMessage(::RegSetValueExA(key_, kValueName, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(command.c_str()),
                                          static_cast<DWORD>(command.size() + 1)));
}

std::string WindowsStartupEntry::openExisting() {
    close();
    HKEY key = nullptr;
    // Only the handle tells whether the key is open.
    const LONG result = ::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &key);
    key_ = key;
    if (key_ == nullptr) {
        return systemMessage(result == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : result);
    }
    return {};
}

std::string WindowsStartupEntry::deleteCommand() {
    return systemMessage(::RegDeleteValueA(key_, kValueName));
}

void WindowsStartupEntry::close() {
    if (key_ != nullptr) {
        ::RegCloseKey(key_);
        key_ = nullptr;
    }
}

} // namespace quorel
