#pragma once

#include <string>

namespace quorel {

enum class MessageIcon { None, Critical };

// Modal message boxes with a single OK button, captioned with the application title
// "Gestion Quorel". The call returns when the operator has closed the box.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void message(const std::string& text, MessageIcon icon) = 0;
};

} // namespace quorel
