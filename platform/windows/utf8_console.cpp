#include "platform/windows/utf8_console.h"

#include <windows.h>

namespace quorel {

Utf8Console::Utf8Console() : previous_(::GetConsoleOutputCP()) {
    if (previous_ != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (previous_ != 0) {
        ::SetConsoleOutputCP(previous_);
    }
}

} // namespace quorel
