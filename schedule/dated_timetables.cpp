#include "schedule/dated_timetables.h"

#include "schedule/calendar_date.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"

#include <charconv>

namespace quorel {

namespace {

// Plain decimal digits only, as the program writes them.
std::optional<int16_t> timetableNumber(std::string_view text) {
    int16_t number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 0 ||
        number > kLastTimetable) {
        return std::nullopt;
    }
    return number;
}

// Characters of a UTF-8 text, not bytes.
size_t characterCount(const std::string& text) {
    size_t count = 0;
    for (const unsigned char byte : text) {
        count += (byte & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// Gives each record of a Quorel.horaires to take, in file order, without holding them all.
template <typename Take> void forEachDatedPeriodRecord(std::string_view bytes, Take take) {
    RecordReader reader(bytes);
    while (auto record = reader.next(3)) {
        take(DatedPeriodRecord{std::move((*record)[0]), std::move((*record)[1]),
                               std::move((*record)[2])});
    }
}

} // namespace

TimetableNames readTimetableNames(std::string_view bytes) {
    TimetableNames names;
    RecordReader reader(bytes);
    while (auto record = reader.next(2)) {
        const std::optional<int16_t> number = timetableNumber((*record)[0]);
        if (number && *number >= kFirstSpecialTimetable && !(*record)[1].empty()) {
            names[*number] = std::move((*record)[1]);
        }
    }
    return names;
}

TimetableNames loadTimetableNames(const std::string& path, FileLayer& files) {
    const FileReadResult file = files.read(path, kTimetableNamesMaxBytes);
    return file.ok() ? readTimetableNames(file.bytes) : TimetableNames{};
}

std::string timetableNamesBytes(const TimetableNames& names) {
    std::string bytes;
    for (const auto& [number, name] : names) {
        writeRecord(bytes, {std::to_string(number), name});
    }
    return bytes;
}

std::string timetableNameFault(const std::string& name) {
    if (name.find_first_not_of(" \t") == std::string::npos) {
        return "Le nom de l'horaire est vide.";
    }
    if (name.find_first_of("\"\r\n") != std::string::npos) {
        return "Le nom de l'horaire ne peut pas contenir de guillemet.";
    }
    if (characterCount(name) > kTimetableNameMaxLength) {
        return "Le nom de l'horaire dépasse 30 caractères.";
    }
    return {};
}

std::string timetableName(int16_t timetable, const TimetableNames& names) {
    if (timetable >= 0 && timetable < kFirstSpecialTimetable) {
        return kDayNames.at(static_cast<size_t>(timetable));
    }
    const auto named = names.find(timetable);
    return named != names.end() ? named->second : "Horaire " + std::to_string(timetable);
}

std::vector<DatedPeriodRecord> readDatedPeriodRecords(std::string_view bytes) {
    std::vector<DatedPeriodRecord> records;
    forEachDatedPeriodRecord(
        bytes, [&records](DatedPeriodRecord&& record) { records.push_back(std::move(record)); });
    return records;
}

std::string datedPeriodsBytes(const std::vector<DatedPeriodRecord>& records) {
    std::string bytes;
    for (const DatedPeriodRecord& record : records) {
        writeRecord(bytes, {record.from, record.to, record.timetable});
    }
    return bytes;
}

std::optional<DatedPeriod> datedPeriodOf(const DatedPeriodRecord& record,
                                         const TimetableNames& names, std::string* fault) {
    const auto skipped = [fault](const char* why) {
        if (fault != nullptr) {
            *fault = why;
        }
        return std::nullopt;
    };
    const std::optional<LocalDate> from = parseIsoDate(record.from);
    const std::optional<LocalDate> to = parseIsoDate(record.to);
    if (!from || !to) {
        return skipped("Date inexistante : période ignorée");
    }
    if (*to < *from) {
        return skipped("La fin précède le début : période ignorée");
    }
    const std::optional<int16_t> timetable = timetableNumber(record.timetable);
    if (!timetable) {
        return skipped("Horaire inconnu (0 à 15) : période ignorée");
    }
    if (*timetable >= kFirstSpecialTimetable && names.count(*timetable) == 0) {
        return skipped("Horaire particulier sans nom : période ignorée");
    }
    return DatedPeriod{*from, *to, *timetable};
}

DatedPeriodRecord recordOf(const DatedPeriod& period) {
    return {isoDateText(period.from), isoDateText(period.to), std::to_string(period.timetable)};
}

std::vector<DatedPeriod> loadDatedPeriods(const std::string& path, const TimetableNames& names,
                                          FileLayer& files) {
    const FileReadResult file = files.read(path, kDatedPeriodsMaxBytes);
    std::vector<DatedPeriod> periods;
    if (!file.ok()) {
        return periods;
    }
    forEachDatedPeriodRecord(file.bytes, [&](const DatedPeriodRecord& record) {
        if (std::optional<DatedPeriod> period = datedPeriodOf(record, names)) {
            periods.push_back(*period);
        }
    });
    return periods;
}

const DatedPeriod* periodRinging(const std::vector<DatedPeriod>& periods, const LocalDate& date) {
    const DatedPeriod* ringing = nullptr;
    for (const DatedPeriod& period : periods) {
        if (period.from <= date && date <= period.to &&
            (ringing == nullptr || !(period.from < ringing->from))) {
            ringing = &period;
        }
    }
    return ringing;
}

} // namespace quorel
