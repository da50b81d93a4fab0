#pragma once

#include "core/control_description.h"

#include <optional>

namespace quorel {

enum class MessageIcon { None, Critical };

// The operator's answer to a question: "Oui", "Non" or "Annuler".
enum class Answer { Yes, No, Cancel };

// The buttons of the message boxes, which are what they raise.
enum class BoxButton { Ok, Yes, No, Cancel };

enum class BoxPart {
    Text, // the message or the question
};

// A message box of the program. It is as large as its text needs: the text stands above the
// buttons, which have the size of their place and stand in a row in the order listed, where the
// box puts them. Escape and the box's close button act as escapeButton.
struct MessageBoxDescription {
    WindowDescription<BoxButton, BoxPart> box{};
    bool questionIcon = false; // otherwise the icon the message asks for
    BoxButton defaultButton = BoxButton::Ok;
    BoxButton escapeButton = BoxButton::Ok;
};

// A message, with "OK" only (Dialogs::message).
const MessageBoxDescription& messageBoxDescription();
// A question, with "Oui", "Non" and "Annuler" (Dialogs::ask).
const MessageBoxDescription& questionBoxDescription();

// The answer of the button that closed a question; none was clicked when the box was ended from
// outside, as when the program ends.
Answer answerOf(std::optional<BoxButton> clicked);

} // namespace quorel
