#include "ui/timetable_copy.h"

#include "settings/autorun.h"
#include "station/channel_lines.h"
#include "station/station_channel.h"

#include <algorithm>
#include <vector>

namespace quorel {

namespace {

bool isWeekdayFile(const std::string& name) {
    return name.size() == 8 && name.starts_with("Quorel.") && name[7] >= '0' && name[7] <= '6';
}

bool copied(const std::string& name) {
    const ChannelFile kind = channelFileKind(name);
    return kind != ChannelFile::Refused && kind != ChannelFile::JournalDay;
}

} // namespace

void offerTimetableCopy(StationConsole& console, const std::string& localFolder,
                        FileLayer& localFiles, SettingsStore& store, Dialogs& dialogs) {
    if (store.read(kStoreApplication, kAutoRunSection, kCopyOfferedKey, "") == "True") {
        return;
    }
    // The folder's listing rather than a look-up of each of the thousand names a console may
    // write: one read of the folder.
    std::vector<std::string> names = regularFilesIn(localFolder);
    std::erase_if(names, [](const std::string& name) { return !copied(name); });
    if (std::none_of(names.begin(), names.end(), isWeekdayFile)) {
        return;
    }
    const std::string& stationFolder = console.dataFolder();
    for (char day = '0'; day <= '6'; ++day) {
        // A station that cannot say counts as having one: nothing is offered, nor remembered.
        if (console.files().exists(stationFolder + "Quorel." + day)) {
            return;
        }
    }
    const Answer answer = dialogs.ask("Copier vos horaires dans le service ?");
    if (answer == Answer::Cancel) {
        return; // closed without an answer: asked again at the next start
    }
    if (answer == Answer::Yes) {
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const FileReadResult file = localFiles.read(localFolder + name, kConsoleFileMaxBytes);
            const std::string error =
                file.ok() ? console.files().replace(stationFolder + name, file.bytes) : file.error;
            if (!error.empty()) {
                dialogs.message("Impossible de copier « " + name + " » dans le service : " + error,
                                MessageIcon::Critical);
            }
            if (!console.reachable()) {
                return; // the rest cannot be written either; offered again at the next start
            }
        }
    }
    // A store that cannot be written only makes the offer come again.
    static_cast<void>(store.write(kStoreApplication, kAutoRunSection, kCopyOfferedKey, "True"));
}

} // namespace quorel
