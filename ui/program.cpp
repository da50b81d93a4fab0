#include "ui/program.h"

#include "relay/status_text.h"
#include "schedule/weekday.h"
#include "settings/settings_file.h"

#include <cmath>

namespace quorel {

Program::Program(PlatformServices services, std::string programFolder, std::string programPath)
    : outputs(scheduler, panel, services.link, services.pump, services.clock, services.timer,
              services.view),
      tick(scheduler, captions, services.clock, services.pump, services.view, paths,
           [this](int16_t o1, int16_t o2, int16_t o3, int16_t o4) {
               outputs.SetOutputs(o1, o2, o3, o4);
           }),
      portChoice(panel, services.link, services.timer, services.view),
      manual(panel, services.link, services.pump, services.view, outputs),
      entries(list, fields, services.dialogs, services.view),
      days(list, paths, services.dialogs, services.view),
      autoRun(services.store, services.startup, services.dialogs, services.view,
              std::move(programPath)),
      services_(services), programFolder_(std::move(programFolder)) {}

int16_t Program::todayIndex() {
    return static_cast<int16_t>(CurrentWeekday(services_.clock) - 1);
}

void Program::settingsFile(const std::string& action) {
    const PortOptionAccess ports{[this] { return panel.PortCom; },
                                 [this](int16_t index) { portChoice.select(index); }};
    SettingsFile(action, paths.SettingsPath, ports, services_.dialogs);
}

void Program::Form_Load(WindowGeometry& window) {
    paths = ProgramPaths::inFolder(programFolder_);
    settingsFile("Load");

    days.fillDays();
    days.selectDay(todayIndex());

    fields.ComboSItems = {"1", "2"};
    fields.ComboS = fields.ComboSItems.front();
    services_.view.redraw(ViewPart::EditFields);

    const TwipsSize outer = window.outerSize();
    InitialWidth = static_cast<int32_t>(std::nearbyint(outer.width));
    InitialHeight = static_cast<int32_t>(std::nearbyint(outer.height));
    window.moveTo(CenterWindow(window.screenSize(), outer));

    LoadTodayTable(scheduler.today, paths.DayFilePrefix, todayIndex());
    autoRun.restoreCheckMark();
}

void Program::Form_Unload() {
    if (ended_) {
        return;
    }
    settingsFile("Save");
    services_.timer.setEnabled(false);
    if (services_.link.isOpen()) {
        services_.link.close();
    }
    panel.InfoERR = kPortClosedStatus;
    services_.view.redraw(ViewPart::Status);
    ended_ = true;
}

std::optional<TwipsSize> Program::Form_Resize(bool normalState, TwipsSize current) const {
    if (InitialWidth == 0 || InitialHeight == 0) {
        return std::nullopt; // the start-up has not recorded the size yet
    }
    return sizeAfterResize(normalState, current, InitialWidth, InitialHeight);
}

} // namespace quorel
