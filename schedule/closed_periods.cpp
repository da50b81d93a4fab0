#include "schedule/closed_periods.h"

#include "schedule/calendar_date.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"

namespace quorel {

std::vector<ClosedPeriod> readClosedPeriods(std::string_view bytes) {
    std::vector<ClosedPeriod> periods;
    RecordReader reader(bytes);
    while (auto record = reader.next(3)) {
        const auto from = parseIsoDate((*record)[0]);
        const auto to = parseIsoDate((*record)[1]);
        if (from && to && *from <= *to) {
            periods.push_back({*from, *to, std::move((*record)[2])});
        }
    }
    return periods;
}

std::vector<ClosedPeriod> loadClosedPeriods(const std::string& path, FileLayer& files) {
    const FileReadResult file = files.read(path, kClosedPeriodsMaxBytes);
    return file.ok() ? readClosedPeriods(file.bytes) : std::vector<ClosedPeriod>{};
}

std::string closedPeriodsBytes(const std::vector<ClosedPeriod>& periods) {
    std::string bytes;
    for (const ClosedPeriod& period : periods) {
        writeRecord(bytes, {isoDateText(period.from), isoDateText(period.to), period.label});
    }
    return bytes;
}

const ClosedPeriod* periodCovering(const std::vector<ClosedPeriod>& periods,
                                   const LocalDate& date) {
    for (const ClosedPeriod& period : periods) {
        if (period.from <= date && date <= period.to) {
            return &period;
        }
    }
    return nullptr;
}

} // namespace quorel
