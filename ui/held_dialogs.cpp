#include "ui/held_dialogs.h"

namespace quorel {

void HeldDialogs::message(const std::string& text, MessageIcon icon) {
    if (holding_) {
        held_.push_back({text, icon});
    } else {
        shown_.message(text, icon);
    }
}

void HeldDialogs::release() {
    holding_ = false;
    // One at a time: a box lets events run, and one of them may end the program and discard the
    // rest.
    while (!held_.empty()) {
        const Held next = held_.front();
        held_.pop_front();
        shown_.message(next.text, next.icon);
    }
}

} // namespace quorel
