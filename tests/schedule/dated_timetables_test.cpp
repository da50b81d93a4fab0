#include "schedule/dated_timetables.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace quorel {
namespace {

TEST(DatedTimetables, FilesReadAndWriteTheirRecordsAndABadRecordIsSkippedWithItsReason) {
    const TimetableNames names{{7, "Examens"}, {15, "Journée pédagogique"}};
    const std::string namesBytes = timetableNamesBytes(names);
    EXPECT_EQ(namesBytes, "\"7\",\"Examens\"\r\n\"15\",\"Journ\xE9\x65 p\xE9\x64\x61gogique\"\r\n");
    EXPECT_EQ(readTimetableNames("\"6\",\"Dimanche bis\"\r\n\"16\",\"Trop loin\"\r\n\"9\",\"\"\r\n"
                                 "\"x\",\"Rien\"\r\n\"7\",\"Ancien\"\r\n" +
                                 namesBytes),
              names);
    EXPECT_EQ(timetableName(4, names), "Vendredi");
    EXPECT_EQ(timetableName(15, names), "Journée pédagogique");
    EXPECT_EQ(timetableName(8, names), "Horaire 8");
    EXPECT_EQ(timetableNameFault("Examens de juin"), "");
    EXPECT_EQ(timetableNameFault("Épreuves écrites du brevet 207"), ""); // 30 characters
    EXPECT_EQ(timetableNameFault("Épreuves écrites du brevet 2027"),
              "Le nom de l'horaire dépasse 30 caractères.");
    EXPECT_EQ(timetableNameFault("Le \"bac\""),
              "Le nom de l'horaire ne peut pas contenir de guillemet.");
    EXPECT_EQ(timetableNameFault("  "), "Le nom de l'horaire est vide.");

    const std::vector<DatedPeriodRecord> records{
        {"2027-06-14", "2027-06-18", "7"}, {"2027-02-30", "2027-03-01", "7"},
        {"2027-03-02", "2027-03-01", "7"}, {"2027-03-01", "2027-03-02", "16"},
        {"2027-03-01", "2027-03-02", "8"}, {"2027-03-03", "2027-03-03", "4"}};
    const std::string periodsBytes = datedPeriodsBytes(records);
    EXPECT_EQ(periodsBytes.substr(0, 62), "\"2027-06-14\",\"2027-06-18\",\"7\"\r\n"
                                          "\"2027-02-30\",\"2027-03-01\",\"7\"\r\n");
    EXPECT_EQ(readDatedPeriodRecords(periodsBytes + "\"2027-03-01\",\"2027-03-02\"\r\n"), records);
    std::vector<std::string> faults;
    for (const DatedPeriodRecord& record : records) {
        std::string fault;
        const std::optional<DatedPeriod> period = datedPeriodOf(record, names, &fault);
        faults.push_back(period ? std::to_string(period->timetable) : fault);
    }
    EXPECT_EQ(faults,
              (std::vector<std::string>{"7", "Date inexistante : période ignorée",
                                        "La fin précède le début : période ignorée",
                                        "Horaire inconnu (0 à 15) : période ignorée",
                                        "Horaire particulier sans nom : période ignorée", "4"}));
    EXPECT_EQ(recordOf({{2027, 6, 14}, {2027, 6, 18}, 7}), records[0]);

    test::TempFolder folder;
    folder.write("Quorel.horaires", periodsBytes);
    const std::vector<DatedPeriod> periods{{{2027, 6, 14}, {2027, 6, 18}, 7},
                                           {{2027, 3, 3}, {2027, 3, 3}, 4}};
    EXPECT_EQ(loadDatedPeriods(folder.file("Quorel.horaires"), names), periods);
    EXPECT_TRUE(loadDatedPeriods(folder.file("missing"), names).empty());
    EXPECT_TRUE(loadTimetableNames(folder.path()).empty()); // a folder is no file
}

// Of the periods that cover a date, the one that starts later rings; of two that start the same
// day, the one listed later.
TEST(DatedTimetables, TheLaterStartThenTheLaterRecordRings) {
    const std::vector<DatedPeriod> periods{{{2027, 6, 1}, {2027, 6, 30}, 7},
                                           {{2027, 6, 14}, {2027, 6, 18}, 8},
                                           {{2027, 6, 14}, {2027, 6, 15}, 9},
                                           {{2027, 6, 10}, {2027, 6, 16}, 10}};
    const auto ringing = [&periods](int day) {
        const DatedPeriod* period = periodRinging(periods, {2027, 6, day});
        return period != nullptr ? period->timetable : -1;
    };
    EXPECT_EQ(ringing(1), 7);
    EXPECT_EQ(ringing(10), 10);
    EXPECT_EQ(ringing(14), 9);
    EXPECT_EQ(ringing(15), 9);
    EXPECT_EQ(ringing(16), 8);
    EXPECT_EQ(ringing(19), 7);
    EXPECT_EQ(periodRinging(periods, {2027, 7, 1}), nullptr);
}

} // namespace
} // namespace quorel
