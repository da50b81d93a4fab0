#include "platform/port_devices.h"
#include "relay/device_serial_link.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"

#include <deque>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using Bytes = std::vector<uint8_t>;

// A device whose driver and line the test plays: it may refuse bytes, keep the ones it took
// queued (a USB adapter whose module stopped reading), die under the link or hang up.
struct FakeDevice final : SerialDevice {
    SerialError open(const std::string& path, const LineParameters&) override {
        EXPECT_FALSE(isOpen) << "opened twice";
        opened.push_back(path);
        isOpen = openError == SerialError::None || openError == SerialError::LineNotApplied;
        gone = false;
        return openError;
    }
    DeviceWrite write(uint8_t byte) override {
        EXPECT_TRUE(isOpen);
        const DeviceWrite result = writes.empty() ? DeviceWrite::Written : writes.front();
        if (!writes.empty()) {
            writes.pop_front();
        }
        if (result == DeviceWrite::Written) {
            (holdsOutput ? queued : delivered).push_back(byte);
        }
        return result;
    }
    bool outputPending() override { return !queued.empty(); }
    void discardOutput() override {
        discarded.insert(discarded.end(), queued.begin(), queued.end());
        queued.clear();
    }
    size_t read(uint8_t*, size_t) override { return 0; }
    void discardInput() override {}
    bool hungUp() override { return gone; }
    void close() override { isOpen = false; }

    SerialError openError = SerialError::None;
    std::deque<DeviceWrite> writes; // what the next writes return; Written once they run out
    bool holdsOutput = false;
    bool gone = false;
    bool isOpen = false;
    std::vector<std::string> opened;
    Bytes queued, delivered, discarded;
};

struct DeviceLink : ::testing::Test {
    void SetUp() override {
        store.values[std::string(kStoreApplication) + "/" + kPortsSection + "/COM1"] = "relay";
        ASSERT_EQ(link.open(), SerialError::None);
    }
    test::MemorySettingsStore store;
    FakeDevice device;
    test::FakeClock clock;
    DeviceSerialLink link{store, device, clock};
};

TEST_F(DeviceLink, AByteThatCannotLeaveBeforeItsDeadlineIsDroppedNotDeliveredLate) {
    // Taken by the driver, but it never leaves: dropped from the queue at the deadline.
    device.holdsOutput = true;
    double start = clock.monotonicSeconds();
    EXPECT_EQ(link.writeByte(0x65), SerialError::WriteFailed);
    EXPECT_NEAR(clock.monotonicSeconds() - start, kByteDeadline, 0.005);
    EXPECT_EQ(device.discarded, Bytes{0x65});
    EXPECT_TRUE(device.queued.empty());
    device.holdsOutput = false;
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(device.delivered, Bytes{0x66});

    // Refused until the shut-down's deadline; refused for a few tries only, then sent.
    device.writes.assign(1000, DeviceWrite::Busy);
    start = clock.monotonicSeconds();
    EXPECT_EQ(link.writeByte(0x6F, 0.25), SerialError::WriteFailed);
    EXPECT_NEAR(clock.monotonicSeconds() - start, 0.25, 0.005);
    device.writes.assign(10, DeviceWrite::Busy);
    EXPECT_EQ(link.writeByte(0x70), SerialError::None);
    EXPECT_EQ(device.delivered, (Bytes{0x66, 0x70}));
    EXPECT_EQ(device.discarded, Bytes{0x65});
    EXPECT_EQ(link.openings(), 1u) << "a module that stopped reading is not opened again";
    EXPECT_TRUE(link.holdsDevice());
}

TEST_F(DeviceLink, ADeadHandleIsReopenedOnceForItsByteAndAHangUpIsSeenAtTheNextLook) {
    // The write fails on a handle that died unnoticed: reopened, and the byte sent again.
    device.writes = {DeviceWrite::Failed};
    EXPECT_EQ(link.writeByte(0x65), SerialError::None);
    EXPECT_EQ(device.delivered, Bytes{0x65});
    EXPECT_EQ(link.openings(), 2u);
    // Failing on the new handle too: given up, not reopened again and again.
    device.writes = {DeviceWrite::Failed, DeviceWrite::Failed, DeviceWrite::Failed};
    EXPECT_EQ(link.writeByte(0x66), SerialError::WriteFailed);
    EXPECT_EQ(link.openings(), 3u);
    EXPECT_EQ(device.opened, (std::vector<std::string>{"relay", "relay", "relay"}));

    // Unplugged: the next look closes the handle; the link stays in service and tries again.
    device.writes.clear();
    device.gone = true;
    device.openError = SerialError::DeviceMissing;
    EXPECT_EQ(link.reconnect(), SerialError::DeviceMissing);
    EXPECT_FALSE(device.isOpen);
    EXPECT_FALSE(link.holdsDevice());
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(link.writeByte(0x6F), SerialError::DeviceMissing);
    device.openError = SerialError::LineNotApplied; // back, on a line it takes in part
    EXPECT_EQ(link.reconnect(), SerialError::None);
    EXPECT_EQ(link.reconnect(), SerialError::None);
    EXPECT_EQ(link.openings(), 4u);

    // A byte that finds the device hung up reopens it; failing there, it is not tried again.
    device.gone = true;
    device.writes = {DeviceWrite::Failed, DeviceWrite::Written};
    EXPECT_EQ(link.writeByte(0x70), SerialError::WriteFailed);
    EXPECT_EQ(link.openings(), 5u);
    EXPECT_EQ(device.delivered, Bytes{0x65});

    link.close();
    EXPECT_FALSE(device.isOpen);
    EXPECT_EQ(link.reconnect(), SerialError::PortNotOpen);
    EXPECT_EQ(link.writeByte(0x65), SerialError::PortNotOpen);
    EXPECT_EQ(link.openings(), 5u);
}

} // namespace
} // namespace quorel
