#pragma once

#include "platform/file_layer.h"
#include "schedule/closed_periods.h"

#include <string>
#include <vector>

namespace quorel {

// The working copy of the days without bells that the dialog "Jours sans sonnerie" edits: the
// periods sorted by start date. Nothing reaches the file until save().
class ClosedPeriodsEditor {
  public:
    explicit ClosedPeriodsEditor(std::vector<ClosedPeriod> periods);

    const std::vector<ClosedPeriod>& periods() const { return periods_; }

    // Adds a period at its place; returns why it is refused, in French, or an empty text.
    std::string add(const LocalDate& from, const LocalDate& to, const std::string& label);
    void remove(size_t index);
    // Adds the French public holidays of year and of the next year that are not listed yet as a
    // one-day period of their date; returns how many were added.
    int addPublicHolidays(int year);

    // Writes the periods to the file at path; returns the message to show when that fails.
    std::string save(const std::string& path, FileLayer& files = systemFiles()) const;

  private:
    void insert(ClosedPeriod period);

    std::vector<ClosedPeriod> periods_;
};

// Reads the periods of the file at path for the dialog. A missing file holds none. Returns the
// message to show when the file exists but cannot be read: editing an empty list then would
// overwrite the periods it holds.
std::string readForEditing(const std::string& path, std::vector<ClosedPeriod>& periods,
                           FileLayer& files = systemFiles());

// A period whose last day is before today is over: the dialog shows it greyed.
bool isOver(const ClosedPeriod& period, const LocalDate& today);

} // namespace quorel
