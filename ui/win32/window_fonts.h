#pragma once

#include <map>
#include <utility>
#include <windows.h>

namespace quorel {

// The type of a window and its variants, made for the window's DPI: the system's message
// typeface at the described height, bold or larger where a control asks, and a fixed-width one.
class WindowFonts {
  public:
    WindowFonts() = default;
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;
    ~WindowFonts() { clear(); }

    // typeHeight in twips, 0 for the system's own height. Forgets the fonts made before.
    void reset(int typeHeight, int dpi);
    HFONT font(bool bold = false, int largerType = 0);
    HFONT fixedWidth();
    // The height in pixels of font(bold, largerType), and the same type at another height.
    int height(int largerType = 0);
    HFONT ofHeight(bool bold, int pixelHeight);

  private:
    void clear();
    // A LOGFONT height: negative for the height of the characters, as the system's may be.
    int logicalHeight(int largerType);

    int typeHeight_ = 0;
    int dpi_ = 96;
    std::map<std::pair<bool, int>, HFONT> fonts_; // by boldness and LOGFONT height
    HFONT fixed_ = nullptr;
};

} // namespace quorel
