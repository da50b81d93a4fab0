#include "station/channel_hub.h"
#include "station/channel_lines.h"
#include "station/station_channel.h"
#include "tests/support/direct_connection.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fakes.h"
#include "tests/support/program_station.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

std::vector<Message> drain(ChannelLines& lines) {
    std::vector<Message> messages;
    while (std::optional<Message> message = lines.next()) {
        messages.push_back(*message);
    }
    return messages;
}

TEST(ChannelLines, MessagesAreCutAtLineEndsWhateverTheChunksAndALineOverTheBoundIsAFault) {
    ChannelLines lines(64);
    const std::string stream = "{\"a\":1}\r\n\n{\"b\":\"é\"}\n{\"c\":";
    for (char byte : stream) {
        lines.add(std::string_view(&byte, 1));
    }
    const std::vector<Message> messages = drain(lines);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1]["b"], "é");
    lines.add("3}\n");
    EXPECT_EQ(drain(lines).at(0)["c"], 3);
    EXPECT_EQ(lines.pendingBytes(), 0u);

    // Exactly the bound, line end included, passes; one byte more fails before its end comes.
    ChannelLines bounded(10);
    bounded.add("{\"x\":123}\n");
    EXPECT_EQ(drain(bounded).size(), 1u);
    bounded.add(std::string(11, ' '));
    EXPECT_EQ(bounded.fault(), "message trop long");

    for (const char* bad : {"[1,2]\n", "{\"a\":\n", "\"text\"\n", "{} {}\n"}) {
        ChannelLines malformed(64);
        malformed.add(bad);
        EXPECT_TRUE(drain(malformed).empty()) << bad;
        EXPECT_EQ(malformed.fault(), "message mal formé") << bad;
    }
}

TEST(ChannelLines, FileBytesSurviveBase64AndBadBase64IsRefused) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    for (size_t size : {0, 1, 2, 3, 4, 256}) {
        EXPECT_EQ(decodeBytes(encodeBytes(all.substr(0, size))), all.substr(0, size)) << size;
    }
    EXPECT_EQ(encodeBytes("Quo"), "UXVv");
    EXPECT_EQ(encodeBytes("Q"), "UQ==");
    for (const char* bad : {"UQ=", "U===", "UQ=a", "UQ==UQ==", "UX!v"}) {
        EXPECT_EQ(decodeBytes(bad), std::nullopt) << bad;
    }
}

struct Hub : ::testing::Test {
    test::FakeClock clock;
    test::RecordingJournal journal;
    std::vector<ChannelHub::ClientId> closed;
    ChannelHub hub{clock, journal, [](const Message& request) {
                       if (request.value("command", "") == "hello") {
                           return Reply{{{"id", request["id"]}, {"ok", true}}, "", true};
                       }
                       return Reply{{}, "commande inconnue"};
                   }};
    Hub() {
        clock.set({2026, 12, 8}, 36000);
        hub.close = [this](ChannelHub::ClientId id) { closed.push_back(id); };
    }
    size_t noted(const std::string& text) const {
        size_t count = 0;
        for (const std::string& sentence : journal.sentences) {
            count += sentence.find(text) != std::string::npos ? 1 : 0;
        }
        return count;
    }
};

TEST_F(Hub, StrangersBadMessagesSilenceAndTooManyConsolesAreDroppedAndJournaledOnceADay) {
    hub.connect(1, "eve", false);
    hub.connect(2, "eve", false);
    EXPECT_EQ(closed, (std::vector<ChannelHub::ClientId>{1, 2}));
    EXPECT_EQ(noted("« eve » n'est pas opérateur"), 1u);

    for (ChannelHub::ClientId id = 10; id < 10 + ChannelHub::kMaxClients + 2; ++id) {
        hub.connect(id, "marie", true);
    }
    EXPECT_EQ(hub.clientCount(), size_t(ChannelHub::kMaxClients));
    EXPECT_EQ(noted("trop de consoles"), 1u);

    hub.receive(10, "{\"id\":1,\"command\":\"hello\"}\n{\"id\":2,\"command\":\"x\"}\n");
    EXPECT_EQ(hub.queue(10), nullptr);
    hub.receive(11, "{\"id\":3,\"command\":\"hello\"}\n");
    ASSERT_NE(hub.queue(11), nullptr);
    EXPECT_EQ(*hub.queue(11), "{\"id\":3,\"ok\":true}\n");
    EXPECT_EQ(noted("Console de « marie » connectée"), 2u);
    hub.receive(12, "{\"id\":3,\"command\":\"zzz\"}\n");
    EXPECT_EQ(noted("coupée : commande inconnue"), 1u);

    // Those that never spoke go after 5 s, at the latest when another one connects; the one that
    // did stays.
    clock.advance(ChannelHub::kFirstMessageSeconds + 0.1);
    hub.connect(40, "marie", true);
    EXPECT_EQ(hub.clientCount(), 2u);
    EXPECT_EQ(noted("aucun message"), 1u);

    // A new day journals each cause again.
    clock.advance(86400);
    hub.connect(50, "eve", false);
    EXPECT_EQ(noted("« eve » n'est pas opérateur"), 2u);
}

TEST_F(Hub, OnlyConsolesThatAskedGetTheStateAndOneThatStopsReadingIsDroppedNotWaitedFor) {
    hub.connect(1, "marie", true);
    hub.connect(2, "status", true);
    hub.receive(1, "{\"id\":1,\"command\":\"hello\"}\n");
    hub.queue(1)->clear();
    hub.broadcast(Message{{"state", 1}});
    EXPECT_EQ(*hub.queue(1), "{\"state\":1}\n");
    EXPECT_EQ(*hub.queue(2), "");

    const Message big{{"state", std::string(ChannelHub::kReadPauseBytes, 'x')}};
    hub.broadcast(big);
    EXPECT_FALSE(hub.reading(1)); // its next requests wait until it has read
    EXPECT_TRUE(hub.reading(2));
    for (size_t sent = 0; sent <= ChannelHub::kQueueMaxBytes; sent += ChannelHub::kReadPauseBytes) {
        hub.broadcast(big);
    }
    EXPECT_EQ(hub.queue(1), nullptr);
    EXPECT_EQ(noted("console trop lente"), 1u);
}

TEST(StationChannel, ConsolesReachOnlyTheTimetablesListsAndJournalDaysOfTheDataFolder) {
    for (const char* name : {"Quorel.0", "Quorel.12", "Quorel.conges", "Quorel.horaires",
                             "Quorel.noms", "Journal/2026-12-08.txt"}) {
        EXPECT_NE(channelFileKind(name), ChannelFile::Refused) << name;
    }
    for (const char* name : {"Quorel.ini", "VornAlmare.ini", "Quorel.", "Quorel.1/../../x",
                             "../Quorel.0", "/etc/passwd", "Journal/../Quorel.ini",
                             "Journal/2026-13-40.txt", "Quorel.-1", "Quorel.0 ", "Quorel.1234"}) {
        EXPECT_EQ(channelFileKind(name), ChannelFile::Refused) << name;
    }
}

// The state tells consoles how many relays the module has: 2 until a board with more answered.
TEST(StationChannel, ConsolesAreToldHowManyRelaysTheModuleHas) {
    test::ProgramStation<test::FakeWindow> station;
    station.link.module = SimulatedModule(0, false, 4);
    station.start({2020, 6, 22}, 10 * 3600, {{"Quorel.ini", "1\r\n"}});
    StationChannel channel{station.program.station(), station.files, station.store, station.ports,
                           station.clock};
    EXPECT_EQ(channel.state()["moduleRelays"], 2);
    station.program.outputs.keepRelaysInStep();
    EXPECT_EQ(channel.state()["moduleRelays"], 4);
    test::ProgramStation<test::FakeWindow> window;
    test::DirectConnection connection(channel);
    ASSERT_TRUE(window.program.connectToStation(connection, "test"));
    EXPECT_EQ(window.program.panel.moduleRelays, 4);
}

} // namespace
} // namespace quorel
