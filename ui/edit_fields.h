#pragma once

#include <array>
#include <string>
#include <vector>

namespace quorel {

// The texts of the editor's fields, which the logic owns and the window shows and updates.
struct EditFields {
    std::array<std::string, 3> ChEdit; // output, time, duration of one entry
    std::vector<std::string> ComboSItems;
    std::string ComboS;                   // the chosen output of a series
    std::array<std::string, 2> ChDecoupe; // offsets past the hour, mm:ss
    std::string ChDure;                   // duration of a series
};

} // namespace quorel
