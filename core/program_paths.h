#pragma once

#include <string>

namespace quorel {

// The program's folder and the files derived from it, set once by the start-up.
struct ProgramPaths {
    std::string AppFolder;          // the data folder (see dataFolder), ending in the separator
    std::string SettingsPath;       // AppFolder + "Quorel.ini"
    std::string DayFilePrefix;      // AppFolder + "Quorel"; day d is DayFilePrefix + "." + d
    std::string ClosedPeriodsPath;  // AppFolder + "Quorel.conges", the days without bells
    std::string JournalFolder;      // AppFolder + "Journal/", one file of events a day
    std::string DatedPeriodsPath;   // AppFolder + "Quorel.horaires", the dated periods
    std::string TimetableNamesPath; // AppFolder + "Quorel.noms", the special timetables' names
    std::string SignalsPath;        // AppFolder + "Quorel.signaux", the signals' patterns
    std::string SuspensionPath;     // AppFolder + "Quorel.suspendu": while it exists, no bells

    static ProgramPaths inFolder(std::string folder) {
        if (folder.empty() || folder.back() != '/') {
            folder += '/';
        }
        return ProgramPaths{folder,
                            folder + "Quorel.ini",
                            folder + "Quorel",
                            folder + "Quorel.conges",
                            folder + "Journal/",
                            folder + "Quorel.horaires",
                            folder + "Quorel.noms",
                            folder + "Quorel.signaux",
                            folder + "Quorel.suspendu"};
    }
};

} // namespace quorel
