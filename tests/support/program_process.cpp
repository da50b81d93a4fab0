#include "tests/support/program_process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace quorel::test {

std::string buildFolder() {
    const char* folder = std::getenv("QUOREL_BUILD_DIR");
    return folder != nullptr ? folder : QUOREL_BUILD_DIR;
}

std::string builtProgram(const std::string& name) {
    return buildFolder() + "/" + name;
}

ProgramProcess::ProgramProcess(const std::string& path,
                               const std::map<std::string, std::string>& environment,
                               const std::string& outputFile) {
    std::vector<std::string> variables;
    for (const auto& [name, value] : environment) {
        variables.push_back(name + "=" + value);
    }
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error("cannot start " + path);
    }
    if (pid_ == 0) {
        const int output = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output >= 0) {
            ::dup2(output, STDOUT_FILENO);
            ::dup2(output, STDERR_FILENO);
        }
        std::vector<char*> env;
        for (std::string& variable : variables) {
            env.push_back(variable.data());
        }
        env.push_back(nullptr);
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        ::execve(path.c_str(), argv, env.data());
        ::_exit(127);
    }
}

ProgramProcess::~ProgramProcess() {
    if (!ended_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void ProgramProcess::signal(int signalNumber) const {
    ::kill(pid_, signalNumber);
}

bool ProgramProcess::running() {
    if (ended_) {
        return false;
    }
    const pid_t done = ::waitpid(pid_, &status_, WNOHANG);
    ended_ = done == pid_;
    return !ended_;
}

int ProgramProcess::waitForExit(double timeoutSeconds) {
    const timespec step{0, 20'000'000};
    for (double waited = 0; waited < timeoutSeconds; waited += 0.02) {
        if (!running()) {
            return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
        }
        ::nanosleep(&step, nullptr);
    }
    return -1;
}

} // namespace quorel::test
