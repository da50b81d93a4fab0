#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace quorel {

// Modal message boxes captioned "Gestion Quorel", with an OK button only.
class QtDialogs final : public Dialogs {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const std::string& text, MessageIcon icon) override;

  private:
    QWidget* parent_ = nullptr;
};

} // namespace quorel
