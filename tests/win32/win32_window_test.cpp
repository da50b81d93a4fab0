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
    ASSERT_EQ(::GetMenuItemCount(bar), 1); // "Jour" is a pop-up only
    for (HMENU menu : {bar, ::GetSubMenu(bar, 0), station.window.dayMenu()}) {
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
        "PortCom_4=COM4: LblHeure=00:00:00 LblProchaine=Sonneries arrêtées[Sonneries arrêtées] "
        "Label7=Etat des Sorties CheckS_0=S1 LedOut_0= LblTemp_0=00:00 LblMaxi_0=0 CheckS_1=S2 "
        "LedOut_1= LblTemp_1=00:00 LblMaxi_1=0 CmdRelais_0=Relais 1[ Test relais manuel ] "
        "CmdRelais_1=Relais 2[ Test relais manuel ] InfoERR= FrameQuorel= Quorel  Label9=Sortie "
        "Label20_0=H + Label20_1=H + Label3=Durée '' ComboS=1 ChDecoupe_0=[ minutes et secondes "
        "ex 02:15 ] ChDecoupe_1=[ minutes et secondes ex 02:15 ] ChDure=[ en secondes ] "
        "BtnInti=Intitialise Quorel= JourSemaine= BtnSave=Sauve BtnDelete=RAZ[ Remise a Zéro ] "
        "BtnCopy=Copier la journée[ Copier la journée du ] ChEdit_0=[ de 1 à 4 ] ChEdit_1=[ "
        "hh:mn:ss ] ChEdit_2=[ en secondes ] BtnAjouter=Ajouter BtnReplacer=Replacer "
        "BtnSupp=Supprimer Label1=Entrée Label2=Sortie E= S= Options Démarrer avec Windows "
        "Jours sans sonnerie… Journal… Quitter Lundi Mardi Mercredi Jeudi Vendredi Samedi "
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
    ::ShowWindow(window(), SW_MAXIMIZE);
    test::runPendingMessages();
    ::GetClientRect(window(), &client);
    EXPECT_TRUE(::IsZoomed(window()) && client.right > 504);
}

} // namespace
} // namespace quorel
