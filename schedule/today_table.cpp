#include "schedule/today_table.h"

#include "core/module_size.h"
#include "schedule/day_file_path.h"
#include "schedule/number_text.h"
#include "schedule/record_reader.h"

namespace quorel {

void TodayTable::clear() {
    for (std::string& time : TodayTime) {
        time.clear();
    }
    TodayOutput.fill(0);
    TodayDuration.fill(0);
}

void LoadTodayTable(TodayTable& table, const std::string& dayFilePrefix, int16_t day,
                    FileLayer& files) {
    table.clear();
    const std::string path = dayFilePath(dayFilePrefix, day);
    if (!files.exists(path)) {
        return;
    }
    const FileReadResult file = files.read(path, kDayFileMaxBytes);
    if (!file.ok()) {
        return;
    }
    fillTodayTable(table, file.bytes);
}

bool takesTodaySlot(std::string_view output, std::string_view duration) {
    const auto number = fieldToInt16(output);
    return number && *number >= 1 && *number <= kOutputCount && fieldToInt32(duration);
}

void fillTodayTable(TodayTable& table, std::string_view dayFileBytes) {
    RecordReader reader(dayFileBytes);
    int slot = 0;
    while (slot < TodayTable::kSlots) {
        auto record = reader.next(3);
        if (!record) {
            break;
        }
        if (!takesTodaySlot((*record)[0], (*record)[2])) {
            continue;
        }
        ++slot;
        table.TodayOutput[slot] = *fieldToInt16((*record)[0]);
        table.TodayTime[slot] = std::move((*record)[1]);
        table.TodayDuration[slot] = *fieldToInt32((*record)[2]);
    }
}

} // namespace quorel
