#pragma once

#include <string>

namespace quorel {

// What the installer does with SYSTEM's rights once the station's service is registered. Each
// returns what failed in French, empty when all was done.

// Makes the data folder when missing and gives it its access list, kept by what the station
// writes in it: SYSTEM and the Administrators own it, the service's account (LocalService) and
// the group of the operators may change its files, the other users may read them. The list
// replaces whatever the folder had: a folder made beforehand by someone else is not theirs any
// more. The operators' group is made when missing; when it cannot be, the folder is protected
// without it and caveat says so.
std::string protectDataFolder(const std::string& folder, std::string& caveat);

// The data folder's access list in SDDL, the operators' group given as the text of its SID
// (empty: no such group).
std::string dataFolderAccessList(const std::string& operators);

// The service manager restarts the service 5 s after each failure: a crash, a hung tick that
// ended the process, or an end with an error status.
std::string restartOnFailure(const std::string& serviceName);

} // namespace quorel
