#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "platform/qt_serial_link.h"
#include "platform/system_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

const std::string kCom1 = std::string(kStoreApplication) + "/" + kPortsSection + "/COM1";

class QtSerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ensureCoreApplication(); }
    SerialError openPath(const std::string& path) {
        store.values[kCom1] = path;
        return link.open();
    }

    test::MemorySettingsStore store;
    test::PseudoTerminal module;
    QtSerialLink link{store};
};

TEST_F(QtSerialLinkTest, SendsEachByteAtOnceOnTheLineItSetUp) {
    ASSERT_EQ(link.setParameters("4800,N,8,1"), SerialError::None);
    ASSERT_EQ(openPath(module.slavePath()), SerialError::None);
    const termios line = module.lineSettings();
    EXPECT_EQ(cfgetospeed(&line), B4800);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);

    // No event loop runs here: a byte that were only buffered would never arrive.
    SystemClock clock;
    std::vector<test::ReceivedByte> bytes;
    for (uint8_t byte : {0x65, 0x70, 0x0A, 0xFF}) {
        EXPECT_EQ(link.writeByte(byte), SerialError::None);
        const auto arrived = module.read(2, 0.05);
        ASSERT_EQ(arrived.size(), 1u) << int(byte);
        EXPECT_EQ(arrived[0].byte, byte); // 0x0A untranslated
        bytes.push_back(arrived[0]);
        clock.pause(0.15);
    }
    for (size_t i = 1; i < bytes.size(); ++i) {
        EXPECT_GE(bytes[i].monotonic - bytes[i - 1].monotonic, 0.15);
    }

    EXPECT_EQ(link.setPortNumber(2), SerialError::PortAlreadyOpen);
    EXPECT_EQ(link.setParameters("9600,N,8,2"), SerialError::PortAlreadyOpen);
    EXPECT_EQ(link.open(), SerialError::PortAlreadyOpen);
    link.close();
    link.close();
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(link.writeByte(0x65), SerialError::PortNotOpen);
    EXPECT_EQ(link.setParameters("4800;N;8;1"), SerialError::BadParameters);
    EXPECT_EQ(link.setPortNumber(0), SerialError::BadPortNumber);

    ASSERT_EQ(link.setParameters("9600,N,8,2"), SerialError::None);
    ASSERT_EQ(link.open(), SerialError::None);
    const termios other = module.lineSettings();
    EXPECT_EQ(cfgetospeed(&other), B9600);
    EXPECT_NE(other.c_cflag & CSTOPB, 0u);
}

TEST_F(QtSerialLinkTest, ByteThatCannotLeaveWithinASecondIsDroppedNotSentLate) {
    ASSERT_EQ(openPath(module.slavePath()), SerialError::None);
    module.holdOutput(true);
    test::runEventsFor(20);
    const double start = test::monotonicNow();
    EXPECT_EQ(link.writeByte(0x65), SerialError::WriteFailed);
    const double waited = test::monotonicNow() - start;
    EXPECT_GT(waited, 0.9);
    EXPECT_LT(waited, 2.0);
    module.holdOutput(false);
    test::runEventsFor(100);
    EXPECT_TRUE(module.read(1, 0.3).empty()) << "a stale command reached the module";
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    const auto arrived = module.read(2, 1.0);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].byte, 0x66);
}

TEST_F(QtSerialLinkTest, RefusedLineParameterLeavesThePortOpen) {
    // A pseudo-terminal only carries 8 data bits without parity; no termios has 1.5 stop bits.
    for (const char* text : {"4800,E,8,1", "4800,N,7,1", "4800,N,8,1.5"}) {
        ASSERT_EQ(link.setParameters(text), SerialError::None);
        EXPECT_EQ(openPath(module.slavePath()), SerialError::LineNotApplied) << text;
        EXPECT_EQ(link.writeByte(0x66), SerialError::None);
        EXPECT_EQ(module.read(1, 2.0).size(), 1u);
        link.close();
    }
}

TEST_F(QtSerialLinkTest, OpenFailuresLeaveThePortClosedWithTheirNumber) {
    test::TempFolder folder;
    folder.write("plain-file", "x");
    ASSERT_EQ(::symlink("/nonexistent/ttyACM9", folder.file("dangling").c_str()), 0);
    const std::vector<std::pair<std::string, SerialError>> cases = {
        {"/nonexistent/ttyACM9", SerialError::DeviceMissing},
        {folder.file("dangling"), SerialError::DeviceMissing},
        {folder.file("plain-file"), SerialError::NotSerialDevice},
        {folder.path(), SerialError::NotSerialDevice},
        {"/dev/null", SerialError::NotSerialDevice},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(openPath(path), expected) << path;
        EXPECT_FALSE(link.isOpen()) << path;
    }
    EXPECT_EQ(openPath(module.slavePath()), SerialError::None); // the store is read at each open
}

TEST_F(QtSerialLinkTest, PortHeldByAnotherLinkIsBusy) {
    // Root may open a device another process holds exclusively, so the second open runs as
    // "nobody"; opening a free pseudo-terminal first proves that "nobody" can open one at all.
    test::PseudoTerminal freeModule;
    module.openToEveryone();
    freeModule.openToEveryone();
    ASSERT_EQ(openPath(module.slavePath()), SerialError::None);
    const std::string busyPath = module.slavePath();
    const std::string freePath = freeModule.slavePath();
    EXPECT_TRUE(test::runUnprivileged([&] {
        test::MemorySettingsStore childStore;
        QtSerialLink second(childStore);
        childStore.values[kCom1] = freePath;
        const bool freeOpens = second.open() == SerialError::None;
        second.close();
        childStore.values[kCom1] = busyPath;
        return freeOpens && second.open() == SerialError::DeviceBusy && !second.isOpen();
    }));
}

} // namespace
} // namespace quorel
