#include "platform/windows/registry_settings_store.h"

#include "platform/windows/wide_text.h"

#include <utility>
#include <windows.h>

namespace quorel {

RegistrySettingsStore::RegistrySettingsStore(std::string root) : root_(std::move(root)) {}

std::string RegistrySettingsStore::keyPath(const std::string& application,
                                           const std::string& section) const {
    return root_ + "\\" + application + "\\" + section;
}

std::string RegistrySettingsStore::read(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& fallback) {
    const std::wstring subKey = toWide(keyPath(application, section));
    const std::wstring name = toWide(key);
    // First the size, then the value; a value changed in between is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = 0;
        LONG result = ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                     nullptr, nullptr, &bytes);
        if (result != ERROR_SUCCESS) {
            return fallback;
        }
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        result = ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ,
                                nullptr, value.data(), &bytes);
        if (result == ERROR_SUCCESS) {
            value.resize(wcsnlen(value.c_str(), value.size()));
            return fromWide(value);
        }
        if (result != ERROR_MORE_DATA) {
            return fallback;
        }
    }
    return fallback;
}

std::string RegistrySettingsStore::write(const std::string& application, const std::string& section,
                                         const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    LONG result =
        ::RegCreateKeyExW(HKEY_CURRENT_USER, toWide(keyPath(application, section)).c_str(), 0,
                          nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (result != ERROR_SUCCESS) {
        return windowsErrorText(static_cast<unsigned long>(result));
    }
    const std::wstring text = toWide(value);
    // REG_SZ data is counted in bytes, with its terminating NUL.
    result = ::RegSetValueExW(handle, toWide(key).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
    return result == ERROR_SUCCESS ? std::string()
                                   : windowsErrorText(static_cast<unsigned long>(result));
}

} // namespace quorel
