#include "schedule/today_table.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

// Loads arbitrary bytes as a day file: whatever they hold, every used slot must carry an output
// of 1 to 4, and the slots after the first empty one must all be empty.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static quorel::TodayTable table;
    table.clear();
    quorel::fillTodayTable(table, std::string_view(reinterpret_cast<const char*>(data), size));
    bool ended = false;
    for (int slot = 1; slot <= quorel::TodayTable::kSlots; ++slot) {
        const bool used = table.TodayOutput[slot] != 0;
        if (used && (ended || table.TodayOutput[slot] < 1 || table.TodayOutput[slot] > 4)) {
            std::abort();
        }
        ended = ended || !used;
    }
    if (!table.TodayTime[0].empty() || table.TodayOutput[0] != 0) {
        std::abort();
    }
    return 0;
}
