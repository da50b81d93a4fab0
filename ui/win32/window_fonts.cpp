#include "ui/win32/window_fonts.h"

#include "ui/win32/pixels.h"

#include <cstdlib>

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

HFONT make(LOGFONTW wanted, bool bold, int logicalHeight) {
    wanted.lfHeight = logicalHeight;
    wanted.lfWidth = 0;
    if (bold) {
        wanted.lfWeight = FW_BOLD;
    }
    return ::CreateFontIndirectW(&wanted);
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

int WindowFonts::logicalHeight(int largerType) {
    // A negative height is the height of the characters themselves, as a pixel size in Qt.
    if (typeHeight_ > 0) {
        return -pixels(typeHeight_ + largerType, dpi_);
    }
    const int system = ::MulDiv(messageFont().lfHeight, dpi_, kBaseDpi);
    const int larger = pixels(largerType, dpi_);
    return system < 0 ? system - larger : system + larger;
}

int WindowFonts::height(int largerType) {
    return std::abs(logicalHeight(largerType));
}

HFONT WindowFonts::ofHeight(bool bold, int pixelHeight) {
    const int logical = logicalHeight(0) < 0 ? -pixelHeight : pixelHeight;
    const auto key = std::make_pair(bold, logical);
    if (const auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second;
    }
    return fonts_[key] = make(messageFont(), bold, logical);
}

HFONT WindowFonts::font(bool bold, int largerType) {
    return ofHeight(bold, height(largerType));
}

HFONT WindowFonts::fixedWidth() {
    if (fixed_ == nullptr) {
        LOGFONTW base = messageFont();
        base.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        wcscpy_s(base.lfFaceName, L"Courier New");
        fixed_ = make(base, false, logicalHeight(0));
    }
    return fixed_;
}

} // namespace quorel
