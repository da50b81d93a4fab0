#include "ui/closed_periods_editor.h"

#include "platform/file_io.h"
#include "schedule/calendar_date.h"
#include "schedule/public_holidays.h"
#include "ui/file_messages.h"

#include <algorithm>

namespace quorel {

ClosedPeriodsEditor::ClosedPeriodsEditor(std::vector<ClosedPeriod> periods) {
    for (ClosedPeriod& period : periods) {
        insert(std::move(period));
    }
}

void ClosedPeriodsEditor::insert(ClosedPeriod period) {
    // After the periods that start the same day, so that equal starts keep their order.
    const auto place = std::upper_bound(
        periods_.begin(), periods_.end(), period.from,
        [](const LocalDate& from, const ClosedPeriod& other) { return from < other.from; });
    periods_.insert(place, std::move(period));
}

std::string ClosedPeriodsEditor::add(const LocalDate& from, const LocalDate& to,
                                     const std::string& label) {
    if (!isRealDate(from) || !isRealDate(to)) {
        return "Cette date n'existe pas.";
    }
    if (to < from) {
        return "La date « Au » (" + frenchDateText(to) + ") précède la date « Du » (" +
               frenchDateText(from) + ").";
    }
    // The file's fields are written between double quotes, with no escape.
    if (label.find('"') != std::string::npos) {
        return "Le motif ne peut pas contenir de guillemet (\") : il couperait les champs du "
               "fichier.";
    }
    insert({from, to, label});
    return {};
}

void ClosedPeriodsEditor::remove(size_t index) {
    if (index < periods_.size()) {
        periods_.erase(periods_.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

int ClosedPeriodsEditor::addPublicHolidays(int year) {
    int added = 0;
    for (int each : {year, year + 1}) {
        for (ClosedPeriod& holiday : frenchPublicHolidays(each)) {
            const bool listed = std::any_of(
                periods_.begin(), periods_.end(), [&holiday](const ClosedPeriod& period) {
                    return period.from == holiday.from && period.to == holiday.to;
                });
            if (!listed) {
                insert(std::move(holiday));
                ++added;
            }
        }
    }
    return added;
}

std::string ClosedPeriodsEditor::save(const std::string& path, FileLayer& files) const {
    const std::string bytes = closedPeriodsBytes(periods_);
    // A file the scheduler would refuse to read is not written: the old one stays.
    const std::string error = static_cast<int64_t>(bytes.size()) > kClosedPeriodsMaxBytes
                                  ? tooLargeFileText(kClosedPeriodsMaxBytes)
                                  : files.replace(path, bytes);
    if (error.empty()) {
        return {};
    }
    return cannotSaveMessage(path, error);
}

std::string readForEditing(const std::string& path, std::vector<ClosedPeriod>& periods,
                           FileLayer& files) {
    periods.clear();
    if (!files.stamp(path)) {
        return {};
    }
    const FileReadResult file = files.read(path, kClosedPeriodsMaxBytes);
    if (!file.ok()) {
        return cannotReadMessage(path, file.error);
    }
    periods = readClosedPeriods(file.bytes);
    return {};
}

bool isOver(const ClosedPeriod& period, const LocalDate& today) {
    return period.to < today;
}

} // namespace quorel
