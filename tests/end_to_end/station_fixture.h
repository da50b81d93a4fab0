#pragma once

#include "tests/support/program_process.h"
#include "tests/support/temp_folder.h"

#include <map>
#include <memory>
#include <string>

namespace quorel::test {

// A copy of the built program in a folder of its own, with its own per-user configuration
// folder, as it is installed in service.
class InstalledProgram {
  public:
    InstalledProgram();

    std::string programFolder() const { return home.path() + "program/"; }
    std::string configFolder() const { return home.path() + "config/"; }
    std::string programFile(const std::string& name) const { return programFolder() + name; }
    void writeProgramFile(const std::string& name, const std::string& bytes) const;
    std::string readProgramFile(const std::string& name) const;
    // Points port option n at a device through the per-user store.
    void setPortDevice(int portNumber, const std::string& device) const;

    // Starts the copy; its output goes to quorel.log in the temporary folder.
    void start();
    std::string log() const;

    TempFolder home;
    std::unique_ptr<ProgramProcess> process;
};

} // namespace quorel::test
