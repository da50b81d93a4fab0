#include "ui/win32/win32_main_window.h"

#include "ui/main_window_description.h"
#include "ui/win32/pixels.h"

#include <cmath>

namespace quorel {

Win32MainWindow::Win32MainWindow() {
    open(windowDescription_, nullptr, Frame::MainWindow);
    screen_.setOwner(window_);
}

Win32MainWindow::~Win32MainWindow() {
    detach();
}

void Win32MainWindow::attach(Program& program) {
    program_ = &program;
    mainForm_.emplace(program, *this, screen_);
    bind(&*mainForm_);
}

void Win32MainWindow::detach() {
    bind(nullptr);
    mainForm_.reset();
    program_ = nullptr;
}

void Win32MainWindow::show() {
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
}

// The menu is modal, as a pop-up menu is: the picked day loads before the click returns.
void Win32MainWindow::showCopyMenu() {
    popUp("mnuJour");
}

void Win32MainWindow::resized(WPARAM kind) {
    if (program_ == nullptr || applyingResizeRule_ || kind == SIZE_MINIMIZED) {
        return;
    }
    const bool normal =
        kind != SIZE_MAXIMIZED && ::IsIconic(window_) == FALSE && ::IsZoomed(window_) == FALSE;
    const auto wanted = program_->Form_Resize(normal, outerSize());
    if (wanted) {
        const int dpi = windowDpi(window_);
        applyingResizeRule_ = true;
        ::SetWindowPos(window_, nullptr, 0, 0,
                       static_cast<int>(std::lround(wanted->width * dpi / 1440)),
                       static_cast<int>(std::lround(wanted->height * dpi / 1440)),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyingResizeRule_ = false;
    }
}

// The whole window, its title bar and borders included: Windows draws them itself, so their
// size is known before the window shows.
TwipsSize Win32MainWindow::outerSize() {
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int dpi = windowDpi(window_);
    return TwipsSize{twipsOf(outer.right - outer.left, dpi),
                     twipsOf(outer.bottom - outer.top, dpi)};
}

TwipsSize Win32MainWindow::screenSize() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int dpi = windowDpi(window_);
    return TwipsSize{twipsOf(monitor.rcMonitor.right - monitor.rcMonitor.left, dpi),
                     twipsOf(monitor.rcMonitor.bottom - monitor.rcMonitor.top, dpi)};
}

// A place on the window's monitor.
void Win32MainWindow::moveTo(TwipsPoint position) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int dpi = windowDpi(window_);
    ::SetWindowPos(window_, nullptr,
                   monitor.rcMonitor.left + static_cast<int>(position.left * dpi / 1440),
                   monitor.rcMonitor.top + static_cast<int>(position.top * dpi / 1440), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::closeFor(ShutdownCause cause) {
    if (program_ != nullptr && program_->requestClose(cause) == CloseOutcome::End) {
        ::ShowWindow(window_, SW_HIDE);
        end();
    }
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        resized(wParam);
        return 0;
    case WM_DPICHANGED: {
        layOut(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<RECT*>(lParam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        if (program_ != nullptr && !program_->ended()) {
            if (program_->requestClose(ShutdownCause::WindowClosed) == CloseOutcome::StayOpen) {
                return 0; // the operator keeps the window, to go on editing
            }
            end();
        }
        ::ShowWindow(window_, SW_HIDE);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows ends the process once this returns: the shut-down runs now, asking nothing.
        if (wParam != FALSE) {
            if (onSessionEnding) {
                onSessionEnding();
            }
            closeFor(ShutdownCause::Signal);
        }
        return 0;
    default:
        return FormWindow::handleMessage(message, wParam, lParam);
    }
}

} // namespace quorel
