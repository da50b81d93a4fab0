#include "platform/windows/serial_device.h"

#include "platform/windows/wide_text.h"

#include <algorithm>
#include <windows.h>

namespace quorel {

namespace {

// A byte that the driver has not taken after this long counts as refused (a stalled module).
constexpr DWORD kWriteWaitMilliseconds = 50;

// A bare port name goes through the device namespace, the only way to reach COM10 and above.
std::wstring systemPath(const std::string& path) {
    std::wstring name = toWide(path);
    if (name.find_first_of(L"\\/:") == std::wstring::npos) {
        name.insert(0, L"\\\\.\\");
    }
    return name;
}

SerialError openErrorOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
        return SerialError::DeviceMissing;
    case ERROR_ACCESS_DENIED: // also what another program holding the port gives
    case ERROR_SHARING_VIOLATION:
        return SerialError::DeviceBusy;
    default:
        return SerialError::OpenFailed;
    }
}

BYTE parityOf(Parity parity) {
    switch (parity) {
    case Parity::Even:
        return EVENPARITY;
    case Parity::Odd:
        return ODDPARITY;
    case Parity::Mark:
        return MARKPARITY;
    case Parity::Space:
        return SPACEPARITY;
    case Parity::None:
        break;
    }
    return NOPARITY;
}

BYTE stopBitsOf(StopBits stopBits) {
    switch (stopBits) {
    case StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case StopBits::Two:
        return TWOSTOPBITS;
    case StopBits::One:
        break;
    }
    return ONESTOPBIT;
}

// Raw bytes at the line's rate and framing, no flow control; DTR and RTS raised, as a terminal
// device raises them when it is opened.
bool applyLine(HANDLE port, const LineParameters& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (::GetCommState(port, &dcb) == 0) {
        return false;
    }
    dcb.BaudRate = static_cast<DWORD>(line.baud);
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = parityOf(line.parity);
    dcb.StopBits = stopBitsOf(line.stopBits);
    dcb.fBinary = TRUE;
    dcb.fParity = line.parity != Parity::None;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    // The writes wait on their own deadline; a read returns at once with what has come.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    return ::SetCommState(port, &dcb) != 0 && ::SetCommTimeouts(port, &timeouts) != 0;
}

} // namespace

SerialError SystemSerialDevice::open(const std::string& path, const LineParameters& line) {
    close();
    // Not shared: a second open of the port fails until this one closes it.
    const HANDLE port = ::CreateFileW(systemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return openErrorOf(::GetLastError());
    }
    // A plain file or another kind of device has no line to ask about.
    DCB probe{};
    probe.DCBlength = sizeof probe;
    if (::GetCommState(port, &probe) == 0) {
        ::CloseHandle(port);
        return SerialError::NotSerialDevice;
    }
    handle_ = port;
    return applyLine(port, line) ? SerialError::None : SerialError::LineNotApplied;
}

DeviceWrite SystemSerialDevice::write(uint8_t byte) {
    // Opened for overlapped output, so every write carries its own event.
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) {
        return DeviceWrite::Failed;
    }
    const HANDLE port = static_cast<HANDLE>(handle_);
    DWORD written = 0;
    DeviceWrite result = DeviceWrite::Failed;
    if (::WriteFile(port, &byte, 1, nullptr, &overlapped) != 0) {
        result = DeviceWrite::Written;
    } else if (::GetLastError() == ERROR_IO_PENDING) {
        // Not taken in time: cancelled, so that it never leaves late.
        if (::WaitForSingleObject(overlapped.hEvent, kWriteWaitMilliseconds) != WAIT_OBJECT_0) {
            ::CancelIoEx(port, &overlapped);
        }
        const bool done = ::GetOverlappedResult(port, &overlapped, &written, TRUE) != 0;
        result = done && written == 1                                  ? DeviceWrite::Written
                 : ::GetLastError() == ERROR_OPERATION_ABORTED || done ? DeviceWrite::Busy
                                                                       : DeviceWrite::Failed;
    }
    ::CloseHandle(overlapped.hEvent);
    return result;
}

bool SystemSerialDevice::outputPending() {
    DWORD errors = 0;
    COMSTAT status{};
    return ::ClearCommError(static_cast<HANDLE>(handle_), &errors, &status) != 0 &&
           status.cbOutQue > 0;
}

void SystemSerialDevice::discardOutput() {
    ::PurgeComm(static_cast<HANDLE>(handle_), PURGE_TXABORT | PURGE_TXCLEAR);
}

bool SystemSerialDevice::hungUp() {
    if (handle_ == nullptr) {
        return false;
    }
    DWORD errors = 0;
    COMSTAT status{};
    // The driver refuses the question once the device is gone (a USB module unplugged).
    if (::ClearCommError(static_cast<HANDLE>(handle_), &errors, &status) == 0) {
        return true;
    }
    return false;
}

size_t SystemSerialDevice::read(uint8_t* into, size_t capacity) {
    const HANDLE port = static_cast<HANDLE>(handle_);
    DWORD errors = 0;
    COMSTAT status{};
    if (port == nullptr || ::ClearCommError(port, &errors, &status) == 0 || status.cbInQue == 0) {
        return 0;
    }
    // Only what the driver holds already is asked for, so the read completes at once.
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(status.cbInQue, capacity));
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) {
        return 0;
    }
    DWORD count = 0;
    if (::ReadFile(port, into, wanted, nullptr, &overlapped) == 0 &&
        ::GetLastError() == ERROR_IO_PENDING &&
        ::WaitForSingleObject(overlapped.hEvent, kWriteWaitMilliseconds) != WAIT_OBJECT_0) {
        ::CancelIoEx(port, &overlapped);
    }
    if (::GetOverlappedResult(port, &overlapped, &count, TRUE) == 0) {
        count = 0;
    }
    ::CloseHandle(overlapped.hEvent);
    return count;
}

void SystemSerialDevice::discardInput() {
    if (handle_ != nullptr) {
        ::PurgeComm(static_cast<HANDLE>(handle_), PURGE_RXABORT | PURGE_RXCLEAR);
    }
}

void SystemSerialDevice::close() {
    if (handle_ == nullptr) {
        return;
    }
    // Bytes still queued are stale: dropped rather than waited for.
    discardOutput();
    ::CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

} // namespace quorel
