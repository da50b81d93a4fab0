#pragma once

#include "platform/dialogs.h"
#include "platform/file_layer.h"
#include "platform/settings_store.h"
#include "ui/station_console.h"

#include <string>

namespace quorel {

// The key, in the section of the program's own settings, that says the copy was offered.
inline constexpr const char* kCopyOfferedKey = "CopieProposee";

// When the window has just become the console of a station that has no weekday timetable while
// localFolder (the window's own data folder, ending in the separator) holds some, asks the user
// once whether to copy them into the station. On "Oui" each file of localFolder that a console
// may write (timetables, days without bells, dated periods, timetable names) is written by the
// station, which reads it again; a file that cannot be copied is told and the others go on.
// localFolder is only read. The offer is remembered in store whatever the answer, unless the
// question was closed without one or the station could not be reached during the copy.
void offerTimetableCopy(StationConsole& console, const std::string& localFolder,
                        FileLayer& localFiles, SettingsStore& store, Dialogs& dialogs);

} // namespace quorel
