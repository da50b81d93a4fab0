#include "ui/win32/window_fonts.h"

#include "ui/win32/pixels.h"

namespace quorel {

namespace {

LOGFONTW messageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) == FALSE) {
        LOGFONTW fallback{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
        return fallback;
    }
    return metrics.lfMessageFont;
}

} // namespace

void WindowFonts::reset(int typeHeight, int dpi) {
    clear();
    typeHeight_ = typeHeight;
    dpi_ = dpi;
}

void WindowFonts::clear() {
    for (auto& [key, font] : fonts_) {
        ::DeleteObject(font);
    }
    fonts_.clear();
    if (fixed_ != nullptr) {
        ::DeleteObject(fixed_);
        fixed_ = nullptr;
    }
}

HFONT WindowFonts::make(const LOGFONTW& base, bool bold, int largerType) {
    LOGFONTW wanted = base;
    // A negative height is the height of the characters themselves, as a pixel size in Qt.
    if (typeHeight_ > 0) {
        wanted.lfHeight = -pixels(typeHeight_ + largerType, dpi_);
    } else {
        wanted.lfHeight = ::MulDiv(wanted.lfHeight, dpi_, kBaseDpi);
    }
    wanted.lfWidth = 0;
    if (bold) {
        wanted.lfWeight = FW_BOLD;
    }
    return ::CreateFontIndirectW(&wanted);
}

HFONT WindowFonts::font(bool bold, int largerType) {
    const auto key = std::make_pair(bold, largerType);
    if (const auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second;
    }
    return fonts_[key] = make(messageFont(), bold, largerType);
}

HFONT WindowFonts::fixedWidth() {
    if (fixed_ == nullptr) {
        LOGFONTW base = messageFont();
        base.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        wcscpy_s(base.lfFaceName, L"Courier New");
        fixed_ = make(base, false, 0);
    }
    return fixed_;
}

} // namespace quorel
