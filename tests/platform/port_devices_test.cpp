#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(PortDevicesTest, PortsValueOverridesTheUsbModemName) {
    test::TempFolder folder;
    IniSettingsStore store(folder.path());
    EXPECT_EQ(deviceForPort(store, 1), "/dev/ttyACM0"); // no store file at all

    folder.write("VornAlmare.ini", "[VornQuorel]\nAutoRun=True\nCOM3=/dev/ttyS9\n\n"
                                   "[Ports]\nCOM2 = /dev/serial/by-id/usb-Devantech_USB-RLY02\n"
                                   "COM4=\n");
    EXPECT_EQ(deviceForPort(store, 1), "/dev/ttyACM0");
    EXPECT_EQ(deviceForPort(store, 2), "/dev/serial/by-id/usb-Devantech_USB-RLY02");
    EXPECT_EQ(deviceForPort(store, 3), "/dev/ttyACM2"); // the value in another section is not one
    EXPECT_EQ(deviceForPort(store, 4), "/dev/ttyACM3"); // an empty value is no override

    // The store is read afresh at each look-up.
    ASSERT_TRUE(store.write(kStoreApplication, kPortsSection, "COM1", "/tmp/relay"));
    EXPECT_EQ(deviceForPort(store, 1), "/tmp/relay");
}

} // namespace
} // namespace quorel
