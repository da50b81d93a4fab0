#include "platform/windows/win32_dialogs.h"
#include "tests/support/win32_station.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

// The message box shown over the window, other than the window itself.
HWND openBox(HWND window) {
    struct Search {
        HWND window;
        HWND found = nullptr;
    } search{window};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND each, LPARAM data) {
            auto* search = reinterpret_cast<Search*>(data);
            if (each != search->window && ::IsWindowVisible(each) &&
                test::textOf(each) == "Gestion Quorel") {
                search->found = each;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The texts of a box's controls, its button of that caption.
std::string boxTexts(HWND box, const char* caption = nullptr, HWND* button = nullptr) {
    struct Seen {
        std::string texts;
        const char* caption;
        HWND* button;
    } seen{test::textOf(box), caption, button};
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM data) {
            auto* seen = reinterpret_cast<Seen*>(data);
            const std::string text = test::textOf(child);
            if (!text.empty()) {
                seen->texts += "|" + text;
            }
            if (seen->caption != nullptr && text == seen->caption) {
                *seen->button = child;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    return seen.texts;
}

// Questions about unsaved edits in the real box, answered by the test.
struct Win32Question : ::testing::Test {
    Win32Question() {
        boxes.setOwner(station.window.handle());
        station.dialogs.answer = [this](const std::string& text) { return boxes.ask(text); };
        station.window.onEnded = [this] { ++ended; };
    }
    void start() {
        station.start({2020, 6, 22}, 8 * 3600, // a Monday
                      {{"Quorel.0", "\"1\",\"07:00:00\",\"60\"\r\n"},
                       {"Quorel.2", "\"2\",\"09:00:00\",\"5\"\r\n"}});
        station.click("BtnDelete");
    }
    // Acts on the next box once it shows, noting what it shows.
    void answer(const std::function<void(HWND)>& act) {
        test::whenLoopRuns([this, act] {
            HWND box = openBox(station.window.handle());
            if (box == nullptr) {
                return answer(act);
            }
            asked.push_back(boxTexts(box));
            act(box);
        });
    }
    static std::function<void(HWND)> press(const char* caption) {
        return [caption](HWND box) {
            HWND button = nullptr;
            boxTexts(box, caption, &button);
            ASSERT_NE(button, nullptr) << caption;
            ::SendMessageW(button, BM_CLICK, 0, 0);
        };
    }

    test::Win32Station<> station;
    Win32Dialogs boxes;
    std::vector<std::string> asked;
    int ended = 0;
};

TEST_F(Win32Question, DayListGoesBackToTheDayShownOnAnnulerAndMovesAfterOui) {
    start();
    answer(press("Annuler"));
    station.chooseDay(2);
    EXPECT_EQ(::SendMessageW(station.find("JourSemaine"), LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(station.rows(), 0);
    answer(press("Oui"));
    station.chooseDay(2);
    EXPECT_EQ(station.folder.read("Quorel.0"), "");
    EXPECT_EQ(station.row(0), "2 09:00:00 5");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_NE(asked[0].find("Enregistrer les modifications de Lundi ?"), std::string::npos)
        << asked[0];
    EXPECT_EQ(asked[0], asked[1]);
}

TEST_F(Win32Question, JourMenuKeepsTheEditsOnEscapeAndDropsThemOnNon) {
    start();
    answer([](HWND box) { ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0); });
    station.menu("Jour", 3);
    EXPECT_EQ(station.rows(), 0);
    answer(press("Non"));
    station.menu("Jour", 3);
    EXPECT_EQ(station.row(0), "2 09:00:00 5");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(station.folder.read("Quorel.0"), "\"1\",\"07:00:00\",\"60\"\r\n"); // not saved
}

TEST_F(Win32Question,
       CloseBoxAndQuitterStayOnAnnulerOrAFailedSaveAndTheSessionsEndEndsTheQuestion) {
    start();
    HWND window = station.window.handle();
    answer(press("Annuler"));
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindowVisible(window) && ended == 0);
    station.program.paths.DayFilePrefix = station.folder.file("missing/Quorel");
    answer(press("Oui"));
    station.menu("MnuQuit");
    EXPECT_EQ(station.dialogs.messages.size(), 1u); // the failed save
    EXPECT_TRUE(::IsWindowVisible(window) && ended == 0);
    answer([this, window](HWND) { // the program's end then ends the box
        ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        boxes.endOpenBox();
    });
    ::SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_TRUE(ended == 1 && station.program.ended() && !::IsWindowVisible(window));
}

} // namespace
} // namespace quorel
