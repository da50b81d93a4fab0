#include "platform/windows/windows_startup_entry.h"
#include "relay/relay_bytes.h"
#include "tests/support/win32_station.h"
#include "ui/main_window_description.h"
#include "ui/win32/colours.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using test::textOf;

RECT placeIn(HWND window, HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

int px(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                 &font);
    return font;
}

struct Win32Window : ::testing::Test {
    HWND window() { return station.window.handle(); }
    HWND find(const char* name, int index = -1) { return station.find(name, index); }
    void tick(double s) { station.clock.advance(s), station.program.tick.TimerSat_Timer(); }
    LRESULT customDraw(int row, NMLVCUSTOMDRAW& draw) {
        draw = {};
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
        draw.clrText = CLR_DEFAULT;
        draw.nmcd.hdr.hwndFrom = find("Quorel");
        return ::SendMessageW(window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
    }

    test::Win32Station<> station;
};

TEST_F(Win32Window, ShowsEachControlWithItsCaptionAndToolTipInItsPlaceAndKeepsItsSize) {
    station.start();
    std::string shown = textOf(window());
    std::string wrongPlaces;
    for (const MainWindowControl& control : mainWindowDescription().controls) {
        HWND built = find(control.name, control.index);
        ASSERT_NE(built, nullptr) << control.name;
        if (!control.visible) {
            continue;
        }
        const std::string tip = station.window.toolTips().text(built);
        shown.append(" ").append(control.name);
        if (control.index >= 0) {
            shown.append("_").append(std::to_string(control.index));
        }
        shown.append("=").append(textOf(built));
        if (!tip.empty()) {
            shown.append("[").append(tip).append("]");
        }
        // Each control at its design place: twips to pixels, in its group box.
        const MainWindowControl* frame =
            control.container ? mainWindowDescription().control(control.container) : nullptr;
        const TwipsRect& p = control.place;
        const RECT wanted{px(p.left) + (frame ? px(frame->place.left) : 0),
                          px(p.top) + (frame ? px(frame->place.top) : 0), 0, 0};
        const RECT place = placeIn(window(), built);
        const int width = place.right - place.left;
        const bool widened = control.kind == ControlKind::OptionButton ||
                             control.kind == ControlKind::CheckBox ||
                             (control.kind == ControlKind::Label && !control.clipsText);
        const bool sameHeight =
            control.kind == ControlKind::DropDown || place.bottom - place.top == px(p.height);
        const bool sameWidth = widened ? width >= px(p.width) : width == px(p.width);
        const bool sameEdge = control.alignment == TextAlignment::Right
                                  ? place.right == wanted.left + px(p.width)
                                  : place.left == wanted.left;
        if (!sameEdge || place.top != wanted.top || !sameWidth || !sameHeight) {
            wrongPlaces.append(control.name).append(" ").append(rectText(place)).append("; ");
        }
    }
    EXPECT_EQ(wrongPlaces, "");
    HMENU bar = ::GetMenu(window());
    ASSERT_EQ(::GetMenuItemCount(bar), 2); // "Jour" is a pop-up only
    for (HMENU menu : {bar, ::GetSubMenu(bar, 0), ::GetSubMenu(bar, 1), station.window.dayMenu()}) {
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t item[64] = {};
            ::GetMenuStringW(menu, i, item, 64, MF_BYPOSITION);
            shown.append(" ").append(fromWide(item));
        }
    }
    for (int column = 0; column < 3; ++column) {
        wchar_t header[16] = {};
        LVCOLUMNW asked{};
        asked.mask = LVCF_TEXT;
        asked.pszText = header;
        asked.cchTextMax = 16;
        ::SendMessageW(find("Quorel"), LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&asked));
        shown.append(" ").append(fromWide(header));
    }
    EXPECT_EQ(
        shown,
        "Gestion Quorel révision du 22/06/2020 - USB-RLY02 Frame9= Port de communication  "
        "Setting=4800,N,8,1 PortCom_0=Désactivé PortCom_1=COM1: PortCom_2=COM2: PortCom_3=COM3: "
        "PortCom_4=COM4: LblHeure=00:00:00[Synchronisation inconnue] LblProchaine=Sonneries "
        "arrêtées[Sonneries "
        "arrêtées] "
        "Label7=Etat des Sorties CheckS_0=S1 LedOut_0= LblTemp_0=00:00 LblMaxi_0=0 CheckS_1=S2 "
        "LedOut_1= LblTemp_1=00:00 LblMaxi_1=0 CmdRelais_0=Relais 1[ Test relais manuel ] "
        "CmdRelais_1=Relais 2[ Test relais manuel ] InfoERR= FrameQuorel= Quorel  Label9=Sortie "
        "Label20_0=H + Label20_1=H + Label3=Durée '' ComboS=1 ChDecoupe_0=[ minutes et secondes "
        "ex 02:15 ] ChDecoupe_1=[ minutes et secondes ex 02:15 ] ChDure=[ en secondes ] "
        "BtnInti=Intitialise Quorel= JourSemaine= BtnSave=Sauve BtnDelete=RAZ[ Remise a Zéro ] "
        "BtnCopy=Copier la journée[ Copier la journée du ] ChEdit_0=[ de 1 à 4 ] ChEdit_1=[ "
        "hh:mn:ss ] ChEdit_2=[ en secondes ] BtnAjouter=Ajouter BtnReplacer=Replacer "
        "BtnSupp=Supprimer Label1=Entrée Label2=Sortie E= S= Options Signaux Démarrer avec "
        "Windows Jours sans sonnerie… Horaires particuliers… Ports… Journal… Quitter Arrêter le "
        "signal Suspendre les sonneries Signaux… Lundi Mardi Mercredi "
        "Jeudi Vendredi Samedi "
        "Dimanche S Heure Temps");

    RECT client{};
    ::GetClientRect(window(), &client);
    EXPECT_EQ(rectText(client), "0,0 504x460");
    EXPECT_EQ(rectText(placeIn(window(), find("FrameQuorel"))), "172,12 313x413");
    EXPECT_EQ(rectText(placeIn(window(), find("CmdRelais", 1))), "16,368 121x27");
    EXPECT_EQ(rectText(placeIn(window(), find("InfoERR"))), "8,432 477x21");
    EXPECT_EQ(placeIn(window(), find("PortCom", 4)).left, 12 + 20); // in Frame9
    // The type: 165 twips, 11 pixels; the clock's 45 twips larger, in bold.
    EXPECT_EQ(fontOf(find("ChEdit", 0)).lfHeight, -11);
    EXPECT_EQ(fontOf(find("LblHeure")).lfHeight, -14);
    EXPECT_EQ(fontOf(find("LblHeure")).lfWeight, FW_BOLD);

    // Centred on the screen at start-up, and kept at its size.
    RECT outer{};
    ::GetWindowRect(window(), &outer);
    const int width = outer.right - outer.left;
    EXPECT_NEAR(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1);
    EXPECT_EQ(station.program.InitialWidth, width * 15);
    EXPECT_EQ(station.program.InitialHeight, (outer.bottom - outer.top) * 15);
    ::SetWindowPos(window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    RECT after{};
    ::GetWindowRect(window(), &after);
    EXPECT_EQ(rectText(after), rectText(outer));
    // Maximising is the system's business: the maximised size stays.
    // The window manager answers in its own time: the messages run until it has.
    ::ShowWindow(window(), SW_MAXIMIZE);
    for (int wait = 0; wait < 200 && !(::IsZoomed(window()) && client.right > 504); ++wait) {
        test::runPendingMessages();
        ::Sleep(10);
        ::GetClientRect(window(), &client);
    }
    EXPECT_TRUE(::IsZoomed(window())) << rectText(client);
    EXPECT_GT(client.right, 504);
}

TEST_F(Win32Window, TypedEntryIsAddedSavedAndShownAgainAndSeriesFollow) {
    station.start({2020, 6, 23}, 8 * 3600); // a Tuesday: "Mardi" is today
    HWND days = find("JourSemaine");
    EXPECT_EQ(::SendMessageW(days, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(days, LB_GETCOUNT, 0, 0), 7);
    station.type("ChEdit", 0, "2");
    station.type("ChEdit", 1, "07:45:00");
    station.type("ChEdit", 2, "5");
    station.click("BtnAjouter");
    ASSERT_EQ(station.rows(), 1);
    NMLVCUSTOMDRAW draw;
    EXPECT_EQ(customDraw(0, draw), CDRF_DODEFAULT); // a row that rings keeps the list's colours
    station.click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.1"), "\"2\",\"07:45:00\",\"5\"\r\n");
    station.chooseDay(4);
    EXPECT_EQ(station.rows(), 0);
    station.chooseDay(1);
    ASSERT_EQ(station.rows(), 1);
    EXPECT_EQ(station.row(0), "2 07:45:00 5");

    station.type("ChDecoupe", 0, " 02:15 ");
    station.type("ChDure", -1, "6");
    HWND output = find("ComboS");
    ::SendMessageW(output, CB_SETCURSEL, 1, 0);
    ::SendMessageW(window(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(output), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(output));
    station.click("BtnInti");
    ASSERT_EQ(station.rows(), 25);
    EXPECT_EQ(station.row(24), "2 23:02:15 6");
    EXPECT_TRUE(station.dialogs.messages.empty());
}

TEST_F(Win32Window, ListClicksKeysHeadersAndTheDayCopyMenuReachTheEditor) {
    station.start({2020, 6, 23}, 8 * 3600,
                  {{"Quorel.0", "\"1\",\"07:00:00\",\"60\"\r\n\"2\",\"07:45:00\",\"5\"\r\n"
                                "\"1\",\"12:00:00\",\"10\"\r\n"}});
    station.chooseDay(0); // loaded while the window is shown
    HWND list = find("Quorel");
    ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR click{};
    click.code = static_cast<UINT>(NM_CLICK);
    station.notifyFromList(click);
    EXPECT_EQ(station.text("ChEdit", 1), "12:00:00");
    EXPECT_EQ(station.text("ChEdit", 2), "10");

    NMLISTVIEW header{};
    header.hdr.code = LVN_COLUMNCLICK;
    header.iSubItem = 2;
    station.notifyFromList(header.hdr);
    EXPECT_EQ(station.row(0) + " " + station.row(2), "1 12:00:00 10 1 07:00:00 60");

    ::SetFocus(list);
    for (WPARAM key : {WPARAM('A'), WPARAM(VK_DELETE)}) { // another key does nothing
        ::SendMessageW(list, WM_KEYDOWN, key, 0);
        ::SendMessageW(list, WM_KEYUP, key, 0xC0000001);
    }
    EXPECT_EQ(station.rows(), 2);

    station.chooseDay(4); // Vendredi is being edited
    // The pop-up menu takes the keys waiting: the first item, "Lundi".
    ::PostMessageW(window(), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(window(), WM_KEYDOWN, VK_RETURN, 0);
    station.click("BtnCopy");
    ASSERT_EQ(station.rows(), 3);
    EXPECT_EQ(::SendMessageW(find("JourSemaine"), LB_GETCURSEL, 0, 0), 4);
    station.click("BtnSave");
    EXPECT_EQ(station.folder.read("Quorel.4"), station.folder.read("Quorel.0"));
}

TEST_F(Win32Window, FlagsRowsThatWillNeverRingInTheWarningColoursWithTheirToolTip) {
    std::string bytes = "1,07:00:00,5\r\n"; // sorted behind 600 rows that never match
    for (int row = 0; row < 600; ++row) {
        bytes += "1,0,5\r\n";
    }
    station.start({2020, 6, 22}, 8 * 3600, {{"Quorel.0", bytes}});
    HWND list = find("Quorel");
    std::string tips;
    for (int row : {599, 600}) {
        NMLVCUSTOMDRAW draw;
        EXPECT_EQ(customDraw(row, draw), CDRF_NEWFONT);
        EXPECT_EQ(draw.clrText, warningTextColour());
        EXPECT_EQ(draw.clrTextBk, warningBackgroundColour());
        // The tip of the row under the pointer.
        ListView_EnsureVisible(list, row, FALSE);
        RECT place{};
        ListView_GetItemRect(list, row, &place, LVIR_BOUNDS);
        POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        ::ClientToScreen(list, &centre);
        ::SetCursorPos(centre.x, centre.y);
        NMTTDISPINFOW asked{};
        asked.hdr.hwndFrom = station.window.toolTips().handle();
        asked.hdr.idFrom = reinterpret_cast<UINT_PTR>(list);
        asked.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&asked));
        tips += fromWide(asked.lpszText != nullptr ? asked.lpszText : L"") + "|";
    }
    EXPECT_NE(tips.find("jamais : l'heure"), std::string::npos) << tips;
    EXPECT_NE(tips.find("600 premières"), std::string::npos) << tips;
}

TEST_F(Win32Window, ThePortChoiceStartsTheSchedulerAndTheWindowShowsIt) {
    station.start({2020, 6, 22}, 7 * 3600 + 44 * 60 + 59.5,
                  {{"Quorel.0", "\"1\",\"07:45:00\",\"5\"\r\n\"1\",\"10:00:00\",\"5\"\r\n"}});
    station.click("PortCom", 1);
    EXPECT_EQ(station.text("InfoERR"), "Init COM1:4800,N,8,1 Ok");
    EXPECT_TRUE(station.timer.isEnabled());
    EXPECT_EQ(station.text("LblProchaine"), "Prochaine sonnerie\n07:45:00 - S1 - 5 s");
    EXPECT_FALSE(station.window.fillOf(find("LblProchaine")));
    tick(0.6);
    EXPECT_EQ(station.text("LblHeure"), "07:45:00");
    EXPECT_EQ(station.text("LblMaxi", 0), "5");
    EXPECT_EQ(station.text("LblTemp", 0), "--:--");
    EXPECT_EQ(station.window.fillOf(find("LedOut", 0)), indicatorColour(Indicator::On));
    tick(3);
    EXPECT_EQ(station.text("LblTemp", 0), "00:03");
    tick(3);
    EXPECT_EQ(station.window.fillOf(find("LedOut", 0)), indicatorColour(Indicator::Off));

    station.click("PortCom", 0);
    EXPECT_EQ(station.text("InfoERR"), "Port COM Close OK !");
    EXPECT_EQ(::SendMessageW(find("PortCom", 1), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(station.timer.isEnabled());
    EXPECT_EQ(station.window.toolTips().text(find("InfoERR")), "");
    station.link.openError = SerialError::DeviceBusy; // its tool tip says what to do
    station.click("PortCom", 2);
    EXPECT_NE(station.window.toolTips().text(find("InfoERR")), "") << station.text("InfoERR");
}

TEST_F(Win32Window, ManualControlsShowTheirStateAndClosingShutsDownOnce) {
    station.start();
    station.click("PortCom", 3);
    station.click("CmdRelais", 0);
    EXPECT_EQ(station.window.fillOf(find("CmdRelais", 0)), relayOnColour());
    station.click("CmdRelais", 0);
    EXPECT_FALSE(station.window.fillOf(find("CmdRelais", 0)));
    station.click("CheckS", 1);
    EXPECT_EQ(::SendMessageW(find("CheckS", 1), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(station.window.fillOf(find("LedOut", 1)), indicatorColour(Indicator::On));
    EXPECT_EQ(station.link.bytes(),
              (std::vector<uint8_t>{kRelay1On, kRelay1Off, kRelay1Off, kRelay2On}));
    station.program.panel.CheckS[0] = CheckState::Greyed;
    station.window.redraw(ViewPart::Outputs);
    EXPECT_EQ(::SendMessageW(find("CheckS", 0), BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    int ended = 0;
    station.window.onEnded = [&ended] { ++ended; };
    station.menu("MnuQuit");
    ::SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(::IsWindowVisible(window()));
    EXPECT_EQ(station.text("InfoERR"), "Port COM Close OK !");
}

TEST_F(Win32Window, TheEndOfTheSessionShutsDownAsASignalAsksNothingAndSwitchesTheRelaysOff) {
    station.start({2020, 6, 22}, 8 * 3600, {{"Quorel.0", "\"1\",\"07:00:00\",\"60\"\r\n"}});
    station.click("PortCom", 1);
    station.click("CmdRelais", 1);
    station.click("BtnDelete"); // unsaved edits
    int ended = 0;
    int warned = 0;
    station.window.onEnded = [&ended] { ++ended; };
    station.window.onSessionEnding = [&warned] { ++warned; };
    EXPECT_EQ(::SendMessageW(window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(ended, 0);
    ::SendMessageW(window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(ended == 1 && warned == 1 && station.program.ended());
    EXPECT_TRUE(station.dialogs.questions.empty());
    EXPECT_EQ(station.link.bytes().back(), kRelay2Off);
    EXPECT_NE(station.folder.read("Quorel.ini"), "");
    EXPECT_EQ(station.folder.read("Quorel.0"), "\"1\",\"07:00:00\",\"60\"\r\n");
}

// The start at logon, in Wine's registry.
TEST(Win32AutoRun, TheCheckMarkShowsTheRunValueWrittenAndRemoved) {
    test::Win32Station<WindowsStartupEntry> station;
    station.start();
    const auto runValue = [] {
        wchar_t value[512] = {};
        DWORD bytes = sizeof value;
        const LONG found =
            ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                           L"Gestion Quorel", RRF_RT_REG_SZ, nullptr, value, &bytes);
        return found == ERROR_SUCCESS ? fromWide(value) : "(none)";
    };
    const auto checked = [&station] {
        return (::GetMenuState(::GetSubMenu(::GetMenu(station.window.handle()), 0),
                               station.window.menuCommand("mnuautorun"), MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    };
    ASSERT_EQ(runValue(), "(none)");
    station.menu("mnuautorun");
    EXPECT_TRUE(checked());
    EXPECT_NE(runValue().find(station.dataFolder + "quorel"), std::string::npos) << runValue();
    station.menu("mnuautorun");
    EXPECT_FALSE(checked());
    EXPECT_EQ(runValue(), "(none)");
}

} // namespace
} // namespace quorel
