#pragma once

namespace quorel {

// Every failure of the serial layer, as the number shown on the status line ("Erreur n° ...").
// No call may drop one unseen.
enum class [[nodiscard]] SerialError : int{
    None = 0,
    BadPortNumber = 8002,   // the port number has no device (below 1)
    PortAlreadyOpen = 8005, // port number or parameters changed while the port is open
    LineNotApplied = 8013,  // the port is open but the device refused a line parameter
    BadParameters = 8015,   // the parameter text is not "baud,parity,data bits,stop bits"
    DeviceMissing = 8020,   // no device at the port's path
    DeviceBusy = 8021,      // the device is in use or access to it is denied
    NotSerialDevice = 8022, // the path names something that is not a serial device
    OpenFailed = 8023,      // the device could not be opened for another reason
    PortNotOpen = 8030,     // a byte was written while the port is closed
    WriteFailed = 8031,     // the byte could not be written (the device has gone)
};

} // namespace quorel
