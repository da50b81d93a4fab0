#include "ui/row_warnings.h"

#include "schedule/number_text.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"
#include "schedule/time_text.h"
#include "schedule/today_table.h"

#include <algorithm>
#include <numeric>

namespace quorel {

namespace {

// Whether a row takes a slot once saved. Its record is written and read back as the scheduler
// reads the day file, since a quote typed into a field changes what is read.
bool takesSlotOnceSaved(const ScheduleEntry& row) {
    std::string bytes;
    writeRecord(bytes, {row.output, row.time, row.duration});
    RecordReader reader(bytes);
    while (const auto record = reader.next(3)) {
        if (takesTodaySlot((*record)[0], (*record)[2])) {
            return true;
        }
    }
    return false;
}

} // namespace

RowWarning outputWarning(int output, int moduleRelays) {
    if (output <= moduleRelays || output > 4) {
        return RowWarning::None;
    }
    return output == 3 ? RowWarning::NoRelay3 : RowWarning::NoRelay4;
}

std::vector<RowWarning> rowWarnings(const EditorList& list, int moduleRelays) {
    const std::vector<ScheduleEntry>& rows = list.rows();
    std::vector<RowWarning> warnings(rows.size(), RowWarning::None);
    std::vector<size_t> saved(rows.size());
    std::iota(saved.begin(), saved.end(), size_t{0});
    std::stable_sort(saved.begin(), saved.end(),
                     [&rows](size_t a, size_t b) { return rows[a].time < rows[b].time; });
    int slots = 0;
    for (size_t index : saved) {
        if (takesSlotOnceSaved(rows[index]) && ++slots > TodayTable::kSlots) {
            warnings[index] = RowWarning::BeyondCapacity;
        }
        if (const RowWarning noRelay =
                outputWarning(static_cast<int>(leadingNumber(rows[index].output)), moduleRelays);
            noRelay != RowWarning::None) {
            warnings[index] = noRelay;
        }
        if (!isClockTimeText(rows[index].time)) {
            warnings[index] = RowWarning::TimeNeverMatches;
        }
    }
    return warnings;
}

const char* rowWarningToolTip(RowWarning warning) {
    switch (warning) {
    case RowWarning::TimeNeverMatches:
        return "Cette ligne ne se déclenchera jamais : l'heure doit s'écrire exactement hh:mm:ss, "
               "de 00:00:00 à 23:59:59.";
    case RowWarning::BeyondCapacity:
        return "Cette ligne ne se déclenchera jamais : seules les 600 premières entrées de la "
               "journée, dans l'ordre des heures, sont programmées.";
    case RowWarning::NoRelay3:
        return "Sortie 3 : pas de relais 3 sur ce module";
    case RowWarning::NoRelay4:
        return "Sortie 4 : pas de relais 4 sur ce module";
    case RowWarning::None:
        break;
    }
    return "";
}

} // namespace quorel
