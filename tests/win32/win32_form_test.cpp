#include "tests/support/win32_station.h"
#include "ui/win32/form_screen.h"

#include <cctype>
#include <gtest/gtest.h>

namespace quorel {
namespace {

using Kind = ControlKind;

// A control of the dialog below: each shows what its form says and raises its actions.
ControlDescription<int, int> shown(const char* name, Kind kind, TwipsRect place,
                                   const char* caption = "") {
    return {.name = name,
            .kind = kind,
            .caption = caption,
            .place = place,
            .content = 0,
            .events = {0}};
}

// A small dialog of several kinds of controls.
FormDescription greetingDialog() {
    FormDescription window{
        .title = "Essai", .clientWidth = 6000, .clientHeight = 3600, .cancelButton = "BtnAnnuler"};
    window.controls = {shown("LblSalut", Kind::Label, {120, 120, 3000, 255}),
                       shown("ChNom", Kind::TextField, {120, 480, 2000, 285}),
                       shown("CaseMaj", Kind::CheckBox, {2400, 480, 1500, 285}, "Majuscules"),
                       shown("Liste", Kind::ReportList, {120, 900, 3000, 1500}),
                       shown("ComboChoix", Kind::DropDown, {3300, 900, 1500, 315}),
                       shown("BtnPlusTard", Kind::PushButton, {120, 2700, 1200, 375}, "Plus tard"),
                       shown("BtnAnnuler", Kind::PushButton, {1500, 2700, 1200, 375}, "Annuler")};
    window.controls[3].columns = {{"Nom"}, {"Etat"}};
    window.controls[5].content = window.controls[6].content = std::nullopt;
    return inTabOrder(window);
}

// The logic behind it: a name typed, shown in capitals once the box is checked, and a line
// picked in the drop-down chosen in the list.
struct GreetingForm : Form {
    FormDescription window = greetingDialog();
    std::vector<std::string> inputs;
    std::string name;
    bool capitals = false;
    std::optional<size_t> chosen;
    bool done = false;

    const FormDescription& description() const override { return window; }
    ControlValue value(size_t control, bool) const override {
        std::string shown = name;
        for (char& each : shown) {
            each = capitals ? static_cast<char>(std::toupper(each)) : each;
        }
        switch (control) {
        case 0:
            return {.text = "Bonjour " + shown};
        case 1:
            return {.text = shown};
        case 2:
            return {.check = capitals ? CheckState::Checked : CheckState::Unchecked};
        case 3:
            return {.rows = {{"Ada", "présente"}, {"Bob", "absent"}},
                    .rowLooks = {Look::Plain, Look::Greyed},
                    .selected = chosen};
        default:
            return {.items = {"Ada", "Bob"}, .selected = chosen};
        }
    }
    void raise(const ControlInput& input) override {
        const char* actions[] = {"Click", "Edit", "Pick", "HeaderClick", "KeyRelease"};
        inputs.push_back(std::to_string(input.control) + " " +
                         actions[static_cast<int>(input.action)] + " " + input.text);
        if (input.control == 1) {
            name = input.text;
        } else if (input.control == 2) {
            capitals = input.check == CheckState::Checked;
        } else if (input.control == 4) {
            chosen = input.row;
        }
        done = input.control == 6;
    }
    bool ended() const override { return done; }
    bool waitsForInputEnd(const ControlInput& input) const override { return input.control == 5; }
};

TEST(Win32Form, ActionsReachTheFormItsValuesAreDrawnAndTheDialogClosesWhenItEnds) {
    GreetingForm form;
    std::vector<std::string> seen;
    test::whenLoopRuns([&form, &seen] {
        const auto control = [&form](const char* name) {
            return test::dialogControl(L"Essai", form.window, name);
        };
        ::SetWindowTextW(control("ChNom"), L"Ada");
        ::SendMessageW(control("CaseMaj"), BM_CLICK, 0, 0);
        HWND choice = control("ComboChoix");
        ::SendMessageW(choice, CB_SETCURSEL, 1, 0);
        ::SendMessageW(::GetParent(choice), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(choice), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(choice));
        HWND list = control("Liste");
        NMLVCUSTOMDRAW draw{};
        draw.nmcd.hdr = {list, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = 1;
        const bool greyed = ::SendMessageW(::GetParent(list), WM_NOTIFY, 0,
                                           reinterpret_cast<LPARAM>(&draw)) == CDRF_NEWFONT &&
                            draw.clrText == ::GetSysColor(COLOR_GRAYTEXT);
        seen = {test::textOf(control("LblSalut")),
                test::textOf(control("ChNom")),
                std::to_string(::SendMessageW(control("CaseMaj"), BM_GETCHECK, 0, 0)),
                std::to_string(ListView_GetNextItem(list, -1, LVNI_SELECTED)),
                test::cellOf(list, 1, 1),
                greyed ? "greyed" : "plain"};
        ::SendMessageW(control("BtnPlusTard"), BM_CLICK, 0, 0);
        seen.push_back(std::to_string(form.inputs.size())); // handed over later
        test::runPendingMessages();
        ::SendMessageW(::GetParent(list), WM_COMMAND, IDCANCEL, 0); // Escape
    });
    Win32FormScreen(nullptr).show(form);
    EXPECT_EQ(seen,
              (std::vector<std::string>{"Bonjour ADA", "ADA", "1", "1", "absent", "greyed", "3"}));
    EXPECT_EQ(form.inputs, (std::vector<std::string>{"1 Edit Ada", "2 Click ", "4 Pick ",
                                                     "5 Click ", "6 Click "}));
    EXPECT_EQ(::FindWindowW(L"QuorelWindow", L"Essai"), nullptr);

    test::whenLoopRuns([] { ::SendMessageW(::FindWindowW(nullptr, L"Essai"), WM_CLOSE, 0, 0); });
    Win32FormScreen(nullptr).show(form); // the close box
    EXPECT_EQ(form.inputs.back(), "6 Click ");
}

} // namespace
} // namespace quorel
