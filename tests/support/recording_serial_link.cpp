#include "tests/support/recording_serial_link.h"

namespace quorel::test {

SerialError RecordingSerialLink::setPortNumber(int16_t number) {
    calls.push_back("port " + std::to_string(number));
    if (setPortNumberError == SerialError::None) {
        portNumber = number;
    }
    return setPortNumberError;
}

SerialError RecordingSerialLink::setParameters(const std::string& text) {
    calls.push_back("parameters " + text);
    if (setParametersError == SerialError::None) {
        parameters = text;
    }
    return setParametersError;
}

SerialError RecordingSerialLink::open() {
    calls.push_back("open");
    open_ = openError == SerialError::None || openError == SerialError::LineNotApplied;
    holdsDevice_ = open_;
    openings_ += open_ ? 1 : 0;
    return openError;
}

void RecordingSerialLink::close() {
    calls.push_back("close");
    open_ = false;
}

SerialError RecordingSerialLink::writeByte(uint8_t byte) {
    if (const SerialError error = reconnect(); error != SerialError::None) {
        return error;
    }
    if (writeError != SerialError::None) {
        return writeError;
    }
    sent.push_back({byte, clock_ != nullptr ? clock_->monotonicSeconds() : 0.0});
    if (onWrite) {
        onWrite(byte);
    }
    return SerialError::None;
}

SerialError RecordingSerialLink::reconnect() {
    if (!open_) {
        return SerialError::PortNotOpen;
    }
    if (!holdsDevice_) {
        if (reopenError != SerialError::None) {
            return reopenError;
        }
        holdsDevice_ = true;
        ++openings_;
    }
    return SerialError::None;
}

std::vector<uint8_t> RecordingSerialLink::bytes() const {
    std::vector<uint8_t> result;
    for (const SentByte& s : sent) {
        result.push_back(s.byte);
    }
    return result;
}

} // namespace quorel::test
