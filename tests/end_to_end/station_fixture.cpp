#include "tests/end_to_end/station_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace quorel::test {

InstalledProgram::InstalledProgram() {
    std::filesystem::create_directories(programFolder());
    std::filesystem::create_directories(configFolder());
    std::filesystem::create_directories(home.path() + "runtime");
    ::chmod((home.path() + "runtime").c_str(), 0700);
    std::filesystem::copy_file(builtProgram("quorel"), programFile("quorel"));
}

void InstalledProgram::writeProgramFile(const std::string& name, const std::string& bytes) const {
    // Written beside and renamed, so the running program never reads half a file.
    const std::string path = programFile(name);
    {
        std::ofstream out(path + ".new", std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::filesystem::rename(path + ".new", path);
}

std::string InstalledProgram::readProgramFile(const std::string& name) const {
    std::ifstream in(programFile(name), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void InstalledProgram::setPortDevice(int portNumber, const std::string& device) const {
    std::ofstream out(configFolder() + "VornAlmare.ini", std::ios::app);
    out << "[Ports]\nCOM" << portNumber << "=" << device << "\n";
}

void InstalledProgram::start() {
    std::map<std::string, std::string> environment{
        {"QT_QPA_PLATFORM", "offscreen"},
        {"XDG_CONFIG_HOME", configFolder()},
        {"XDG_RUNTIME_DIR", home.path() + "runtime"},
        {"HOME", home.path()},
        {"TZ", std::getenv("TZ") != nullptr ? std::getenv("TZ") : ":/etc/localtime"},
    };
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) {
            environment[name] = value;
        }
    }
    process = std::make_unique<ProgramProcess>(programFile("quorel"), environment,
                                               home.path() + "quorel.log");
}

std::string InstalledProgram::log() const {
    std::ifstream in(home.path() + "quorel.log", std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace quorel::test
