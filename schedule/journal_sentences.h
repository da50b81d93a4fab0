#pragma once

#include <cstdint>
#include <string>

namespace quorel {

// The sentences of the journal, in French for the caretakers who read it. Outputs, switches and
// relays are numbered from 1.

// "Démarrage de Quorel 1.0"
std::string startSentence(const std::string& version);
// "Démarrage du service Quorel 1.0", when the station runs without the window.
std::string serviceStartSentence(const std::string& version);
// "Arrêt de Quorel : signal", cause saying what asked for it.
std::string stopSentence(const std::string& cause);
// "Port « COM1: » choisi : Init COM1:4800,N,8,1 Ok", status being the status line's text.
std::string portChosenSentence(const std::string& caption, const std::string& status);
// "Port « COM1: » ouvert : ...", once a port tried again every few seconds opens.
std::string portOpenedSentence(const std::string& caption, const std::string& status);
// "Sortie 1 activée (entrée 10:15:00, 5 s)", by the timetable.
std::string outputOnSentence(int output, const std::string& entryTime, int32_t seconds);
// "Sortie 1 désactivée"
std::string outputOffSentence(int output);
// "S1 activée à la main" / "S1 désactivée à la main"
std::string manualSwitchSentence(int box, bool on);
// "Relais 1 activé (test)" / "Relais 1 désactivé (test)"
std::string relayTestSentence(int relay, bool on);
// "Erreur n° 8031 : commande relais non écrite"
std::string relayFailureSentence(int errorNumber);
// "Commandes relais rétablies : Init COM1:4800,N,8,1 Ok"
std::string relaysRestoredSentence(const std::string& status);
// "Horaire du jour chargé : 12 entrées"
// "Horaire du jour chargé : 3 entrées", naming the timetable when it is not the weekday's own:
// "… : 3 entrées (horaire particulier « Examens »)".
std::string tableLoadedSentence(int entries, const std::string& otherTimetable = {});
// "Entrée 10:15:00 (S1, 5 s) non sonnée : jour sans sonnerie « Grève »"
std::string silencedEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                  const std::string& closure);
// "Entrée 08:00:00 (S1, 5 s) non sonnée : Quorel occupé", for an entry whose second went by while
// the program was held up, too long ago to ring it late.
// "Entrée 08:00:00 (S1, 5 s) manquée : Quorel n'était pas lancé".
std::string missedEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                const std::string& why);
// "Horloge avancée de 3 min 12 s", "Horloge retardée de 1 h 0 min" for a jump of seconds.
std::string clockJumpSentence(double seconds);
std::string busyEntrySentence(const std::string& entryTime, int output, int32_t seconds);
// "Passage à l'heure d'été (+1 h)", "Passage à l'heure d'hiver (−1 h)": the UTC offset changed
// by seconds.
std::string summerTimeSentence(int seconds);
// "Entrée 02:30:00 (S1, 5 s) non sonnée : heure inexistante (passage à l'heure d'été)", for an
// entry of the hour that summer time skips.
std::string nonexistentEntrySentence(const std::string& entryTime, int output, int32_t seconds);
// "modifications non enregistrées de Lundi abandonnées", when the program ends with them.
std::string unsavedEditsDroppedSentence(const std::string& dayName);

// "Fichier Quorel.horaires refusé : fichier trop volumineux (plus de 64 Kio)", for a file the
// scheduler reads as missing.
std::string fileRefusedSentence(const std::string& fileName, const std::string& reason);

// What the status line says, once, when the journal cannot be written.
std::string journalFailureNotice(const std::string& reason);

// "Entrée 10:00:00 (S1, 5 s) non sonnée : signal « Alerte intrusion » en cours"
std::string signalHeldEntrySentence(const std::string& entryTime, int output, int32_t seconds,
                                    const std::string& signal);
// "Entrée 10:00:00 (S1, 5 s) non sonnée : sonneries suspendues"
std::string suspendedEntrySentence(const std::string& entryTime, int output, int32_t seconds);
// "Signal « Alerte intrusion » déclenché (S1+S2) par la fenêtre", "… arrêté par …", "… terminé"
std::string signalStartSentence(const std::string& signal, const std::string& outputs,
                                const std::string& askedBy);
std::string signalStopSentence(const std::string& signal, const std::string& askedBy);
std::string signalEndSentence(const std::string& signal);
// "Sonneries suspendues par la ligne de commande", "Sonneries reprises par la fenêtre"
std::string suspendSentence(const std::string& askedBy);
std::string resumeSentence(const std::string& askedBy);

} // namespace quorel
