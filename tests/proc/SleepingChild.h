#pragma once
// A child process that sleeps until it is ended, started from an executable
// of a chosen name so that no other process on the machine shares it.

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>

extern char** environ;

namespace kalvara::proc::test {

class SleepingChild {
public:
    // posix_spawn returns once the child runs the new executable, so the
    // child already carries its name when this returns.
    explicit SleepingChild(const std::filesystem::path& executable) {
        std::string name = executable.filename().string();
        std::string seconds = "3600";
        char* argv[] = {name.data(), seconds.data(), nullptr};
        const int error = ::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv, environ);
        if (error != 0) {
            throw std::runtime_error("cannot start " + executable.string());
        }
    }
    ~SleepingChild() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            WaitForEnd();
        }
    }
    SleepingChild(const SleepingChild&) = delete;
    SleepingChild& operator=(const SleepingChild&) = delete;

    pid_t Pid() const { return pid_; }

    // Blocks until the child ends, reaps it and gives its wait status.
    int WaitForEnd() {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        return status;
    }

    // Whether the child is still running, without waiting for it; reaps it
    // when it has ended.
    bool IsRunning() {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == 0) {
            return true;
        }
        pid_ = 0;
        return false;
    }

    // A copy of sleep under the given name in folder: the kernel names a
    // process after its executable file, and a link would resolve to sleep.
    static std::filesystem::path SleepCopy(const std::filesystem::path& folder,
                                           const std::string& name) {
        const std::filesystem::path target = folder / name;
        std::filesystem::copy_file("/bin/sleep", target);
        std::filesystem::permissions(target, std::filesystem::perms::owner_all);
        return target;
    }

private:
    pid_t pid_ = 0;
};

} // namespace kalvara::proc::test
