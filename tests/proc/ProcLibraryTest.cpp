// libkalvaraproc.so as another program meets it, through its C interface
// only, against real child processes.

#include "kalvara/kalvaraproc.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <span>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

static int group_signals_refused = 0;

// The program exports this, so every kill() of the process, the library's
// included, comes here first. Targets below 1 are refused: passed on, they
// would end the whole session, or as root the machine.
extern "C" int kill(pid_t pid, int sig) noexcept {
    if (pid < 1) {
        ++group_signals_refused;
        errno = EPERM;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_kill, pid, sig));
}

namespace kalvara::proc::test {
namespace {

// A child that sleeps until it is ended, run from a copy of sleep under a
// name of its own: the kernel names a process after its executable file.
struct SleepingChild {
    // Unique to this test process, so that parallel runs and the rest of the
    // machine never match it.
    static std::string Unique(const std::string& stem) { return stem + std::to_string(::getpid()); }

    SleepingChild(const kalvara::test::TempFolder& folder, const std::string& stem) {
        std::string name = Unique(stem);
        const std::string executable = folder / name;
        std::filesystem::copy_file("/bin/sleep", executable);
        char seconds[] = "3600";
        char* argv[] = {name.data(), seconds, nullptr};
        // Returns once the child runs the copy, so it already carries its name.
        EXPECT_EQ(::posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv, environ), 0);
    }
    ~SleepingChild() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            Reap();
        }
    }
    // Waits for the end; the id is then free for the system to use again.
    int Reap() {
        int status = 0;
        ::waitpid(std::exchange(pid, 0), &status, 0);
        return status;
    }

    pid_t pid = 0;
};

TEST(ProcLibrary, ListsItselfAfterAnEmptyElementZero) {
    ProcList list{};
    ASSERT_EQ(::procGetList(&list), 1);
    const ProcEntry empty{};
    EXPECT_EQ(std::memcmp(&list.entries[0], &empty, sizeof empty), 0);
    const std::span entries(list.entries, static_cast<std::size_t>(list.count));
    const auto self = std::ranges::find(entries.subspan(1), ::getpid(), &ProcEntry::th32ProcessID);
    ASSERT_NE(self, entries.end());
    EXPECT_STREQ(self->szExeFile,
                 std::filesystem::read_symlink("/proc/self/exe").filename().c_str());
    EXPECT_EQ(self->th32ParentProcessID, ::getppid());

    // A filled list is refilled in place and freed to zero; NULL is refused.
    ASSERT_EQ(::procGetList(&list), 1);
    ::procFreeList(&list);
    EXPECT_TRUE(list.entries == nullptr && list.count == 0);
    ::procFreeList(&list);
    ::procFreeList(nullptr);
    EXPECT_EQ(::procGetList(nullptr), 0);
    EXPECT_EQ(::procGetID(nullptr), -1);
}

// The library's only way to harm another program: each hostile id is
// refused, and a bystander outlives them all.
TEST(ProcLibrary, FindsAndEndsOneChildAndNoOtherProcess) {
    const kalvara::test::TempFolder folder;
    SleepingChild bystander(folder, "kvprocbystander");
    SleepingChild child(folder, "KvProcChild");
    const pid_t id = child.pid;
    EXPECT_EQ(::procGetID(SleepingChild::Unique("kvprocchild").c_str()), id);
    EXPECT_EQ(::procKill(id), 1);
    const int status = child.Reap();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(::procGetID(SleepingChild::Unique("KvProcChild").c_str()), -1);

    // The child's id is free now; ids below 1 would address groups or all.
    using Limits = std::numeric_limits<std::int32_t>;
    for (const std::int32_t other : {id, 0, -1, -bystander.pid, Limits::min(), Limits::max()}) {
        EXPECT_EQ(::procKill(other), 0) << other;
    }
    EXPECT_EQ(group_signals_refused, 0);
    // Still alive to be ended by this signal, not by one of the library's.
    ::kill(bystander.pid, SIGTERM);
    EXPECT_EQ(WTERMSIG(bystander.Reap()), SIGTERM);
}

} // namespace
} // namespace kalvara::proc::test
