#pragma once

#include "platform/file_layer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorel {

// Today's timetable: slots 1 to 600, filled in file order; slot 0 is never used. An empty time
// text marks a slot without an entry.
struct TodayTable {
    static constexpr int kSlots = 600;

    std::array<std::string, kSlots + 1> TodayTime;
    std::array<int16_t, kSlots + 1> TodayOutput{};
    std::array<int32_t, kSlots + 1> TodayDuration{};

    void clear();
    bool operator==(const TodayTable&) const = default;
};

// The largest day file read: 600 records of three short fields take some 12 Kio, and a file this
// large, whatever it holds, is read in a few milliseconds at most (BM_LoadAFileAtItsBound).
inline constexpr int64_t kDayFileMaxBytes = 64 * 1024;

// Clears the table and fills it from the day file of day (DayFilePrefix + "." + day).
// - A missing, empty or unreadable file, or one over kDayFileMaxBytes, leaves the table empty.
// - A record whose output or duration is not a number or does not fit its integer width, or whose
//   output is not 1 to 4, is skipped and takes no slot.
// - A line that is not a record (too few fields, a quote left open) is skipped.
// - The first 600 usable records are loaded.
// Nothing is reported: the scheduler reloads this file several times a second at each minute.
void LoadTodayTable(TodayTable& table, const std::string& dayFilePrefix, int16_t day,
                    FileLayer& files = systemFiles());

// Whether a record with these output and duration fields takes a slot, by the rules above.
bool takesTodaySlot(std::string_view output, std::string_view duration);

// The same rules applied to the bytes of a day file; the table must be clear.
void fillTodayTable(TodayTable& table, std::string_view dayFileBytes);

} // namespace quorel
