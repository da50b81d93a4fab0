#include "platform/windows_run_command.h"

namespace quorel {

std::string windowsRunCommand(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) {
        return programPath;
    }
    return "\"" + programPath + "\"";
}

} // namespace quorel
