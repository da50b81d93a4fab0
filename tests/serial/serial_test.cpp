#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "platform/posix/serial_device.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/system_serial_ports.h"
#include "relay/device_serial_link.h"
#include "relay/module_probe.h"
#include "relay/port_choice.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/open_file_count.h"
#include "tests/support/pseudo_terminal.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"
#include "tests/support/unprivileged.h"

#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace quorel {
namespace {

const std::string kCom1 = std::string(kStoreApplication) + "/" + kPortsSection + "/COM1";

// The link to a module behind a stable name, as /dev/serial/by-id/... gives it: unplugging
// removes the name, plugging in again brings it back on a new device. The deadlines count on a
// fake clock, so that a byte given up costs no waiting.
struct Link : ::testing::Test {
    void SetUp() override {
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
    test::FakeClock clock;
    SystemSerialDevice device;
    DeviceSerialLink link{store, device, clock};
};

TEST_F(Link, SendsEachByteAtOnceOnTheLineItSetUpOrKeepsThePortOpenIfTheLineIsRefused) {
    const termios found = module->lineSettings();
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

    // Each byte leaves at once, untranslated.
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
    link.close();
    const termios left = module->lineSettings(); // as the link found it
    EXPECT_EQ(cfgetospeed(&left), cfgetospeed(&found));
    EXPECT_EQ(left.c_cflag, found.c_cflag);
}

// What the module answers is read without waiting, bounded by the caller's buffer; what came
// before a query can be dropped, and nothing is read once the port is closed.
TEST_F(Link, ReadsWhatTheModuleSentWithoutWaitingAndDropsItOnRequest) {
    ASSERT_EQ(link.open(), SerialError::None);
    uint8_t bytes[4] = {};
    EXPECT_EQ(link.read(bytes, sizeof bytes), 0u); // nothing came: no wait, nothing read
    module->send({10, 3});
    size_t count = 0;
    for (int tries = 0; tries < 100 && count < 2; ++tries) {
        count += link.read(bytes + count, sizeof bytes - count);
        ::usleep(1000);
    }
    ASSERT_EQ(count, 2u);
    EXPECT_EQ(bytes[0], 10);
    EXPECT_EQ(bytes[1], 3);
    // A flood is read a buffer at a time; a look for a hang-up keeps what came.
    module->send(std::vector<uint8_t>(100, 0x55));
    ::usleep(20'000);
    EXPECT_EQ(link.reconnect(), SerialError::None);
    EXPECT_EQ(link.read(bytes, sizeof bytes), 4u);
    link.discardInput();
    EXPECT_EQ(link.read(bytes, sizeof bytes), 0u);
    module->send({1});
    ::usleep(20'000);
    link.close();
    EXPECT_EQ(link.read(bytes, sizeof bytes), 0u);
}

// The devices present are listed by-id names first, then ttyACM and ttyUSB in number order; a
// probe tells the module (identifier and version) from a device that is silent, echoes, floods
// or cannot be opened.
TEST(SerialPorts, AreListedInOrderAndAProbeKnowsTheModuleFromAnyOtherDevice) {
    test::TempFolder dev;
    std::filesystem::create_directories(dev.file("serial/by-id"));
    test::PseudoTerminal module, silent, echo, flood;
    std::filesystem::create_symlink(module.slavePath(), dev.file("serial/by-id/usb-relay"));
    std::filesystem::create_symlink(silent.slavePath(), dev.file("ttyACM10"));
    std::filesystem::create_symlink(echo.slavePath(), dev.file("ttyACM2"));
    std::filesystem::create_symlink(flood.slavePath(), dev.file("ttyUSB0"));
    dev.write("ttyUSB1", "not a device");
    dev.write("ttyS0", "");
    SystemSerialPorts ports(dev.path());
    std::vector<std::string> listed;
    for (const PresentPort& port : ports.present()) {
        listed.push_back(port.device + " " + port.description);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{
                          dev.file("serial/by-id/usb-relay") + " " + module.slavePath(),
                          dev.file("ttyACM2") + " ", dev.file("ttyACM10") + " ",
                          dev.file("ttyUSB0") + " ", dev.file("ttyUSB1") + " "}));
    EXPECT_EQ(ports.targetOf(dev.file("ttyACM2")), echo.slavePath());
    EXPECT_TRUE(SystemSerialPorts(dev.file("missing")).present().empty());

    // Each stand-in answers the first byte it receives as it plays its part.
    const auto answering = [](test::PseudoTerminal& pty, bool echoes, std::vector<uint8_t> reply) {
        return std::thread([&pty, echoes, reply] {
            const std::vector<test::ReceivedByte> asked = pty.read(1, 2.0);
            if (asked.size() == 1 && asked[0].byte == 0x5A) {
                pty.send(echoes ? std::vector<uint8_t>{0x5A} : reply);
            }
        });
    };
    std::thread answers[] = {answering(module, false, {10, 3}), answering(echo, true, {}),
                             answering(flood, false, std::vector<uint8_t>(40, 10))};
    SystemClock clock;
    const auto probe = [&](const std::string& name) {
        auto device = ports.newDevice();
        const ProbeOutcome outcome = probeModule(*device, dev.file(name), clock);
        return std::to_string(outcome.opened) + " " +
               (outcome.identifier
                    ? std::to_string(*outcome.identifier) + "." + std::to_string(outcome.version)
                    : "-");
    };
    EXPECT_EQ(probe("serial/by-id/usb-relay"), "1 10.3");
    EXPECT_EQ(probe("ttyACM10"), "1 -");
    EXPECT_EQ(probe("ttyACM2"), "1 -");
    EXPECT_EQ(probe("ttyUSB0"), "1 -");
    EXPECT_EQ(probe("ttyUSB1"), "0 -");
    for (std::thread& each : answers) {
        each.join();
    }
}

TEST_F(Link, ByteThatCannotLeaveWithinASecondIsDroppedNotSentLate) {
    ASSERT_EQ(link.open(), SerialError::None);
    module->holdOutput(true);
    const double start = clock.monotonicSeconds();
    EXPECT_EQ(link.writeByte(0x65), SerialError::WriteFailed);
    EXPECT_NEAR(clock.monotonicSeconds() - start, 1.0, 0.01);
    module->holdOutput(false);
    EXPECT_EQ(received(1, 0.3), "") << "a stale command reached the module";
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(received(2, 0.2), "\x66");
}

// The relay logic over the link: a switch-off lost to a glitch of the module is sent again by
// "Désactivé" and by the shut-down, which both switch the relays off before the port closes.
TEST_F(Link, ARelayWhoseOffCommandFailedIsSwitchedOffBeforeThePortCloses) {
    test::FakeTimer timer;
    test::FakeTimer retryTimer;
    SchedulerState state;
    RelayPanel panel;
    test::SilentView view;
    test::RecordingJournal journal;
    // The gaps between relay bytes are real: closing a pseudo-terminal drops what its other side
    // has not taken in yet, and a byte is given that time to leave before the port closes.
    SystemClock gaps;
    RelayLink relays{link, gaps, state, panel, view, journal};
    PortChoice ports{panel, link, relays, timer, retryTimer, view, journal};
    for (const bool shutDown : {false, true}) {
        ports.select(1);
        relays.keepInStep();
        EXPECT_EQ(received(), "Z"); // who is there: nothing answers
        ::usleep(310'000);
        relays.keepInStep();
        EXPECT_EQ(received(2), "op");
        ASSERT_EQ(relays.command(1, true), SerialError::None);
        EXPECT_EQ(received(), "e");
        module->holdOutput(true); // the module stops reading as the bell ends
        EXPECT_EQ(relays.command(1, false), SerialError::WriteFailed);
        module->holdOutput(false);
        EXPECT_EQ(received(1, 0.1), "");
        if (shutDown) {
            relays.switchOffAll(); // as Form_Unload does, before it closes the port
            link.close();
        } else {
            ports.select(0);
        }
        EXPECT_FALSE(link.isOpen());
        EXPECT_EQ(received(2, 0.3), "o") << "shut down: " << shutDown;
    }
}

TEST_F(Link, PortHeldByAnotherLinkIsBusyAndOtherOpenFailuresLeaveThePortClosed) {
    // Root may open a device another process holds exclusively, so the second link runs as
    // "nobody"; that it opens the device once it is free proves that "nobody" may open it.
    module->openToEveryone();
    const std::string busyPath = module->slavePath();
    const auto elsewhere = [&](SerialError expected) {
        return test::runUnprivileged([&] {
            test::MemorySettingsStore childStore;
            SystemSerialDevice childDevice;
            DeviceSerialLink second(childStore, childDevice, clock);
            childStore.values[kCom1] = busyPath;
            return second.open() == expected && second.isOpen() == (expected == SerialError::None);
        });
    };
    ASSERT_EQ(openPath(busyPath), SerialError::None);
    EXPECT_TRUE(elsewhere(SerialError::DeviceBusy));
    link.close();
    EXPECT_TRUE(elsewhere(SerialError::None)) << "still held after close";

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

TEST_F(Link, DeadHandleIsClosedAtTheNextLookAndTheModuleIsReachedAgainOnceBack) {
    const int filesWithoutLink = test::openFileCount();
    ASSERT_EQ(link.open(), SerialError::None);
    unplug();
    // The module's own two descriptors are gone; the link's goes at the next tick's look.
    EXPECT_EQ(link.reconnect(), SerialError::DeviceMissing);
    EXPECT_EQ(test::openFileCount(), filesWithoutLink - 2);
    EXPECT_FALSE(link.holdsDevice());
    EXPECT_TRUE(link.isOpen());
    EXPECT_EQ(link.writeByte(0x65), SerialError::DeviceMissing);
    link.close();
    plugIn();
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(received(), "\x66");

    unplug();
    ASSERT_EQ(link.reconnect(), SerialError::DeviceMissing);
    plugIn();
    EXPECT_EQ(link.writeByte(0x65), SerialError::None); // reopened under the same name
    EXPECT_EQ(received(), "\x65");
    EXPECT_TRUE(link.holdsDevice());
    // Unplugged and back between two looks: the byte sees the dead handle and goes to the
    // module's new device.
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

    test::FakeClock clock;
    SystemSerialDevice device;
    DeviceSerialLink link(store, device, clock);
    ASSERT_EQ(link.setPortNumber(2), SerialError::None);
    using Session = std::vector<std::pair<uint8_t, std::string>>;
    for (const Session& session :
         {Session{{0x65, "relay 1 ON"}, {0x70, "relay 2 OFF"}, {0x67, "unknown byte 0x67"}},
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

// The simulator answers the queries as the module does: identifier 10 and a version, then the
// relay states it holds; stuck, it keeps one relay; reset, it drops both; silent, it answers
// nothing; with four relays, as a board with more relays (identifier 8).
TEST_F(RelaySim, AnswersTheQueriesAsTheModuleAndPlaysAStuckRelayAResetSilenceOrFourRelays) {
    test::FakeClock clock;
    SystemSerialDevice device;
    DeviceSerialLink link(store, device, clock);
    ASSERT_EQ(link.setPortNumber(1), SerialError::None);
    // The bytes that come back within a second, at most count.
    const auto answer = [&](uint8_t query, size_t count) {
        EXPECT_EQ(link.writeByte(query), SerialError::None);
        std::vector<uint8_t> bytes(8);
        size_t got = 0;
        for (int tries = 0; tries < 200 && got < count; ++tries) {
            got += link.read(bytes.data() + got, bytes.size() - got);
            ::usleep(5000);
        }
        bytes.resize(got);
        return bytes;
    };
    using Bytes = std::vector<uint8_t>;

    start({"--port", "1", "--stuck", "2:on", "--reset-after", "2"});
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(answer(0x5A, 2), (Bytes{10, 1}));
    EXPECT_EQ(answer(0x5B, 1), (Bytes{2})); // relay 2 stuck on from the start
    EXPECT_EQ(link.writeByte(0x65), SerialError::None);
    EXPECT_EQ(link.writeByte(0x70), SerialError::None);
    EXPECT_EQ(answer(0x5B, 1), (Bytes{3})); // relay 1 on; relay 2 did not obey
    ::usleep(2'100'000);
    EXPECT_EQ(answer(0x5B, 1), (Bytes{2})); // the reset dropped relay 1
    link.close();
    stop();

    start({"--port", "1", "--silent"});
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(answer(0x5A, 2), Bytes{});
    link.close();
    stop();

    start({"--port", "1", "--stuck", "4:on", "--relays", "4"});
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(answer(0x5A, 2), (Bytes{8, 1}));
    for (const uint8_t byte : {0x67, 0x72, 0x66}) {
        EXPECT_EQ(link.writeByte(byte), SerialError::None);
    }
    EXPECT_EQ(answer(0x5B, 1), (Bytes{0b1110})); // relays 2 and 3 on; 4 did not obey
    for (const char* meaning :
         {"query: version", "relay 3 ON", "relay 4 OFF", "relay 2 ON", "query: relay states"}) {
        EXPECT_EQ(nextMeaning(), meaning);
    }
    link.close();
    stop();
    for (const QStringList& bad : {QStringList{"--stuck", "3:on"},
                                   {"--stuck", "1:maybe"},
                                   {"--relays", "3"},
                                   {"--relays", "4", "--stuck", "5:on"},
                                   {"--reset-after", "-1"}}) {
        EXPECT_EQ(QProcess::execute(QUOREL_RELAY_SIM, bad), 2) << bad.join(' ').toStdString();
    }
}

} // namespace
} // namespace quorel
