#include "platform/serial_device.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

namespace quorel {

namespace {

HANDLE handleOf(DeviceHandle device) {
    return reinterpret_cast<HANDLE>(device);
}

// A byte that the driver has not taken after this long counts as refused (a stalled module).
constexpr DWORD kWriteWaitMilliseconds = 50;

} // namespace

SerialError checkDevicePath(const std::string& path) {
    // "COM3", or "\\.\COM10" as ports above 9 must be written.
    std::wstring name = toWide(path);
    if (name.rfind(L"\\\\.\\", 0) == 0) {
        name.erase(0, 4);
    }
    wchar_t target[512] = {};
    if (name.empty() || ::QueryDosDeviceW(name.c_str(), target, 512) == 0) {
        return SerialError::DeviceMissing;
    }
    return SerialError::None;
}

DeviceWrite writeDeviceByte(DeviceHandle device, uint8_t byte) {
    // Qt opens the port for overlapped input and output, so every write carries its own event.
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (overlapped.hEvent == nullptr) {
        return DeviceWrite::Failed;
    }
    DWORD written = 0;
    DeviceWrite result = DeviceWrite::Failed;
    if (::WriteFile(handleOf(device), &byte, 1, nullptr, &overlapped) != 0) {
        result = DeviceWrite::Written;
    } else if (::GetLastError() == ERROR_IO_PENDING) {
        if (::WaitForSingleObject(overlapped.hEvent, kWriteWaitMilliseconds) != WAIT_OBJECT_0) {
            ::CancelIoEx(handleOf(device), &overlapped);
        }
        const bool done = ::GetOverlappedResult(handleOf(device), &overlapped, &written, TRUE) != 0;
        result = done && written == 1                                  ? DeviceWrite::Written
                 : ::GetLastError() == ERROR_OPERATION_ABORTED || done ? DeviceWrite::Busy
                                                                       : DeviceWrite::Failed;
    }
    ::CloseHandle(overlapped.hEvent);
    return result;
}

bool outputPending(DeviceHandle device) {
    DWORD errors = 0;
    COMSTAT status{};
    return ::ClearCommError(handleOf(device), &errors, &status) != 0 && status.cbOutQue > 0;
}

void discardOutput(DeviceHandle device) {
    ::PurgeComm(handleOf(device), PURGE_TXABORT | PURGE_TXCLEAR);
}

void discardInput(DeviceHandle device) {
    ::PurgeComm(handleOf(device), PURGE_RXABORT | PURGE_RXCLEAR);
}

DeviceState deviceState(DeviceHandle device) {
    DWORD errors = 0;
    COMSTAT status{};
    // The driver refuses the question once the device is gone (a USB module unplugged).
    if (::ClearCommError(handleOf(device), &errors, &status) == 0) {
        return DeviceState::HungUp;
    }
    return status.cbInQue > 0 ? DeviceState::InputWaiting : DeviceState::Quiet;
}

void pauseBriefly() {
    ::Sleep(2);
}

} // namespace quorel
