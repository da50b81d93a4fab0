#include "tests/support/win32_station.h"
#include "ui/days_without_bells.h"
#include "ui/journal_viewer.h"
#include "ui/ports_form.h"
#include "ui/signals_form.h"
#include "ui/special_timetables.h"
#include "ui/win32/colours.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

using test::textOf;

// As the operator picks a day: the field's day, then its notification.
void chooseDate(HWND field, int year, int month, int day) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year), time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    DateTime_SetSystemtime(field, GDT_VALID, &time);
    NMDATETIMECHANGE change{};
    change.nmhdr = {field, static_cast<UINT_PTR>(::GetDlgCtrlID(field)), DTN_DATETIMECHANGE};
    change.dwFlags = GDT_VALID;
    change.st = time;
    ::SendMessageW(::GetParent(field), WM_NOTIFY, change.nmhdr.idFrom,
                   reinterpret_cast<LPARAM>(&change));
}

// Acts on the dialog of that title once it shows; a step that fails does not leave it open.
void inDialog(const wchar_t* title, const std::function<void(HWND)>& act) {
    test::whenLoopRuns([title, act] {
        HWND dialog = ::FindWindowW(L"QuorelWindow", title);
        ASSERT_TRUE(dialog != nullptr && ::IsWindowVisible(dialog));
        act(dialog);
        test::whenLoopRuns([dialog] {
            if (::IsWindowVisible(dialog)) {
                ADD_FAILURE() << "the dialog is still open";
                ::SendMessageW(dialog, WM_CLOSE, 0, 0);
            }
        });
    });
}

HWND periodsControl(const char* name) {
    return test::dialogControl(L"Jours sans sonnerie", daysWithoutBellsDescription(), name);
}

void push(HWND button) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
}

TEST(Win32Dialogs, DaysWithoutBellsAreEditedInTheirDialogAndSilenceTheDay) {
    test::Win32Station<> station;
    station.start({2020, 6, 22}, 7 * 3600, {{"Quorel.0", "\"1\",\"07:45:00\",\"5\"\r\n"}});
    station.click("PortCom", 1);
    EXPECT_FALSE(station.window.fillOf(station.find("LblProchaine")));
    inDialog(L"Jours sans sonnerie", [](HWND dialog) {
        HWND periods = periodsControl("JoursSansSonnerie");
        EXPECT_EQ(textOf(periodsControl("ChDu")), "22/06/2020"); // today, as dd/MM/yyyy
        chooseDate(periodsControl("ChDu"), 2020, 6, 23);
        push(periodsControl("BtnAjouterPeriode")); // "Au" is still today: refused
        ::SetWindowTextW(periodsControl("ChMotif"), L"Grève");
        chooseDate(periodsControl("ChDu"), 2020, 6, 22);
        push(periodsControl("BtnAjouterPeriode"));
        EXPECT_EQ(textOf(periodsControl("ChMotif")), "");
        push(periodsControl("BtnJoursFeries"));
        ASSERT_EQ(ListView_GetItemCount(periods), 23);
        EXPECT_EQ(test::cellOf(periods, 0, 0), "01/01/2020");
        // The periods over are greyed.
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {periods, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        EXPECT_EQ(::SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_NEWFONT);
        draw.nmcd.dwItemSpec = 22;
        EXPECT_EQ(::SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_DODEFAULT);
        push(periodsControl("BtnEnregistrer"));
    });
    station.menu("MnuJoursSansSonnerie");
    ASSERT_EQ(station.dialogs.messages.size(), 1u);
    EXPECT_NE(station.dialogs.messages[0].text.find("(22/06/2020) précède"), std::string::npos);
    const std::string saved = station.folder.read("Quorel.conges");
    EXPECT_NE(saved.find("\"2020-06-22\",\"2020-06-22\",\"Gr\xE8ve\"\r\n"), std::string::npos);
    EXPECT_EQ(station.text("LblProchaine"), "Jour sans sonnerie\nGrève");
    EXPECT_EQ(station.window.fillOf(station.find("LblProchaine")), warningBackgroundColour());
    EXPECT_TRUE(::IsWindowEnabled(station.window.handle()));

    inDialog(L"Jours sans sonnerie", [](HWND) { // "Annuler" leaves the file as it is
        HWND periods = periodsControl("JoursSansSonnerie");
        ListView_SetItemState(periods, 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        push(periodsControl("BtnSupprimerPeriode"));
        EXPECT_EQ(ListView_GetItemCount(periods), 22);
        push(periodsControl("BtnAnnuler"));
    });
    station.menu("MnuJoursSansSonnerie");
    EXPECT_EQ(station.folder.read("Quorel.conges"), saved);
}

HWND portsControl(const char* name, int index = -1) {
    return test::dialogControl(L"Ports", portsDescription(), name, index);
}

// As the operator types in a drop-down's field, or picks one of its lines.
void notify(HWND field, WORD code) {
    ::SendMessageW(::GetParent(field), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(field), code),
                   reinterpret_cast<LPARAM>(field));
}

// The dialog "Ports" offers the COM ports present with their names, takes a name typed by hand,
// finds the module for the option in use, and the port reopens on it once saved.
TEST(Win32Dialogs, ThePortsDialogFindsTheModuleAndThePortInUseReopensOnIt) {
    test::Win32Station<> station;
    station.ports.ports = {{"COM3", "Port de communication (COM3)", "COM3"},
                           {"COM7", "USB Serial Device (COM7)", "COM7"}};
    station.ports.replies = {{"COM3", {}}, {"COM7", {10, 3}}};
    station.start({2020, 6, 22}, 10 * 3600);
    station.click("PortCom", 1);
    const uint32_t openings = station.link.openings();
    std::vector<std::string> shown;
    inDialog(L"Ports", [&](HWND) {
        const auto field = [](int option) { return portsControl("CbPort", option); };
        wchar_t line[128] = {};
        ::SendMessageW(field(3), CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(line));
        shown = {textOf(portsControl("LblPort", 3)), textOf(field(0)), fromWide(line)};
        push(portsControl("BtnDetecter"));
        shown.push_back(textOf(portsControl("LblDetection")));
        shown.push_back(textOf(field(0)));
        ::SetWindowTextW(field(1), L"\\\\.\\COM12");
        notify(field(1), CBN_EDITCHANGE);
        ::SendMessageW(field(2), CB_SETCURSEL, 1, 0);
        notify(field(2), CBN_SELCHANGE);
        test::runPendingMessages();
        shown.push_back(textOf(field(2))); // the device, not the line
        push(portsControl("BtnEnregistrer"));
    });
    station.menu("MnuPorts");
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "COM4:", "COM1", "COM7 — USB Serial Device (COM7)",
                         "Module USB-RLY02, version 3 trouvé sur COM7, choisi pour COM1:", "COM7",
                         "COM7"}));
    EXPECT_EQ(station.store.values,
              (std::map<std::string, std::string>{{"VornAlmare/Ports/COM1", "COM7"},
                                                  {"VornAlmare/Ports/COM2", "\\\\.\\COM12"},
                                                  {"VornAlmare/Ports/COM3", "COM7"}}));
    EXPECT_EQ(station.link.openings(), openings + 1);
    EXPECT_EQ(station.text("InfoERR"), "Init COM1:4800,N,8,1 Ok");
}

HWND timetablesControl(const char* name) {
    return test::dialogControl(L"Horaires particuliers", specialTimetablesDescription(), name);
}

// The dialog "Horaires particuliers" adds a special timetable and a period that rings it today,
// and shows a record that does not ring in the warning colours with its reason; once saved, the
// day list and the pop-up "Jour" list the timetable and the label names it.
TEST(Win32Dialogs, SpecialTimetablesAreEditedInTheirDialogAndListedWithTheDays) {
    test::Win32Station<> station;
    station.start({2020, 6, 22}, 8 * 3600,
                  {{"Quorel.horaires", "\"2020-13-01\",\"2020-13-02\",\"4\"\r\n"}});
    station.click("PortCom", 1);
    std::vector<std::string> shown;
    inDialog(L"Horaires particuliers", [&](HWND dialog) {
        ::SetWindowTextW(timetablesControl("ChNom"), L"Examens");
        notify(timetablesControl("ChNom"), EN_CHANGE);
        push(timetablesControl("BtnAjouterHoraire"));
        HWND choices = timetablesControl("ComboHoraire");
        ::SendMessageW(choices, CB_SETCURSEL, 7, 0);
        notify(choices, CBN_SELCHANGE);
        push(timetablesControl("BtnAjouterPeriode"));
        HWND periods = timetablesControl("Periodes");
        wchar_t name[64] = {};
        ::SendMessageW(timetablesControl("ListeHoraires"), LB_GETTEXT, 0,
                       reinterpret_cast<LPARAM>(name));
        shown.push_back(fromWide(name));
        for (int row = 0; row < ListView_GetItemCount(periods); ++row) {
            shown.push_back(test::cellOf(periods, row, 0) + " " + test::cellOf(periods, row, 1) +
                            " " + test::cellOf(periods, row, 2));
        }
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {periods, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = 1;
        EXPECT_EQ(::SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)),
                  CDRF_NEWFONT);
        EXPECT_EQ(draw.clrTextBk, warningBackgroundColour());
        wchar_t tip[128] = {};
        NMLVGETINFOTIPW asked{};
        asked.hdr = {periods, 0, static_cast<UINT>(LVN_GETINFOTIPW)};
        asked.pszText = tip;
        asked.cchTextMax = 128;
        asked.iItem = 1;
        ::SendMessageW(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&asked));
        shown.push_back(fromWide(tip));
        push(timetablesControl("BtnEnregistrer"));
    });
    station.menu("MnuHorairesParticuliers");
    EXPECT_EQ(shown, (std::vector<std::string>{"Examens", "22/06/2020 22/06/2020 Examens",
                                               "2020-13-01 2020-13-02 4",
                                               "Date inexistante : période ignorée"}));
    HWND days = station.find("JourSemaine");
    ASSERT_EQ(::SendMessageW(days, LB_GETCOUNT, 0, 0), 8);
    wchar_t item[64] = {};
    ::SendMessageW(days, LB_GETTEXT, 7, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(fromWide(item), "Examens");
    ASSERT_EQ(::GetMenuItemCount(station.window.dayMenu()), 8);
    ::GetMenuStringW(station.window.dayMenu(), 7, item, 64, MF_BYPOSITION);
    EXPECT_EQ(fromWide(item), "Examens");
    EXPECT_EQ(station.text("LblProchaine"), "Horaire particulier « Examens »\naucune aujourd'hui");
    EXPECT_EQ(station.folder.read("Quorel.noms"), "\"7\",\"Examens\"\r\n");
}

TEST(Win32Dialogs, TheJournalShowsTheLinesOfTheDayPickedNewestAtTheBottom) {
    test::Win32Station<> station;
    station.start({2020, 6, 22}, 10 * 3600);
    std::vector<std::string> shown;
    inDialog(L"Journal", [&shown](HWND) {
        const auto control = [](const char* name) {
            return test::dialogControl(L"Journal", journalDescription(), name);
        };
        HWND lines = control("TexteJournal");
        DWORD start = 0, end = 0;
        ::SendMessageW(lines, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(lines, WM_GETFONT, 0, 0)), sizeof font,
                     &font);
        const bool readOnly = (::GetWindowLongW(lines, GWL_STYLE) & ES_READONLY) != 0;
        shown = {textOf(lines), textOf(control("ChDateJournal")),
                 readOnly && start == end &&
                         end == static_cast<DWORD>(::GetWindowTextLengthW(lines)) &&
                         (font.lfPitchAndFamily & 3) == FIXED_PITCH
                     ? "read only, fixed width, at the end"
                     : ""};
        chooseDate(control("ChDateJournal"), 2020, 6, 21);
        shown.push_back(textOf(lines));
        push(control("BtnFermer"));
    });
    station.menu("MnuJournal");
    EXPECT_EQ(shown,
              (std::vector<std::string>{"10:00:00.000 Démarrage de Quorel " QUOREL_VERSION "\r\n"
                                        "10:00:00.000 Horaire du jour chargé : 0 entrée\r\n",
                                        "22/06/2020", "read only, fixed width, at the end",
                                        "Aucun événement ce jour."}));
}

// The signals' dialog adds a signal, which the menu "Signaux" then offers and starts.
TEST(Win32Dialogs, TheSignalsDialogAddsASignalThatTheMenuStarts) {
    test::Win32Station<> station;
    station.start({2020, 6, 22}, 10 * 3600);
    station.click("PortCom", 1);
    inDialog(L"Signaux", [](HWND) {
        const auto control = [](const char* name) {
            return test::dialogControl(L"Signaux", signalsDescription(), name);
        };
        ::SetWindowTextW(control("ChNom"), L"Alerte");
        ::SetWindowTextW(control("ChSorties"), L"1+2");
        push(control("BtnAjouter"));
        EXPECT_EQ(ListView_GetItemCount(control("ListeSignaux")), 1);
        push(control("BtnEnregistrer"));
    });
    station.menu("MnuSignaux");
    EXPECT_EQ(station.folder.read("Quorel.signaux"), "\"Alerte\",\"1+2\",\"1,1\",\"0\"\r\n");
    station.dialogs.answer = [](const std::string&) { return Answer::Yes; };
    station.menu("Signal", 1);
    ASSERT_TRUE(station.program.scheduler.signal);
    EXPECT_EQ(station.program.scheduler.signal->signal.name, "Alerte");
}

} // namespace
} // namespace quorel
