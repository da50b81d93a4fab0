#pragma once

#include "core/message_boxes.h"

#include <string>

namespace quorel {

// Modal message boxes captioned with the application title "Gestion Quorel". Each call returns
// when the operator has closed the box.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message with a single OK button.
    virtual void message(const std::string& text, MessageIcon icon) = 0;
    // A question with the question icon and the buttons "Oui", "Non" and "Annuler". Escape, the
    // box's close button and a box ended without an answer (the program is ending) all answer
    // Cancel.
    virtual Answer ask(const std::string& text) = 0;
};

} // namespace quorel
