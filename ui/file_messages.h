#pragma once

#include <string>

namespace quorel {

// The messages shown when the editor cannot read or save one of its files, with the system's
// reason.
inline std::string cannotReadMessage(const std::string& path, const std::string& reason) {
    return "Impossible de lire le fichier « " + path + " » : " + reason + ".";
}

inline std::string cannotSaveMessage(const std::string& path, const std::string& reason) {
    return "Impossible d'enregistrer le fichier « " + path + " » : " + reason + ".";
}

} // namespace quorel
