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
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
int group_signals_refused = 0;
}

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
class SleepingChild {
public:
    SleepingChild(const kalvara::test::TempFolder& folder, std::string name) {
        const std::string executable = folder / name;
        std::filesystem::copy_file("/bin/sleep", executable);
        std::string seconds = "3600";
        char* argv[] = {name.data(), seconds.data(), nullptr};
        // Returns once the child runs the copy, so it already carries its name.
        if (::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv, environ) != 0) {
            throw std::runtime_error("cannot start " + executable);
        }
    }
    ~SleepingChild() {
        if (IsRunning()) {
            ::kill(pid_, SIGKILL);
            WaitForEnd();
        }
    }
    SleepingChild(const SleepingChild&) = delete;
    SleepingChild& operator=(const SleepingChild&) = delete;

    pid_t Pid() const { return pid_; }
    // Reaps the child when it has ended, so that its id is never used again.
    bool IsRunning() {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == 0) {
            return true;
        }
        pid_ = 0;
        return false;
    }
    int WaitForEnd() {
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        return status;
    }

private:
    pid_t pid_ = 0;
};

class ProcLibrary : public ::testing::Test {
protected:
    void SetUp() override { group_signals_refused = 0; }

    // Unique to this test process, so that parallel runs and the rest of the
    // machine never match it.
    static std::string Unique(const std::string& stem) { return stem + std::to_string(::getpid()); }

    kalvara::test::TempFolder folder_;
};

TEST_F(ProcLibrary, ListsItselfAfterAnEmptyElementZero) {
    ProcList list{};
    ASSERT_EQ(::procGetList(&list), 1);
    ASSERT_GE(list.count, 2);
    const ProcEntry empty{};
    EXPECT_EQ(std::memcmp(&list.entries[0], &empty, sizeof empty), 0);
    ProcEntry* const end = list.entries + list.count;
    const ProcEntry* self = std::find_if(list.entries + 1, end, [](const ProcEntry& entry) {
        return entry.th32ProcessID == ::getpid();
    });
    ASSERT_NE(self, end);
    EXPECT_EQ(self->dwSize, sizeof(ProcEntry));
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

TEST_F(ProcLibrary, FindsAChildByItsNameInEitherCase) {
    const SleepingChild child(folder_, Unique("kvprocchild"));
    EXPECT_EQ(::procGetID(Unique("KvProcChild").c_str()), child.Pid());
    EXPECT_EQ(::procGetID(Unique("kvproc-nothing").c_str()), -1);
}

TEST_F(ProcLibrary, KillEndsTheChild) {
    const std::string name = Unique("kvprocvictim");
    SleepingChild child(folder_, name);
    EXPECT_EQ(::procKill(child.Pid()), 1);
    const int status = child.WaitForEnd();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(::procGetID(name.c_str()), -1);
}

TEST_F(ProcLibrary, IdsBelowOneAndFreeIdsSignalNothing) {
    SleepingChild bystander(folder_, Unique("kvprocbystander"));
    std::int32_t free_id = 0;
    {
        const SleepingChild ended(folder_, Unique("kvprocended"));
        free_id = ended.Pid();
    }
    constexpr auto Min = std::numeric_limits<std::int32_t>::min();
    constexpr auto Max = std::numeric_limits<std::int32_t>::max();
    for (const std::int32_t id : {0, -1, -bystander.Pid(), Min, free_id, Max}) {
        EXPECT_EQ(::procKill(id), 0) << id;
    }
    EXPECT_EQ(group_signals_refused, 0);
    EXPECT_TRUE(bystander.IsRunning());
}

} // namespace
} // namespace kalvara::proc::test
