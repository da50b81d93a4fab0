#include "platform/ini_settings_store.h"
#include "platform/port_devices.h"
#include "platform/qt_serial_link.h"
#include "tests/support/program_process.h"
#include "tests/support/qt_event_loop.h"
#include "tests/support/temp_folder.h"

#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorel {
namespace {

std::string simulatorPath() {
    return test::builtProgram("quorel-relay-sim");
}

// The simulator as a child process with a configuration folder of its own.
class RelaySimTest : public ::testing::Test {
  protected:
    void start(const QStringList& arguments) {
        test::ensureCoreApplication();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(config.path()));
        simulator.setProcessEnvironment(environment);
        simulator.start(QString::fromStdString(simulatorPath()), arguments);
        ASSERT_TRUE(simulator.waitForStarted(5000)) << simulatorPath();
        EXPECT_TRUE(nextLine().starts_with("port side: /dev/pts/"));
        while (!nextLine().starts_with("ready:")) {
            ASSERT_FALSE(lastLine.empty()) << "the simulator did not get ready";
        }
    }
    std::string nextLine() {
        while (!simulator.canReadLine() && simulator.waitForReadyRead(3000)) {
        }
        lastLine = simulator.readLine().trimmed().toStdString();
        return lastLine;
    }
    // The line without its "hh:mm:ss.mmm " time stamp.
    std::string nextMeaning() {
        const std::string line = nextLine();
        return line.size() > 13 && line[8] == '.' ? line.substr(13) : "bad line: " + line;
    }
    std::string portValue(const std::string& key) {
        return store.read(kStoreApplication, kPortsSection, key, "(none)");
    }
    int stop() {
        simulator.terminate();
        EXPECT_TRUE(simulator.waitForFinished(5000));
        return simulator.exitStatus() == QProcess::NormalExit ? simulator.exitCode() : -1;
    }

    test::TempFolder config;
    test::TempFolder scratch;
    IniSettingsStore store{config.path()};
    QProcess simulator;
    std::string lastLine;
};

TEST_F(RelaySimTest, PrintsEachByteAcrossReopensAndRemovesWhatItMadeOnTerm) {
    const std::string linkPath = scratch.file("relay");
    start({"--link", QString::fromStdString(linkPath), "--port", "2"});
    EXPECT_EQ(portValue("COM2"), linkPath);

    QtSerialLink link(store);
    ASSERT_EQ(link.setPortNumber(2), SerialError::None);
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(link.writeByte(0x65), SerialError::None);
    EXPECT_EQ(link.writeByte(0x70), SerialError::None);
    EXPECT_EQ(link.writeByte(0x41), SerialError::None);
    EXPECT_EQ(nextMeaning(), "relay 1 ON");
    EXPECT_EQ(nextMeaning(), "relay 2 OFF");
    EXPECT_EQ(nextMeaning(), "unknown byte 0x41");
    link.close();
    ASSERT_EQ(link.open(), SerialError::None);
    EXPECT_EQ(link.writeByte(0x66), SerialError::None);
    EXPECT_EQ(link.writeByte(0x6F), SerialError::None);
    EXPECT_EQ(nextMeaning(), "relay 2 ON");
    EXPECT_EQ(nextMeaning(), "relay 1 OFF");
    link.close();

    EXPECT_EQ(stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
    EXPECT_EQ(portValue("COM2"), "(none)");
    EXPECT_FALSE(config.exists("VornAlmare.ini")) << "the store file was the simulator's own";
}

TEST_F(RelaySimTest, RestoresTheValueItReplacedAndKeepsTheRest) {
    ASSERT_TRUE(store.write(kStoreApplication, kPortsSection, "COM1", "/dev/ttyUSB7"));
    ASSERT_TRUE(store.write(kStoreApplication, "VornQuorel", "AutoRun", "True"));
    start({"--port", "1"});
    EXPECT_TRUE(portValue("COM1").starts_with("/dev/pts/"));
    EXPECT_EQ(stop(), 0);
    EXPECT_EQ(portValue("COM1"), "/dev/ttyUSB7");
    EXPECT_EQ(store.read(kStoreApplication, "VornQuorel", "AutoRun", ""), "True");
}

} // namespace
} // namespace quorel
