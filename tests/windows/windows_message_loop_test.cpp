#include "platform/phased_timer.h"
#include "platform/windows/loop_handles.h"
#include "platform/windows/message_loop.h"
#include "platform/windows/message_loop_clock.h"
#include "platform/windows/message_window.h"
#include "platform/windows/shutdown_deadline.h"
#include "platform/windows/system_clock.h"
#include "platform/windows/waitable_one_shot_timer.h"
#include "platform/windows/win32_dialogs.h"
#include "platform/windows/win32_interval_timer.h"
#include "tests/support/fake_clock.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace quorel {
namespace {

std::wstring textOf(HWND window, int item) {
    wchar_t text[64] = {};
    ::GetDlgItemTextW(window, item, text, 64);
    return text;
}

// The visible box "Gestion Quorel" of this thread other than the given one, if one is open.
HWND openBox(HWND other = nullptr) {
    HWND found = other;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            wchar_t title[32] = {};
            ::GetWindowTextW(window, title, 32);
            if (::IsWindowVisible(window) && std::wstring(title) == L"Gestion Quorel" &&
                window != *reinterpret_cast<HWND*>(result)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found == other ? nullptr : found;
}

// Runs the action on the next box that opens, from a timer of the box's own message loop; a box
// that never shows up, or is captioned otherwise, fails the test after 3 s and is closed.
thread_local std::function<void(HWND)> boxAction;
thread_local HWND boxBefore = nullptr;
thread_local int boxWaits = 0;
void onNextBox(std::function<void(HWND)> action, HWND outer = nullptr) {
    boxAction = std::move(action);
    boxBefore = outer;
    boxWaits = 0;
    ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        if (++boxWaits == 300) {
            ::KillTimer(nullptr, timer);
            ADD_FAILURE() << "no box captioned Gestion Quorel";
            ::EndDialog(::GetActiveWindow(), IDCANCEL);
        } else if (const HWND box = openBox(boxBefore); box != nullptr) {
            ::KillTimer(nullptr, timer);
            const auto action = std::move(boxAction); // which may wait for a further box
            action(box);
        }
    });
}

void click(HWND box, int button) {
    ::SendMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
}

TEST(Win32EventPump, YieldDispatchesWhatIsPendingOnceKeepsQuitAndNothingOnceStopped) {
    std::vector<uintptr_t> seen;
    HWND target = nullptr;
    const auto post = [&](uintptr_t number) { ::PostMessageW(target, WM_APP, number, 0); };
    MessageWindow window([&](unsigned, uintptr_t number, intptr_t) {
        seen.push_back(number);
        if (number == 1) {
            post(9); // posted during the round: for the next one
        }
    });
    target = window.handle();
    Win32EventPump pump;
    post(1);
    post(2);
    pump.yield();
    EXPECT_EQ(seen, (std::vector<uintptr_t>{1, 2}));
    ::PostQuitMessage(7);
    post(3);
    pump.yield();
    EXPECT_EQ(seen, (std::vector<uintptr_t>{1, 2, 9, 3}));
    EXPECT_EQ(runMessageLoop(), 7); // the quit is left for the loop
    pump.stop();
    post(5);
    pump.yield();
    EXPECT_EQ(seen.size(), 4u);
    Win32EventPump().yield(); // held back, not lost
    EXPECT_EQ(seen.back(), 5u);
}

TEST(MessageLoopClock, PauseHandlesMessagesUntilItsDeadlineAndOnlySleepsOnceStopped) {
    test::FakeClock fake;
    Win32EventPump pump;
    MessageLoopClock clock(fake, pump);
    int handled = 0;
    MessageWindow window([&](unsigned, uintptr_t advance, intptr_t) {
        ++handled;
        fake.advance(static_cast<double>(advance));
    });
    ::PostMessageW(window.handle(), WM_APP, 0, 0);
    const double start = fake.monotonicSeconds();
    clock.pause(0.05);
    EXPECT_EQ(handled, 1);
    EXPECT_NEAR(fake.monotonicSeconds(), start + 0.05, 1e-9); // made up on the wrapped clock
    ::PostMessageW(window.handle(), WM_APP, 1, 0);            // a handler that takes a second
    clock.pause(0.05);
    EXPECT_EQ(handled, 2);
    EXPECT_NEAR(fake.pausedSeconds(), 0.05, 1e-9); // the deadline had passed: no more sleep
    pump.stop();
    ::PostMessageW(window.handle(), WM_APP, 0, 0);
    clock.pause(0.05);
    EXPECT_EQ(handled, 2);
    EXPECT_NEAR(fake.pausedSeconds(), 0.1, 1e-9);
    Win32EventPump().yield();
    EXPECT_EQ(handled, 3);

    SystemClock system;
    Win32EventPump live;
    MessageLoopClock real(system, live);
    const double before = system.monotonicSeconds();
    real.pause(0.02);
    EXPECT_GE(system.monotonicSeconds() - before, 0.02);
}

// An object the loop watches has its handler run, besides the messages, by the message loop, by
// a pause of the loop's clock and by the pump; once unwatched, it is left alone.
TEST(LoopHandles, ASignalledEventIsHandledByTheLoopThePausesAndThePumpUntilUnwatched) {
    const HANDLE event = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    int handled = 0;
    watchLoopHandle(event, [&] {
        ++handled;
        ::ResetEvent(event);
    });
    ::PostQuitMessage(7); // the loop ends at once, the signalled event handled first
    EXPECT_EQ(runMessageLoop(), 7);
    EXPECT_EQ(handled, 1);
    SystemClock system;
    Win32EventPump pump;
    ::SetEvent(event);
    MessageLoopClock(system, pump).pause(0.02);
    EXPECT_EQ(handled, 2);
    ::SetEvent(event);
    pump.yield();
    EXPECT_EQ(handled, 3);
    unwatchLoopHandle(event);
    pump.yield();
    EXPECT_EQ(handled, 3);
    ::CloseHandle(event);
}

// The phase rules themselves are checked on a fake timer; this is the Windows timer keeping them.
TEST(WaitableOneShotTimer, DrivesThePhasedTimerOneTickPerSlotUntilDisabled) {
    SystemClock clock;
    WaitableOneShotTimer slotTimer;
    std::vector<int64_t> slots;
    PhasedTimer timer(slotTimer, clock, [&] {
        slots.push_back((clock.wallMicroseconds() + 1'500 - PhasedTimer::kOffsetMicroseconds) /
                        PhasedTimer::kPeriodMicroseconds);
        if (slots.size() == 4) {
            timer.setEnabled(false);
            ::PostQuitMessage(0);
        }
    });
    timer.setEnabled(true);
    EXPECT_EQ(runMessageLoop(), 0);
    EXPECT_FALSE(timer.isEnabled());
    ASSERT_EQ(slots.size(), 4u);
    for (size_t i = 1; i < slots.size(); ++i) {
        EXPECT_GT(slots[i], slots[i - 1]) << "two ticks in one slot";
    }
}

TEST(WaitableOneShotTimer, ExpiresOncePerArmingAndAStopOrARearmingCancelsTheEarlierOne) {
    WaitableOneShotTimer timer;
    std::vector<int> expiries;
    int arming = 0;
    timer.setExpiryHandler([&] { expiries.push_back(arming); });
    Win32EventPump pump;
    // Each expiry is most likely posted during the sleep, before the stop or the new start.
    arming = 1, timer.start(1'000);
    ::Sleep(30);
    timer.stop();
    pump.yield();
    arming = 2, timer.start(1'000);
    ::Sleep(30);
    arming = 3, timer.start(20'000);
    timer.setExpiryHandler([&] {
        expiries.push_back(arming);
        ::PostQuitMessage(0);
    });
    runMessageLoop();
    SystemClock system;
    MessageLoopClock(system, pump).pause(0.05);
    EXPECT_EQ(expiries, std::vector<int>{3});
}

TEST(WaitableOneShotTimer, FiresWhileAMessageBoxOrAMenuIsOpen) {
    WaitableOneShotTimer timer;
    HWND boxSeen = nullptr;
    timer.setExpiryHandler([&] {
        boxSeen = openBox();
        if (boxSeen != nullptr) {
            click(boxSeen, IDOK);
        }
    });
    timer.start(20'000);
    EXPECT_EQ(::MessageBoxW(nullptr, L"Sonnerie", L"Gestion Quorel", MB_OK), IDOK);
    EXPECT_NE(boxSeen, nullptr);

    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                          nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(window);
    const HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"Démarrage automatique");
    bool inMenu = false;
    timer.setExpiryHandler([&] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetCurrentThreadId(), &thread);
        inMenu = (thread.flags & GUI_INMENUMODE) != 0;
        ::EndMenu();
    });
    timer.start(20'000);
    ::TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, window, nullptr);
    EXPECT_TRUE(inMenu);
    ::DestroyMenu(menu);
    ::DestroyWindow(window);
}

TEST(Win32IntervalTimer, RepeatsWhileEnabledOnly) {
    int expiries = 0;
    Win32IntervalTimer timer(10, [&] {
        if (++expiries == 3) {
            ::PostQuitMessage(0);
        }
    });
    EXPECT_FALSE(timer.isEnabled());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    runMessageLoop();
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isEnabled());
    Win32EventPump pump;
    SystemClock system;
    MessageLoopClock(system, pump).pause(0.05);
    EXPECT_EQ(expiries, 3);
}

TEST(Win32Dialogs, QuestionsReadOuiNonAnnulerAndEachWayOutGivesItsAnswer) {
    const HWND owner = ::CreateWindowExW(0, L"STATIC", L"Fenêtre", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                         100, nullptr, nullptr, nullptr, nullptr);
    Win32Dialogs dialogs;
    dialogs.setOwner(owner);
    std::vector<std::wstring> texts;
    HWND boxOwner = nullptr;
    onNextBox([&](HWND box) {
        texts = {textOf(box, IDYES), textOf(box, IDNO), textOf(box, IDCANCEL)};
        boxOwner = ::GetWindow(box, GW_OWNER);
        EXPECT_EQ(::GetWindowLongW(::GetDlgItem(box, IDYES), GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
        click(box, IDNO);
    });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::No);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Oui", L"Non", L"Annuler"}));
    EXPECT_EQ(boxOwner, owner);
    onNextBox([](HWND box) { click(box, IDYES); });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::Yes);
    onNextBox([](HWND box) { click(box, IDCANCEL); });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::Cancel);
    onNextBox([](HWND box) { ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::Cancel);
    onNextBox([](HWND box) { ::PostMessageW(box, WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::Cancel);

    // Ended from outside while a message is open over a question: both end, the question
    // answers Cancel, and a box asked for afterwards ends at once.
    std::wstring okText;
    onNextBox([&](HWND question) {
        onNextBox(
            [&](HWND message) {
                okText = textOf(message, IDOK);
                dialogs.endOpenBox();
            },
            question);
        dialogs.message("Port absent", MessageIcon::Critical);
    });
    EXPECT_EQ(dialogs.ask("Enregistrer ?"), Answer::Cancel);
    EXPECT_EQ(okText, L"OK"); // the message box, captioned as the question
    EXPECT_EQ(dialogs.ask("Encore ?"), Answer::Cancel);
    ::DestroyWindow(owner);
}

TEST(ShutdownDeadline, EndsAProgramStillRunningThreeSecondsAfterItIsArmedUnlessDisarmed) {
    {
        ShutdownDeadline deadline;
        deadline.arm();
        EXPECT_TRUE(deadline.armed());
        deadline.disarm(); // the log-off was called off
        EXPECT_FALSE(deadline.armed());
    }
    EXPECT_EXIT(
        {
            ShutdownDeadline deadline;
            deadline.arm();
            ::Sleep(INFINITE); // a shut-down that hangs
        },
        testing::ExitedWithCode(1), "quorel : arr.+t .+court.+ apr.+s 3 secondes");
}

} // namespace
} // namespace quorel
