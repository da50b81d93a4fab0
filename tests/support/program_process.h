#pragma once

#include <map>
#include <string>
#include <sys/types.h>

namespace quorel::test {

// The build folder of the tests ($QUOREL_BUILD_DIR overrides the one they were built in).
std::string buildFolder();
// The path of a program built beside the tests.
std::string builtProgram(const std::string& name);

// A program started as a child process with its own environment; its output goes to a file.
// The destructor kills it if it is still running.
class ProgramProcess {
  public:
    ProgramProcess(const std::string& path, const std::map<std::string, std::string>& environment,
                   const std::string& outputFile);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int signalNumber) const;
    // Waits for the process to end; returns its exit status, or -1 when it did not end in time.
    int waitForExit(double timeoutSeconds);
    bool running();

  private:
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

} // namespace quorel::test
