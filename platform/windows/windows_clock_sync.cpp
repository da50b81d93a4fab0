#include "platform/windows/windows_clock_sync.h"

#include <windows.h>

namespace quorel {

ClockSync WindowsClockSync::read() {
    wchar_t type[32] = {};
    DWORD bytes = sizeof type;
    const LONG result = ::RegGetValueW(HKEY_LOCAL_MACHINE,
                                       L"SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters",
                                       L"Type", RRF_RT_REG_SZ, nullptr, type, &bytes);
    if (result == ERROR_SUCCESS && ::lstrcmpiW(type, L"NoSync") == 0) {
        return {ClockSync::State::Unsynchronised, 0, 0};
    }
    return {};
}

} // namespace quorel
