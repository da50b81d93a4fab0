#pragma once

#include "platform/serial_link.h"
#include "relay/simulated_module.h"
#include "tests/support/fake_clock.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quorel::test {

struct SentByte {
    uint8_t byte;
    double at; // monotonic seconds of the fake clock when it was written
};

// A serial link that records what is asked of it. Failures can be set per operation.
class RecordingSerialLink final : public SerialLink {
  public:
    explicit RecordingSerialLink(FakeClock* clock = nullptr) : clock_(clock) {}

    bool isOpen() const override { return open_; }
    SerialError setPortNumber(int16_t number) override {
        calls.push_back("port " + std::to_string(number));
        return setPortNumberError;
    }
    SerialError setParameters(const std::string& text) override {
        calls.push_back("parameters " + text);
        return setParametersError;
    }
    SerialError open() override {
        calls.push_back("open");
        open_ = holdsDevice_ =
            openError == SerialError::None || openError == SerialError::LineNotApplied;
        openings_ += open_ ? 1 : 0;
        return openError;
    }
    void close() override { calls.push_back("close"), open_ = false; }
    using SerialLink::writeByte;
    SerialError writeByte(uint8_t byte, double deadlineSeconds) override {
        deadlines.push_back(deadlineSeconds);
        const SerialError error = reconnect();
        if (error != SerialError::None || writeError != SerialError::None) {
            return error != SerialError::None ? error : writeError;
        }
        sent.push_back({byte, clock_ != nullptr ? clock_->monotonicSeconds() : 0.0});
        onWrite ? onWrite(byte) : void();
        if (answer) {
            const std::vector<uint8_t> bytes = answer(byte);
            received.insert(received.end(), bytes.begin(), bytes.end());
        }
        return SerialError::None;
    }
    size_t read(uint8_t* into, size_t capacity) override {
        const size_t count = holdsDevice() ? std::min(capacity, received.size()) : 0;
        std::copy_n(received.begin(), count, into);
        received.erase(received.begin(), received.begin() + static_cast<long>(count));
        return count;
    }
    void discardInput() override { received.clear(); }
    SerialError reconnect() override {
        if (open_ && !holdsDevice_ && reopenError == SerialError::None) {
            holdsDevice_ = true, ++openings_;
        }
        return !open_ ? SerialError::PortNotOpen : holdsDevice_ ? SerialError::None : reopenError;
    }
    uint32_t openings() const override { return openings_; }

    // The device goes away (unplugged): the next byte or reconnect() opens it again, failing
    // with reopenError.
    void loseDevice() { holdsDevice_ = false; }
    bool holdsDevice() const { return open_ && holdsDevice_; }

    // The relay bytes written, without the module's queries.
    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> result;
        for (const SentByte& s : sent) {
            if (s.byte != 0x5A && s.byte != 0x5B) {
                result.push_back(s.byte);
            }
        }
        return result;
    }
    std::vector<SentByte> sent;
    // The deadline of every byte asked for, written or not.
    std::vector<double> deadlines;
    // Every call in order: "port 1", "parameters 4800,N,8,1", "open", "close".
    std::vector<std::string> calls;

    SerialError setPortNumberError = SerialError::None;
    SerialError setParametersError = SerialError::None;
    // open() returns this; the port is open afterwards only for None and LineNotApplied.
    SerialError openError = SerialError::None;
    SerialError writeError = SerialError::None;
    SerialError reopenError = SerialError::None;
    std::function<void(uint8_t)> onWrite;
    // What the module sends back for each byte written; by default what a USB-RLY02 answers
    // (identifier 10, version 1; the relays' states as the bytes written set them). Empty: a
    // device that answers nothing.
    std::function<std::vector<uint8_t>(uint8_t)> answer = [this](uint8_t byte) {
        return module.receive(byte);
    };
    SimulatedModule module;
    // Sent by the module, not read yet.
    std::vector<uint8_t> received;

  private:
    FakeClock* clock_;
    bool open_ = false;
    bool holdsDevice_ = false;
    uint32_t openings_ = 0;
};

} // namespace quorel::test
