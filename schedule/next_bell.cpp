#include "schedule/next_bell.h"

#include "core/module_size.h"
#include "schedule/calendar_date.h"
#include "schedule/time_text.h"

namespace quorel {

NextBellSign nextBellSign(const TodayTable& table, const std::string& now,
                          const ClosedPeriod* closedToday) {
    if (closedToday != nullptr) {
        return {"Jour sans sonnerie\n" + closedToday->label, true, {}, {}};
    }
    int next = 0;
    for (int slot = 1; slot <= TodayTable::kSlots; ++slot) {
        const std::string& time = table.TodayTime[slot];
        const int output = table.TodayOutput[slot];
        // Time texts of the clock's form sort as the times they name.
        if (output >= 1 && output <= kOutputCount && time > now && isClockTimeText(time) &&
            (next == 0 || time < table.TodayTime[next])) {
            next = slot;
        }
    }
    if (next == 0) {
        return {"Prochaine sonnerie\naucune aujourd'hui", false, {}, {}};
    }
    const std::string& time = table.TodayTime[next];
    return {"Prochaine sonnerie\n" + time + " - S" + std::to_string(table.TodayOutput[next]) +
                " - " + std::to_string(table.TodayDuration[next]) + " s",
            false,
            time,
            {}};
}

NextBellSign otherTimetableSign(NextBellSign sign, const std::string& name, const LocalDate& from,
                                const LocalDate& to) {
    const std::string heading = "Horaire particulier « " + name + " »";
    const size_t lineEnd = sign.text.find('\n');
    const std::string next = lineEnd == std::string::npos ? "" : sign.text.substr(lineEnd + 1);
    sign.text = heading + "\n" + next;
    sign.toolTip = heading + " du " + frenchDateText(from) + " au " + frenchDateText(to) +
                   "\nProchaine sonnerie : " + next;
    return sign;
}

NextBellSign stoppedBellSign() {
    return {"Sonneries arrêtées", false, {}, {}};
}

namespace {

NextBellSign overriding(const NextBellSign& timetable, std::string text) {
    return NextBellSign{.text = std::move(text),
                        .warning = true,
                        .time = timetable.time,
                        .toolTip = timetable.toolTip.empty() ? timetable.text : timetable.toolTip};
}

} // namespace

NextBellSign signalSign(const NextBellSign& timetable, const std::string& signal) {
    return overriding(timetable, "Signal « " + signal + " » en cours");
}

NextBellSign suspendedSign(const NextBellSign& timetable) {
    return overriding(timetable, "Sonneries suspendues");
}

} // namespace quorel
