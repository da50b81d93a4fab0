#pragma once

#include "platform/clock.h"
#include "platform/file_layer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorel {

// The largest Quorel.conges read: a period takes some 50 bytes, so that it holds over 1 200. A
// file this large, whatever it holds, is read in a few milliseconds at most
// (BM_LoadAFileAtItsBound).
inline constexpr int64_t kClosedPeriodsMaxBytes = 64 * 1024;

// A run of whole days on which no timetable entry rings (holidays, a closure): from and to are
// local calendar dates, both included.
struct ClosedPeriod {
    LocalDate from;
    LocalDate to;
    std::string label;
    bool operator==(const ClosedPeriod&) const = default;
};

// The periods of the bytes of a Quorel.conges file: one record of three text fields per line,
// "2026-12-19","2027-01-03","Vacances de Noël". A record whose dates do not exist, whose end
// comes before its start or that lacks a field is skipped; the others still count.
std::vector<ClosedPeriod> readClosedPeriods(std::string_view bytes);
// The periods of the file at path: none when it is missing, cannot be read or is over
// kClosedPeriodsMaxBytes, so that a bad file never stops the bells of ordinary days.
std::vector<ClosedPeriod> loadClosedPeriods(const std::string& path,
                                            FileLayer& files = systemFiles());
// The bytes of a Quorel.conges file holding the periods, in the order given.
std::string closedPeriodsBytes(const std::vector<ClosedPeriod>& periods);
// The first period that covers date, or nullptr when it is an ordinary day.
const ClosedPeriod* periodCovering(const std::vector<ClosedPeriod>& periods, const LocalDate& date);

} // namespace quorel
