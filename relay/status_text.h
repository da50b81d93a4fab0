#pragma once

#include "relay/relay_panel.h"

#include <cstdint>
#include <string>

namespace quorel {

// "Erreur n° " and the number with a sign position: a blank for zero and positive numbers, a
// minus sign for negative ones ("Erreur n°  8013").
std::string errorStatusText(int number);

// "Init " + the option's caption + the line parameters + " Ok": the port is in service.
std::string inServiceStatusText(int16_t option, const std::string& setting);

// Puts an error on the status line: its text and its number.
void showErrorStatus(RelayPanel& panel, int number);
// Puts any other status on the status line: in service, closed, a notice.
void showPlainStatus(RelayPanel& panel, std::string text);

// The tool tip of the status line showing the error of this number: what it means and what to
// do about it; empty for an unknown number and for 0, no error.
std::string statusToolTip(int errorNumber);
// The tool tip of the status line as the panel shows it: the error's meaning, with the relays
// found in another state for 8032; without an error, who answered on the port.
std::string statusToolTip(const RelayPanel& panel);

// The module's answers, told apart from the serial layer's errors.
inline constexpr int kRelayStateMismatch = 8032; // a relay found in another state than commanded
inline constexpr int kModuleNotAnswering = 8033; // a module that answered stopped answering

inline constexpr const char* kModuleSilentNote =
    "le module ne répond pas : commandes non vérifiées";
// "Module USB-RLY02, version 3" for the identifier 10, "Module USB-RLY08 (4 relais pilotés),
// version 1" for a board with more relays (8, 9, 15), "Module d'identifiant 7, version 3" for
// another.
std::string moduleDescription(uint8_t identifier, uint8_t version);
// "Relais 1 trouvé au repos (commandé en marche)".
std::string relayFoundSentence(int relay, bool foundOn);
std::string moduleNotAnsweringSentence();

inline constexpr const char* kPortClosedStatus = "Port COM Close OK !";

} // namespace quorel
