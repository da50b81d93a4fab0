#pragma once

#include <string>
#include <vector>

namespace quorel {

// The local group whose members may steer the bells: the station's named pipe and its data
// folder let them in.
inline constexpr const char* kOperatorsGroup = "Opérateurs Quorel";

// A security identifier, as bytes.
using Sid = std::vector<unsigned char>;

// One of the system's well-known accounts or groups (a WELL_KNOWN_SID_TYPE); empty on failure.
Sid wellKnownSid(int type);
// The group kOperatorsGroup of this computer, made when missing; empty with the reason in French
// when it neither exists nor could be made (only an administrator or SYSTEM may make it).
Sid operatorsGroupSid(std::string& reason);
// The SID as text ("S-1-5-19"), for an access list written in SDDL; empty for an empty SID.
std::string sidText(const Sid& sid);
// The account's name, or its SID as text when the system knows no name for it.
std::string accountName(const Sid& sid);

} // namespace quorel
