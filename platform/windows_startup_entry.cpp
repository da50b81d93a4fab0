#include "platform/windows_startup_entry.h"

#include "platform/xdg_startup_entry.h"

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

} // namespace

WindowsStartupEntry::~WindowsStartupEntry() {
    close();
}

bool WindowsStartupEntry::openForCreate() {
    close();
    HKEY key = nullptr;
    if (::RegCreateKeyA(HKEY_CURRENT_USER, kRunKey, &key) != ERROR_SUCCESS) {
        return false;
    }
    key_ = key;
    return true;
}

bool WindowsStartupEntry::setCommand(const std::string& programPath) {
    const std::string command = toAnsi(windowsRunCommand(programPath));
    // REG_SZ data is counted with its terminating NUL.
    return ::RegSetValueExA(key_, kValueName, 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>(command.size() + 1)) == ERROR_SUCCESS;
}

bool WindowsStartupEntry::openExisting() {
    close();
    HKEY key = nullptr;
    // Only the handle tells whether the key is open.
    ::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &key);
    key_ = key;
    return key_ != nullptr;
}

bool WindowsStartupEntry::deleteCommand() {
    return ::RegDeleteValueA(key_, kValueName) == ERROR_SUCCESS;
}

void WindowsStartupEntry::close() {
    if (key_ != nullptr) {
        ::RegCloseKey(key_);
        key_ = nullptr;
    }
}

} // namespace quorel
