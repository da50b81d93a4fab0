#include "relay/status_text.h"

#include "relay/relay_bytes.h"

#include <map>

namespace quorel {

std::string errorStatusText(int number) {
    const long long value = number;
    const long long magnitude = value < 0 ? -value : value;
    return std::string("Erreur n° ") + (value < 0 ? "-" : " ") + std::to_string(magnitude);
}

std::string inServiceStatusText(int16_t option, const std::string& setting) {
    return std::string("Init ") + kPortComCaptions.at(static_cast<size_t>(option)) + setting +
           " Ok";
}

void showErrorStatus(RelayPanel& panel, int number) {
    panel.InfoERR = errorStatusText(number);
    panel.InfoERRNumber = number;
}

void showPlainStatus(RelayPanel& panel, std::string text) {
    panel.InfoERR = std::move(text);
    panel.InfoERRNumber = 0;
}

std::string statusToolTip(int errorNumber) {
    static const std::map<int, const char*> kMeanings{
        {8002, "Ce port n'existe pas. Choisissez une des options COM1: à COM4:."},
        {8005, "Le port a été reconfiguré alors qu'il était ouvert. Choisissez « Désactivé », puis "
               "le port."},
        {8013, "Le module refuse un réglage de la ligne (4800,N,8,1) ; le port est utilisé quand "
               "même. Vérifiez le module et son câble."},
        {8015, "Les réglages de la ligne sont mal écrits : ils doivent avoir la forme 4800,N,8,1."},
        {8020,
         "Aucun module sur ce port. Branchez le module USB, ou indiquez son périphérique dans "
         "la section [Ports] de VornAlmare.ini. Quorel réessaie toutes les 5 secondes."},
        {8021, "Le port est utilisé par un autre programme, ou son accès est refusé. L'utilisateur "
               "doit avoir le droit d'utiliser le port série : sous Debian, être membre du groupe "
               "qui possède le périphérique, en général dialout (sudo adduser $USER dialout, puis "
               "se reconnecter)."},
        {8022, "Ce chemin n'est pas un port série. Corrigez la section [Ports] de VornAlmare.ini."},
        {8023, "Le port n'a pas pu être ouvert. Débranchez et rebranchez le module."},
        {8030, "Aucun port n'est ouvert : choisissez le port du module."},
        {8031, "La commande n'est pas parvenue au module (débranché, ou il ne lit plus). Quorel "
               "la renvoie jusqu'à ce qu'elle passe."},
        {8032, "Le module a répondu qu'un relais n'est pas dans l'état commandé (le module a "
               "redémarré, ou un relais est collé). Quorel renvoie la commande."},
        {8033, "Le module ne répond plus aux demandes d'état. Quorel continue d'envoyer les "
               "commandes, sans pouvoir les vérifier."},
    };
    const auto meaning = kMeanings.find(errorNumber);
    return meaning != kMeanings.end() ? meaning->second : std::string();
}

std::string statusToolTip(const RelayPanel& panel) {
    if (panel.InfoERRNumber == 0) {
        // Who answered, while the port is in service ("Init ... Ok").
        return panel.InfoERR.starts_with("Init ") ? panel.moduleNote : std::string();
    }
    const std::string meaning = statusToolTip(panel.InfoERRNumber);
    if (panel.InfoERRNumber == kRelayStateMismatch && !panel.foundStates.empty()) {
        return panel.foundStates + "\n" + meaning;
    }
    return meaning;
}

std::string moduleDescription(uint8_t identifier, uint8_t version) {
    static const std::map<uint8_t, const char*> kBoards{{kUsbRly02Identifier, "USB-RLY02"},
                                                        {kUsbRly08Identifier, "USB-RLY08"},
                                                        {kUsbRly16Identifier, "USB-RLY16"},
                                                        {kUsbRly16LIdentifier, "USB-RLY16L"}};
    const auto board = kBoards.find(identifier);
    const std::string who = board != kBoards.end()
                                ? std::string("Module ") + board->second
                                : "Module d'identifiant " + std::to_string(identifier);
    // Outputs 3 and 4 switch only on a board with more relays: the note says so.
    const std::string relays =
        drivenRelays(identifier) == kMaxRelayCount ? " (4 relais pilotés)" : "";
    return who + relays + ", version " + std::to_string(version);
}

std::string relayFoundSentence(int relay, bool foundOn) {
    return "Relais " + std::to_string(relay) + " trouvé " + (foundOn ? "en marche" : "au repos") +
           " (commandé " + (foundOn ? "au repos" : "en marche") + ")";
}

std::string moduleNotAnsweringSentence() {
    return "Le module ne répond plus : commandes non vérifiées";
}

} // namespace quorel
