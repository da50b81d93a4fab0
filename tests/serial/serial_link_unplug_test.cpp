#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "platform/qt_serial_link.h"
#include "platform/system_clock.h"
#include "relay/relay_link.h"
#include "tests/support/fakes.h"
#include "tests/support/open_files.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace quorel {
namespace {

double processCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + used.tv_nsec / 1e9;
}

// The module behind a stable name, as /dev/serial/by-id/... gives it: unplugging removes the
// name, plugging in again brings it back on a new device.
class UnplugTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensureCoreApplication();
        test::runEventsFor(10);
        store.values[std::string(kStoreApplication) + "/" + kPortsSection + "/COM1"] = stableName;
        plugIn();
        ASSERT_EQ(link.setPortNumber(1), SerialError::None);
    }
    void plugIn() {
        module = std::make_unique<test::PseudoTerminal>();
        std::filesystem::create_symlink(module->slavePath(), stableName);
    }
    void unplug() {
        module->hangUp();
        std::filesystem::remove(stableName);
    }
    uint8_t received() {
        const auto bytes = module->read(1, 2.0);
        return bytes.empty() ? 0 : bytes[0].byte;
    }

    test::TempFolder folder;
    std::string stableName = folder.file("usb-relay");
    test::MemorySettingsStore store;
    std::unique_ptr<test::PseudoTerminal> module;
    QtSerialLink link{store};
};

TEST_F(UnplugTest, DeadHandleIsClosedAtOnceAndTheNextOpenWorksAgain) {
    const int filesWithoutLink = test::openFileCount();
    ASSERT_EQ(link.open(), SerialError::None);
    unplug();
    // The module's own two descriptors are gone; the link's go as soon as events run.
    EXPECT_TRUE(
        test::runEventsUntil([&] { return test::openFileCount() == filesWithoutLink - 2; }, 1000));
    EXPECT_FALSE(link.holdsDevice());
    EXPECT_TRUE(link.isOpen());

    const double cpuBefore = processCpuSeconds();
    test::runEventsFor(300);
    EXPECT_LT(processCpuSeconds() - cpuBefore, 0.05) << "errors repeat at full speed";

    EXPECT_EQ(link.writeByte(0x65), SerialError::DeviceMissing);
    link.close();
    plugIn();
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(received(), 0x66);
}

TEST_F(UnplugTest, NextByteReachesTheModuleBackUnderTheSameName) {
    ASSERT_EQ(link.open(), SerialError::None);
    unplug();
    ASSERT_TRUE(test::runEventsUntil([&] { return !link.holdsDevice(); }, 1000));
    plugIn();
    EXPECT_EQ(link.writeByte(0x65), SerialError::None);
    EXPECT_EQ(received(), 0x65);
    EXPECT_TRUE(link.holdsDevice());

    // Unplugged and back before any event ran: the write on the dead handle fails, and the link
    // reopens once and sends the byte again.
    unplug();
    plugIn();
    EXPECT_EQ(link.writeByte(0x6F), SerialError::None);
    EXPECT_EQ(received(), 0x6F);
}

TEST_F(UnplugTest, SwitchOffLostToAnUnplugReachesTheModuleOnceItIsBack) {
    SchedulerState state;
    RelayPanel panel;
    panel.PortCom = 1;
    test::RecordingView view;
    SystemClock clock;
    RelayLink relays(link, clock, state, panel, view);
    ASSERT_EQ(link.open(), SerialError::None);
    relays.portOpened();
    EXPECT_EQ(relays.command(1, true), SerialError::None);
    EXPECT_EQ(received(), 0x65);

    unplug();
    ASSERT_TRUE(test::runEventsUntil([&] { return !link.holdsDevice(); }, 1000));
    EXPECT_EQ(relays.command(1, false), SerialError::DeviceMissing);
    relays.keepInStep();
    EXPECT_EQ(panel.InfoERR, "Erreur n°  8020");
    plugIn();
    relays.keepInStep(); // the module may have reset: both relays get their state
    const auto bytes = module->read(2, 2.0);
    ASSERT_EQ(bytes.size(), 2u);
    EXPECT_EQ(bytes[0].byte, 0x6F);
    EXPECT_EQ(bytes[1].byte, 0x70);
    EXPECT_EQ(panel.InfoERR, "Init COM1:4800,N,8,1 Ok");
}

} // namespace
} // namespace quorel
