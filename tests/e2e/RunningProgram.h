#pragma once
// The built program as a child process in a working directory of its own, its standard output and error
// kept in files there.
#include "mock/Files.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tarvel::e2e {

class RunningProgram {
public:
    using Clock = std::chrono::steady_clock;

    RunningProgram(const std::filesystem::path& executable, const std::filesystem::path& dir,
                   const std::vector<std::string>& arguments = {})
        : output_(dir / "program-output.txt"), errors_(dir / "program-errors.txt") {
        // Built before the fork: the child only calls what is safe there.
        std::vector<char*> argv{const_cast<char*>(executable.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int out = ::open(output_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open(errors_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || err < 0 || ::chdir(dir.c_str()) != 0)
                ::_exit(126);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::execv(executable.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~RunningProgram() {
        if (running()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return pid_ > 0; }
    bool running() {
        if (pid_ <= 0 || exited_)
            return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_)
            exited_ = true;
        return !exited_;
    }
    // Waits for the end, calling watch between looks; false when the program outlives the deadline.
    bool ends(Clock::duration patience, const std::function<void()>& watch = {}) {
        const auto deadline = Clock::now() + patience;
        while (running()) {
            if (Clock::now() > deadline)
                return false;
            if (watch)
                watch();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // Sends the signal and waits for the end.
    bool stop(int signal, Clock::duration patience) {
        ::kill(pid_, signal);
        return ends(patience);
    }
    int status() const { return status_; }
    // The exit status, or -1 when the program did not exit by itself.
    int exitStatus() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
    std::string output() const { return mock::readFile(output_); }
    std::string errors() const { return mock::readFile(errors_); }

private:
    std::filesystem::path output_;
    std::filesystem::path errors_;
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

} // namespace tarvel::e2e
