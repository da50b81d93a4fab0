#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "platform/posix/system_clock.h"
#include "platform/qt/event_loop_clock.h"
#include "platform/qt/phased_timer.h"
#include "platform/qt/qt_serial_link.h"
#include "tests/support/clock_seconds.h"
#include "tests/support/fakes.h"
#include "tests/support/open_file_count.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <QProcess>
#include <QTest>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace quorel {
namespace {

const std::string kCom1 = std::string(kStoreApplication) + "/" + kPortsSection + "/COM1";

TEST(EventLoopClock, PauseHandlesEventsUntilItsDeadlineAndNoneOnceTheProgramEnds) {
    test::ensureApplication();
    SystemClock system;
    QtEventPump pump;
    EventLoopClock clock(system, pump);
    int handled = 0;
    QTimer event;
    event.setSingleShot(true);
    QObject::connect(&event, &QTimer::timeout, [&] { ++handled; });
    const auto pausedFor = [&](double seconds) {
        event.start(20);
        const double start = system.monotonicSeconds();
        clock.pause(seconds);
        return system.monotonicSeconds() - start;
    };
    EXPECT_GE(pausedFor(0.15), 0.15);
    EXPECT_EQ(handled, 1);                // a click or a repaint is answered during the pause
    EXPECT_GE(pausedFor(0.0015), 0.0015); // the timer's whole milliseconds are made up
    pump.stop();
    EXPECT_GE(pausedFor(0.15), 0.15);
    EXPECT_EQ(handled, 1);
    test::runEventsFor(10);
    EXPECT_EQ(handled, 2); // held back, not lost
}

TEST(PhasedTimer, TicksJustAfterEachFifthOfASecondOncePerSlotUntilDisabled) {
    test::ensureApplication();
    std::vector<double> ticks;
    PhasedTimer timer([&] {
        ticks.push_back(test::wallNow());
        if (ticks.size() == 3) {
            ::usleep(450'000); // a long tick: the slots it covers are skipped, not caught up
        }
        if (ticks.size() == 10) {
            timer.setEnabled(false); // as the port choice does inside a yield
        }
    });
    test::runEventsFor(300);
    EXPECT_TRUE(ticks.empty());
    timer.setEnabled(true);
    test::runEventsFor(4000);
    EXPECT_FALSE(timer.isEnabled());
    ASSERT_EQ(ticks.size(), 10u);

    // Milliseconds past the start of the tick's 200 ms slot, and the slot itself.
    const auto phase = [](double t) { return std::fmod(t * 1000.0, 200.0); };
    const auto slot = [](double t) { return std::lround(std::floor((t * 1000.0 - 3.0) / 200.0)); };
    int onPhase = 0;
    for (size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_TRUE(i == 0 || slot(ticks[i]) > slot(ticks[i - 1])) << "two ticks in one slot";
        // The tick right after the long one comes late by design.
        EXPECT_TRUE(i == 3 || phase(ticks[i]) >= 3.0) << "tick " << i << " came before its slot";
        onPhase += i != 3 && phase(ticks[i]) <= 25.0 ? 1 : 0;
    }
    // A loaded machine may delay the odd tick; most must fall within a few milliseconds.
    EXPECT_GE(onPhase, 7);
    EXPECT_GE(ticks[3] - ticks[2], 0.45);
    EXPECT_LT(ticks[3] - ticks[2], 0.55) << "the late tick fires once, at once";
}

// The link to a module behind a stable name, as /dev/serial/by-id/... gives it: unplugging
// removes the name, plugging in again brings it back on a new device.
struct Link : ::testing::Test {
    void SetUp() override {
        test::ensureApplication();
        test::runEventsFor(10);
        store.values[kCom1] = stableName;
        plugIn();
    }
    void plugIn() {
        module = std::make_unique<test::PseudoTerminal>();
        std::filesystem::create_symlink(module->slavePath(), stableName);
    }
    void unplug() {
        module->hangUp();
        std::filesystem::remove(stableName);
    }
    // The bytes the module receives within timeout seconds, as text.
    std::string received(size_t count = 1, double timeout = 2.0) {
        std::string text;
        for (const test::ReceivedByte& b : module->read(count, timeout)) {
            text += static_cast<char>(b.byte);
        }
        return text;
    }
    SerialError openPath(const std::string& path) {
        store.values[kCom1] = path;
        return link.open();
    }

    test::TempFolder folder;
    std::string stableName = folder.file("usb-relay");
    test::MemorySettingsStore store;
    std::unique_ptr<test::PseudoTerminal> module;
    QtSerialLink link{store};
};

TEST_F(Link, SendsEachByteAtOnceOnTheLineItSetUpOrKeepsThePortOpenIfTheLineIsRefused) {
    // A pseudo-terminal only carries 8 data bits without parity; no termios has 1.5 stop bits.
    for (const char* text : {"4800,E,8,1", "4800,N,7,1", "4800,N,8,1.5"}) {
        ASSERT_EQ(link.setParameters(text), SerialError::None);
        EXPECT_EQ(link.open(), SerialError::LineNotApplied) << text;
        EXPECT_EQ(link.writeByte(0x66), SerialError::None);
        EXPECT_EQ(received(), "\x66");
        link.close();
    }

    ASSERT_EQ(link.setParameters("4800,N,8,1"), SerialError::None);
    ASSERT_EQ(link.setPortNumber(1), SerialError::None);
    ASSERT_EQ(link.open(), SerialError::None);
    const termios line = module->lineSettings();
    EXPECT_EQ(cfgetospeed(&line), B4800);
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), 0u);

    // No event loop runs here: a byte that were only buffered would never arrive.
    for (uint8_t byte : {0x65, 0x70, 0x0A, 0xFF}) {
        EXPECT_EQ(link.writeByte(byte), SerialError::None);
        EXPECT_EQ(received(2, 0.05), std::string(1, static_cast<char>(byte))); // 0x0A untranslated
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
    const termios other = module->lineSettings();
    EXPECT_EQ(cfgetospeed(&other), B9600);
    EXPECT_NE(other.c_cflag & CSTOPB, 0u);
}

TEST_F(Link, ByteThatCannotLeaveWithinASecondIsDroppedNotSentLate) {
    ASSERT_EQ(link.open(), SerialError::None);
    module->holdOutput(true);
    test::runEventsFor(20);
    const double start = test::monotonicNow();
    EXPECT_EQ(link.writeByte(0x65), SerialError::WriteFailed);
    EXPECT_NEAR(test::monotonicNow() - start, 1.45, 0.55);
    module->holdOutput(false);
    test::runEventsFor(100);
    EXPECT_EQ(received(1, 0.3), "") << "a stale command reached the module";
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(received(2, 1.0), "\x66");
}

TEST_F(Link, PortHeldByAnotherLinkIsBusyAndOtherOpenFailuresLeaveThePortClosed) {
    // Root may open a device another process holds exclusively, so the second open runs as
    // "nobody"; opening a free pseudo-terminal first proves that "nobody" can open one at all.
    test::PseudoTerminal freeModule;
    module->openToEveryone();
    freeModule.openToEveryone();
    const std::string busyPath = module->slavePath();
    const std::string freePath = freeModule.slavePath();
    ASSERT_EQ(openPath(busyPath), SerialError::None);
    EXPECT_TRUE(test::runUnprivileged([&] {
        test::MemorySettingsStore childStore;
        QtSerialLink second(childStore);
        childStore.values[kCom1] = freePath;
        const bool freeOpens = second.open() == SerialError::None;
        second.close();
        childStore.values[kCom1] = busyPath;
        return freeOpens && second.open() == SerialError::DeviceBusy && !second.isOpen();
    }));
    link.close();

    folder.write("plain-file", "x");
    std::filesystem::create_symlink("/nonexistent/ttyACM9", folder.file("dangling"));
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
    EXPECT_EQ(openPath(stableName), SerialError::None); // the store is read at each open
}

TEST_F(Link, DeadHandleIsClosedAtOnceAndTheModuleIsReachedAgainOnceBack) {
    const int filesWithoutLink = test::openFileCount();
    ASSERT_EQ(link.open(), SerialError::None);
    unplug();
    // The module's own two descriptors are gone; the link's go as soon as events run.
    EXPECT_TRUE(QTest::qWaitFor([&] { return test::openFileCount() == filesWithoutLink - 2; }));
    EXPECT_FALSE(link.holdsDevice());
    EXPECT_TRUE(link.isOpen());
    const std::clock_t cpu = std::clock();
    test::runEventsFor(300);
    EXPECT_LT(double(std::clock() - cpu) / CLOCKS_PER_SEC, 0.05) << "errors repeat at full speed";
    EXPECT_EQ(link.writeByte(0x65), SerialError::DeviceMissing);
    link.close();
    plugIn();
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(received(), "\x66");

    unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.holdsDevice(); }));
    plugIn();
    EXPECT_EQ(link.writeByte(0x65), SerialError::None); // reopened under the same name
    EXPECT_EQ(received(), "\x65");
    EXPECT_TRUE(link.holdsDevice());
    // Unplugged and back before any event ran: the write on the dead handle fails, and the link
    // reopens once and sends the byte again.
    unplug();
    plugIn();
    EXPECT_EQ(link.writeByte(0x6F), SerialError::None);
    EXPECT_EQ(received(), "\x6F");
    EXPECT_EQ(link.openings(), 4u); // each one tells the relay logic to send both states again
}

// The simulator as a child process with a configuration folder of its own.
struct RelaySim : ::testing::Test {
    void start(const QStringList& arguments) {
        test::ensureApplication();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path()));
        simulator.setProcessEnvironment(environment);
        simulator.start(QUOREL_RELAY_SIM, arguments);
        ASSERT_TRUE(simulator.waitForStarted(5000));
        EXPECT_TRUE(nextLine().starts_with("port side: /dev/pts/"));
        for (std::string line = nextLine(); !line.starts_with("ready:"); line = nextLine()) {
            ASSERT_FALSE(line.empty()) << "the simulator did not get ready";
        }
    }
    std::string nextLine() {
        while (!simulator.canReadLine() && simulator.waitForReadyRead(3000)) {
        }
        return simulator.readLine().trimmed().toStdString();
    }
    // The next line without its "hh:mm:ss.mmm " time stamp.
    std::string nextMeaning() {
        const std::string line = nextLine();
        return line.size() > 13 && line[8] == '.' ? line.substr(13) : "bad line: " + line;
    }
    std::string portValue(const std::string& key) {
        return store.read(kStoreApplication, kPortsSection, key, "(none)");
    }
    void stop() {
        simulator.terminate();
        EXPECT_TRUE(simulator.waitForFinished(5000) &&
                    simulator.exitStatus() == QProcess::NormalExit && simulator.exitCode() == 0);
    }

    test::TempFolder config;
    IniSettingsStore store{config.path()};
    QProcess simulator;
};

TEST_F(RelaySim, PrintsEachByteAcrossReopensAndPutsBackWhatItChanged) {
    // The first run makes the store file, which goes with it.
    const std::string linkPath = config.file("relay");
    start({"--link", QString::fromStdString(linkPath), "--port", "2"});
    EXPECT_EQ(portValue("COM2"), linkPath);

    QtSerialLink link(store);
    ASSERT_EQ(link.setPortNumber(2), SerialError::None);
    using Session = std::vector<std::pair<uint8_t, std::string>>;
    for (const Session& session :
         {Session{{0x65, "relay 1 ON"}, {0x70, "relay 2 OFF"}, {0x41, "unknown byte 0x41"}},
          Session{{0x66, "relay 2 ON"}, {0x6F, "relay 1 OFF"}}}) {
        ASSERT_EQ(link.open(), SerialError::None);
        for (const auto& [byte, meaning] : session) {
            EXPECT_EQ(link.writeByte(byte), SerialError::None);
        }
        // Read before the port closes: closing drops what the simulator has not read yet.
        for (const auto& [byte, meaning] : session) {
            EXPECT_EQ(nextMeaning(), meaning);
        }
        link.close();
    }
    stop();
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
    EXPECT_FALSE(config.exists("VornAlmare.ini")) << "the store file was the simulator's own";

    // A value the second run replaces comes back, and the rest stays.
    ASSERT_EQ(store.write(kStoreApplication, kPortsSection, "COM1", "/dev/ttyUSB7"), "");
    ASSERT_EQ(store.write(kStoreApplication, "VornQuorel", "AutoRun", "True"), "");
    start({"--port", "1"});
    EXPECT_TRUE(portValue("COM1").starts_with("/dev/pts/"));
    stop();
    EXPECT_EQ(portValue("COM1"), "/dev/ttyUSB7");
    EXPECT_EQ(store.read(kStoreApplication, "VornQuorel", "AutoRun", ""), "True");
}

} // namespace
} // namespace quorel
