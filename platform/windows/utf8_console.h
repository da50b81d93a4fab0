#pragma once

namespace quorel {

// While it lives, the console shows the program's output as the UTF-8 it is written in, accents
// included; the console's own code page comes back afterwards. Without a console it does nothing.
class Utf8Console {
  public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

  private:
    unsigned previous_ = 0; // none without a console
};

} // namespace quorel
