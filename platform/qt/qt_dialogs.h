#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace quorel {

// Modal message boxes captioned "Gestion Quorel": messages with an OK button only, questions
// with "Oui", "Non" and "Annuler".
class QtDialogs final : public Dialogs {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const std::string& text, MessageIcon icon) override;
    Answer ask(const std::string& text) override;

  private:
    QWidget* parent_ = nullptr;
};

} // namespace quorel
