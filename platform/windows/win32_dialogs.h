#pragma once

#include "core/message_boxes.h"
#include "platform/dialogs.h"

#include <optional>
#include <string>
#include <vector>

struct HWND__;

namespace quorel {

// Modal message boxes of Windows captioned "Gestion Quorel": messages with an OK button only,
// questions with "Oui", "Non" and "Annuler", whatever the language of Windows. Use it on the
// thread of the owner window.
class Win32Dialogs final : public Dialogs {
  public:
    // The window the boxes are modal over; without one they stand alone.
    void setOwner(HWND__* owner) { owner_ = owner; }
    void message(const std::string& text, MessageIcon icon) override;
    Answer ask(const std::string& text) override;
    // The program is ending (Windows logs off): ends every box that is open as if no button
    // had been clicked, so that a question answers Cancel, and any box asked for later at once.
    void endOpenBox();

    struct OpenBox;

  private:
    std::optional<BoxButton> show(const MessageBoxDescription& description, const std::string& text,
                                  unsigned style);

    HWND__* owner_ = nullptr;
    std::vector<OpenBox*> openBoxes_; // innermost last
    bool ending_ = false;
};

} // namespace quorel
