#include "schedule/journal_sentences.h"

#include <cmath>

namespace quorel {

namespace {

std::string quoted(const std::string& text) {
    return "« " + text + " »";
}

std::string number(long long value) {
    return std::to_string(value);
}

std::string unrungEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                const std::string& why) {
    return "Entrée " + entryTime + " (S" + number(output) + ", " + number(seconds) +
           " s) non sonnée : " + why;
}

} // namespace

std::string startSentence(const std::string& version) {
    return "Démarrage de Quorel " + version;
}

std::string serviceStartSentence(const std::string& version) {
    return "Démarrage du service Quorel " + version;
}

std::string stopSentence(const std::string& cause) {
    return "Arrêt de Quorel : " + cause;
}

std::string portChosenSentence(const std::string& caption, const std::string& status) {
    return "Port " + quoted(caption) + " choisi : " + status;
}

std::string portOpenedSentence(const std::string& caption, const std::string& status) {
    return "Port " + quoted(caption) + " ouvert : " + status;
}

std::string outputOnSentence(int output, const std::string& entryTime, int32_t seconds) {
    return "Sortie " + number(output) + " activée (entrée " + entryTime + ", " + number(seconds) +
           " s)";
}

std::string outputOffSentence(int output) {
    return "Sortie " + number(output) + " désactivée";
}

std::string manualSwitchSentence(int box, bool on) {
    // Appended rather than added to a one-letter literal, which GCC 12 at -O2 wrongly warns about.
    std::string sentence = "S";
    sentence += number(box);
    sentence += on ? " activée à la main" : " désactivée à la main";
    return sentence;
}

std::string relayTestSentence(int relay, bool on) {
    return "Relais " + number(relay) + (on ? " activé" : " désactivé") + " (test)";
}

std::string relayFailureSentence(int errorNumber) {
    return "Erreur n° " + number(errorNumber) + " : commande relais non écrite";
}

std::string relaysRestoredSentence(const std::string& status) {
    return "Commandes relais rétablies : " + status;
}

std::string tableLoadedSentence(int entries, const std::string& otherTimetable) {
    // French counts none and one in the singular.
    return "Horaire du jour chargé : " + number(entries) + (entries > 1 ? " entrées" : " entrée") +
           (otherTimetable.empty() ? "" : " (horaire particulier " + quoted(otherTimetable) + ")");
}

std::string silencedEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                  const std::string& closure) {
    return unrungEntrySentence(entryTime, output, seconds, "jour sans sonnerie " + quoted(closure));
}

std::string missedEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                const std::string& why) {
    return "Entrée " + entryTime + " (S" + number(output) + ", " + number(seconds) +
           " s) manquée : " + why;
}

std::string clockJumpSentence(double seconds) {
    const long long total = std::llround(std::abs(seconds));
    const long long days = total / 86400;
    const long long hours = total % 86400 / 3600;
    const long long minutes = total % 3600 / 60;
    const long long rest = total % 60;
    std::string size;
    if (days > 0) {
        size = std::to_string(days) + " j " + std::to_string(hours) + " h";
    } else if (hours > 0) {
        size = std::to_string(hours) + " h " + std::to_string(minutes) + " min";
    } else if (minutes > 0) {
        size = std::to_string(minutes) + " min " + std::to_string(rest) + " s";
    } else {
        size = std::to_string(rest) + " s";
    }
    return std::string(seconds > 0 ? "Horloge avancée de " : "Horloge retardée de ") + size;
}

std::string busyEntrySentence(const std::string& entryTime, int output, int32_t seconds) {
    return unrungEntrySentence(entryTime, output, seconds, "Quorel occupé");
}

std::string summerTimeSentence(int seconds) {
    const int size = std::abs(seconds);
    std::string text = size % 3600 == 0 ? number(size / 3600) + " h"
                       : size < 3600
                           ? number(size / 60) + " min"
                           : number(size / 3600) + " h " + number(size % 3600 / 60) + " min";
    return seconds > 0 ? "Passage à l'heure d'été (+" + text + ")"
                       : "Passage à l'heure d'hiver (−" + text + ")";
}

std::string nonexistentEntrySentence(const std::string& entryTime, int output, int32_t seconds) {
    return unrungEntrySentence(entryTime, output, seconds,
                               "heure inexistante (passage à l'heure d'été)");
}

std::string unsavedEditsDroppedSentence(const std::string& dayName) {
    return "modifications non enregistrées de " + dayName + " abandonnées";
}

std::string fileRefusedSentence(const std::string& fileName, const std::string& reason) {
    return "Fichier " + fileName + " refusé : " + reason;
}

std::string journalFailureNotice(const std::string& reason) {
    return "Journal impossible à écrire : " + reason;
}

std::string signalHeldEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                    const std::string& signal) {
    return unrungEntrySentence(entryTime, output, seconds,
                               "signal " + quoted(signal) + " en cours");
}

std::string suspendedEntrySentence(const std::string& entryTime, int output, int32_t seconds) {
    return unrungEntrySentence(entryTime, output, seconds, "sonneries suspendues");
}

std::string signalStartSentence(const std::string& signal, const std::string& outputs,
                                const std::string& askedBy) {
    return "Signal " + quoted(signal) + " déclenché (" + outputs + ") par " + askedBy;
}

std::string signalStopSentence(const std::string& signal, const std::string& askedBy) {
    return "Signal " + quoted(signal) + " arrêté par " + askedBy;
}

std::string signalEndSentence(const std::string& signal) {
    return "Signal " + quoted(signal) + " terminé";
}

std::string suspendSentence(const std::string& askedBy) {
    return "Sonneries suspendues par " + askedBy;
}

std::string resumeSentence(const std::string& askedBy) {
    return "Sonneries reprises par " + askedBy;
}

} // namespace quorel
