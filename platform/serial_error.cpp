#include "platform/serial_error.h"

namespace quorel {

const char* describe(SerialError error) {
    switch (error) {
    case SerialError::None:
        return "no error";
    case SerialError::BadPortNumber:
        return "the port number has no device";
    case SerialError::PortAlreadyOpen:
        return "the port is open: close it before changing its number or parameters";
    case SerialError::LineNotApplied:
        return "the port is open but the device refused a line parameter";
    case SerialError::BadParameters:
        return "the parameter text is not baud,parity,data bits,stop bits";
    case SerialError::DeviceMissing:
        return "no device at the port's path";
    case SerialError::DeviceBusy:
        return "the device is in use or access to it is denied";
    case SerialError::NotSerialDevice:
        return "the path is not a serial device";
    case SerialError::OpenFailed:
        return "the device could not be opened";
    case SerialError::PortNotOpen:
        return "the port is not open";
    case SerialError::WriteFailed:
        return "the byte could not be written";
    }
    return "unknown serial error";
}

} // namespace quorel
