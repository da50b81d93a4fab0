#include "station/station_channel.h"
#include "tests/support/direct_connection.h"
#include "tests/support/program_station.h"
#include "ui/timetable_copy.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using Station = test::ProgramStation<test::FakeWindow>;
constexpr LocalDate kMonday{2020, 6, 22};
constexpr double kTenOClock = 10 * 3600;
constexpr const char* kQuestion = "Copier vos horaires dans le service ?";
constexpr const char* kOffered = "VornAlmare/VornQuorel/CopieProposee";

// A station that rings on its own folder, and windows that become its consoles, each with its
// own data folder.
struct Service {
    Service() {
        station.start(kMonday, kTenOClock);
        station.folder.write("Quorel.7", "\"1\",\"09:00:00\",\"3\"\r\n");
    }
    // A window of a user whose settings are store and whose own folder holds files; it connects
    // and starts, the question answered with answer.
    Station& connect(const std::map<std::string, std::string>& files, Answer answer = Answer::Yes,
                     const std::map<std::string, std::string>& store = {}) {
        auto& window = *windows.emplace_back(std::make_unique<Station>());
        auto& connection =
            *connections.emplace_back(std::make_unique<test::DirectConnection>(channel));
        connection.answersLeft = answersLeft;
        window.store.values = store;
        window.dialogs.answer = [answer](const std::string&) { return answer; };
        window.files.onCall = [this](const std::string& operation, const std::string& path) {
            localChanges += operation == "replace" || operation == "remove" ? path : "";
            return std::string();
        };
        EXPECT_TRUE(window.program.connectToStation(connection, "test"));
        window.start(kMonday, kTenOClock, files);
        for (const auto& [name, bytes] : files) {
            EXPECT_EQ(window.folder.read(name), bytes) << name;
        }
        return window;
    }

    Station station;
    StationChannel channel{station.program.station(), station.files, station.store, station.ports,
                           station.clock};
    int answersLeft = 1000;
    std::vector<std::unique_ptr<Station>> windows;
    std::vector<std::unique_ptr<test::DirectConnection>> connections;
    std::string localChanges;
};

const std::map<std::string, std::string> kOwn = {
    {"Quorel.0", "\"1\",\"08:00:00\",\"5\"\r\n\"2\",\"12:00:00\",\"5\"\r\n"},
    {"Quorel.5", "\"1\",\"10:00:00\",\"5\"\r\n"},
    {"Quorel.123", "\"2\",\"11:00:00\",\"4\"\r\n"},
    {"Quorel.conges", "\"2020-12-21\",\"2021-01-01\",\"Noël\"\r\n"},
    {"Quorel.horaires", "\"2020-06-29\",\"2020-07-03\",\"7\"\r\n"},
    {"Quorel.noms", "\"7\",\"Examens\"\r\n"}};

TEST(TimetableCopy, OfferedWhenTheStationHasNoneAndCopiesTheUsersFilesAsTheyAre) {
    Service service;
    auto files = kOwn;
    files.insert({{"Quorel.ini", "3\r\n"}, {"Quorel.1234", "x"}, {"Quorel.0.bak", "x"}});
    Station& window = service.connect(files);
    EXPECT_EQ(window.dialogs.questions, std::vector<std::string>{kQuestion});
    EXPECT_TRUE(window.dialogs.messages.empty());
    for (const auto& [name, bytes] : kOwn) {
        EXPECT_EQ(service.station.folder.read(name), bytes) << name;
    }
    for (const char* name : {"Quorel.ini", "Quorel.1234", "Quorel.0.bak"}) {
        EXPECT_FALSE(service.station.folder.exists(name)) << name;
    }
    EXPECT_EQ(service.station.folder.read("Quorel.7"), "\"1\",\"09:00:00\",\"3\"\r\n");
    EXPECT_EQ(service.localChanges, "");
    EXPECT_EQ(window.store.values[kOffered], "True");
    // The station rings the copy at once, and the editor shows it.
    EXPECT_EQ(service.station.program.scheduler.today.TodayTime[2], "12:00:00");
    ASSERT_EQ(window.program.list.count(), 2);
    EXPECT_EQ(window.program.list.row(2).time, "12:00:00");
}

TEST(TimetableCopy, NotOfferedToAStationWithATimetableNorByAUserWithNone) {
    Service service;
    service.station.folder.write("Quorel.6", "");
    EXPECT_TRUE(service.connect(kOwn).dialogs.questions.empty());
    EXPECT_FALSE(service.station.folder.exists("Quorel.0"));

    Service empty;
    auto noWeekday = kOwn;
    std::erase_if(noWeekday, [](const auto& file) { return file.first.size() == 8; });
    EXPECT_TRUE(empty.connect(noWeekday).dialogs.questions.empty());
    EXPECT_FALSE(empty.station.folder.exists("Quorel.123"));
}

TEST(TimetableCopy, AskedOnceWhateverTheAnswerButAgainWhenClosedWithoutOne) {
    Service service;
    Station& closed = service.connect(kOwn, Answer::Cancel);
    EXPECT_EQ(closed.dialogs.questions.size(), 1u);
    EXPECT_FALSE(closed.store.values.contains(kOffered));
    Station& refused = service.connect(kOwn, Answer::No, closed.store.values);
    EXPECT_EQ(refused.dialogs.questions.size(), 1u);
    EXPECT_EQ(refused.store.values[kOffered], "True");
    EXPECT_TRUE(service.connect(kOwn, Answer::Yes, refused.store.values).dialogs.questions.empty());
    for (const auto& [name, bytes] : kOwn) {
        EXPECT_FALSE(service.station.folder.exists(name)) << name;
    }
}

TEST(TimetableCopy, AFileThatCannotBeCopiedIsToldAndALostStationStopsTheCopyUnremembered) {
    Service service;
    service.station.files.onCall = [](const std::string& operation, const std::string& path) {
        return operation == "replace" && path.ends_with("/Quorel.5") ? "disque plein" : "";
    };
    auto files = kOwn;
    files["Quorel.1"] = std::string(60 * 1024, ' '); // a day file a console's line cannot carry
    Station& window = service.connect(files);
    ASSERT_EQ(window.dialogs.messages.size(), 2u);
    EXPECT_TRUE(window.dialogs.messages[0].text.starts_with(
        "Impossible de copier « Quorel.1 » dans le service : fichier trop volumineux"))
        << window.dialogs.messages[0].text;
    EXPECT_EQ(window.dialogs.messages[1].text,
              "Impossible de copier « Quorel.5 » dans le service : disque plein");
    EXPECT_EQ(service.station.folder.read("Quorel.noms"), kOwn.at("Quorel.noms"));
    EXPECT_EQ(window.store.values[kOffered], "True");
    // Nor may the editor save such a file: said, and the console stays connected.
    const std::string saved = window.program.console.files().replace(
        window.program.console.dataFolder() + "Quorel.2", files["Quorel.1"]);
    EXPECT_TRUE(saved.starts_with("fichier trop volumineux pour le service")) << saved;
    EXPECT_TRUE(window.program.console.reachable());

    Service lost;
    lost.answersLeft = 1 + 7 + 1; // hello, the look-ups of the weekdays, Quorel.0
    Station& cut = lost.connect(kOwn);
    ASSERT_FALSE(cut.dialogs.messages.empty());
    EXPECT_EQ(cut.dialogs.messages[0].text,
              std::string("Impossible de copier « Quorel.123 » dans le service : ") +
                  kStationUnreachable);
    EXPECT_EQ(lost.station.folder.read("Quorel.0"), kOwn.at("Quorel.0"));
    EXPECT_FALSE(lost.station.folder.exists("Quorel.5"));
    EXPECT_FALSE(cut.store.values.contains(kOffered));
}

} // namespace
} // namespace quorel
