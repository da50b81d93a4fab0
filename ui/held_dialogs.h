#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <string>

namespace quorel {

// Message boxes that can be held back: during the start-up a box would stop everything behind
// it, so its messages wait until today's timetable is loaded and the scheduler runs.
class HeldDialogs final : public Dialogs {
  public:
    explicit HeldDialogs(Dialogs& shown) : shown_(shown) {}

    void message(const std::string& text, MessageIcon icon) override;
    // A question is never held: the caller waits for its answer.
    Answer ask(const std::string& text) override { return shown_.ask(text); }

    void hold() { holding_ = true; }
    // Shows the held messages, in order, then lets later ones through at once.
    void release();
    // Forgets the held messages (the program is ending).
    void discard() { held_.clear(); }

  private:
    struct Held {
        std::string text;
        MessageIcon icon;
    };

    Dialogs& shown_;
    bool holding_ = false;
    std::deque<Held> held_;
};

} // namespace quorel
