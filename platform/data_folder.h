#pragma once

#include <string>

namespace quorel {

// Where the program keeps its day files and settings, given its own folder and whether the user
// may write there: that folder when it is writable (a copy in a folder of its own, a USB stick,
// the build folder), otherwise "quorel/" in the user's data folder (an installed program, under
// /usr). Ends in the separator.
inline std::string chooseDataFolder(const std::string& programFolder, bool programFolderWritable,
                                    const std::string& userDataFolder) {
    return programFolderWritable ? programFolder : userDataFolder + "/quorel/";
}

// On Windows, the file that the installer puts beside an installed program.
inline constexpr const char* kInstalledMarker = "quorel.installed";

// The data folder of this run, for the executable's folder programFolder; the fallback folder is
// created (owner only) when missing. A folder that cannot be created shows later, as each save
// fails with its reason.
std::string dataFolder(const std::string& programFolder);

} // namespace quorel
