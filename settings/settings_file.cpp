#include "settings/settings_file.h"

#include "schedule/number_text.h"
#include "schedule/record_reader.h"
#include "schedule/record_writer.h"

#include <optional>

namespace quorel {

namespace {

constexpr int16_t kLastPortOption = 4;

std::string quoted(const std::string& path) {
    return "« " + path + " »";
}

// The option index stored in the file, or the French description of why it cannot be used.
std::optional<int16_t> readOption(const std::string& path, FileLayer& files, std::string& problem) {
    const FileReadResult file = files.read(path, kSettingsFileMaxBytes);
    if (!file.ok()) {
        problem = "Impossible de lire le fichier de réglages " + quoted(path) + " : " + file.error;
        return std::nullopt;
    }
    RecordReader reader(file.bytes);
    const std::optional<std::vector<std::string>> record = reader.next(1);
    if (!record) {
        problem = "Le fichier de réglages " + quoted(path) + " est vide.";
        return std::nullopt;
    }
    const std::string& field = record->front();
    const std::optional<int16_t> index = fieldToInt16(field);
    if (!index) {
        problem = "Le fichier de réglages " + quoted(path) + " ne contient pas un numéro de port " +
                  "valable : " + quoted(field) + ".";
        return std::nullopt;
    }
    if (*index < 0 || *index > kLastPortOption) {
        problem = "Le fichier de réglages " + quoted(path) + " désigne le port n° " +
                  std::to_string(*index) + ", qui n'existe pas (0 à 4 attendu).";
        return std::nullopt;
    }
    return index;
}

void load(const std::string& path, const PortOptionAccess& ports, Dialogs& dialogs,
          FileLayer& files) {
    // A missing file only means that the program has never been closed here before.
    if (!files.exists(path)) {
        return;
    }
    std::string problem;
    const std::optional<int16_t> index = readOption(path, files, problem);
    if (!index) {
        dialogs.message(problem, MessageIcon::None);
        return;
    }
    ports.select(*index);
}

void save(const std::string& path, const PortOptionAccess& ports, Dialogs& dialogs,
          FileLayer& files) {
    std::string bytes;
    writeRecord(bytes, {static_cast<long long>(ports.selected())});
    const std::string error = files.replace(path, bytes);
    if (!error.empty()) {
        dialogs.message("Impossible d'enregistrer le fichier de réglages " + quoted(path) + " : " +
                            error,
                        MessageIcon::None);
    }
}

} // namespace

void SettingsFile(FileAction action, const std::string& settingsPath, const PortOptionAccess& ports,
                  Dialogs& dialogs, FileLayer& files) {
    switch (action) {
    case FileAction::Load:
        load(settingsPath, ports, dialogs, files);
        break;
    case FileAction::Save:
        save(settingsPath, ports, dialogs, files);
        break;
    }
}

} // namespace quorel
