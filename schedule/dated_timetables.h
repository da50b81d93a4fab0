#pragma once

#include "platform/clock.h"
#include "platform/file_layer.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// The timetables: 0 (Lundi) to 6 (Dimanche) ring on their weekday; 7 to 15 are the special
// timetables, each in a day file of the same form (Quorel.7 to Quorel.15), rung on the dates
// a dated period gives them.
inline constexpr int16_t kFirstSpecialTimetable = 7;
inline constexpr int16_t kLastTimetable = 15;
inline constexpr size_t kTimetableNameMaxLength = 30;

inline constexpr std::array<const char*, 7> kDayNames = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                                         "Vendredi", "Samedi", "Dimanche"};

// The largest Quorel.noms and Quorel.horaires read: nine names of 30 characters take under 500
// bytes, and a period some 35, so that the periods' bound holds over 1 800. A file this large,
// whatever it holds, is read in a few milliseconds at most (BM_LoadAFileAtItsBound).
inline constexpr int64_t kTimetableNamesMaxBytes = 16 * 1024;
inline constexpr int64_t kDatedPeriodsMaxBytes = 64 * 1024;

// The names of the special timetables (Quorel.noms), by timetable number.
using TimetableNames = std::map<int16_t, std::string>;

// One record per name, "7","Examens"; a record whose number is not 7 to 15, or whose name is
// empty, is skipped; of two records of one number, the later counts.
TimetableNames readTimetableNames(std::string_view bytes);
TimetableNames loadTimetableNames(const std::string& path, FileLayer& files = systemFiles());
std::string timetableNamesBytes(const TimetableNames& names);
// Why a name cannot be given to a special timetable, in French, or an empty text.
std::string timetableNameFault(const std::string& name);

// "Lundi" to "Dimanche", a special timetable's name, or "Horaire 7" for one without a name.
std::string timetableName(int16_t timetable, const TimetableNames& names);

// A run of dates (both included) that ring another timetable than their weekday's.
struct DatedPeriod {
    LocalDate from;
    LocalDate to;
    int16_t timetable = 0;
    bool operator==(const DatedPeriod&) const = default;
};

// A record of Quorel.horaires as it stands in the file, "2027-06-14","2027-06-18","7", kept
// whole so that the dialog shows, and saves back, even a record the scheduler skips.
struct DatedPeriodRecord {
    std::string from;
    std::string to;
    std::string timetable;
    bool operator==(const DatedPeriodRecord&) const = default;
};

std::vector<DatedPeriodRecord> readDatedPeriodRecords(std::string_view bytes);
std::string datedPeriodsBytes(const std::vector<DatedPeriodRecord>& records);
// The period a record stands for, or why it is skipped (in French): dates that do not exist, an
// end before the start, a timetable that is not 0 to 15, or a special one without a name.
std::optional<DatedPeriod> datedPeriodOf(const DatedPeriodRecord& record,
                                         const TimetableNames& names, std::string* fault = nullptr);
DatedPeriodRecord recordOf(const DatedPeriod& period);

// The periods of the file at path that ring, in file order: none when it is missing, cannot be
// read or is over kDatedPeriodsMaxBytes.
std::vector<DatedPeriod> loadDatedPeriods(const std::string& path, const TimetableNames& names,
                                          FileLayer& files = systemFiles());

// The period whose timetable rings on date: of those that cover it, the one that starts later,
// then the one listed later; nullptr when none does.
const DatedPeriod* periodRinging(const std::vector<DatedPeriod>& periods, const LocalDate& date);

} // namespace quorel
