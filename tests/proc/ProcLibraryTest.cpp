// libkalvaraproc.so as another program meets it: loaded with dlopen, used
// only through the exports it resolves by name.

#include "ProcLibraryClient.h"
#include "SleepingChild.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace kalvara::proc::test {
namespace {

using kalvara::test::TempFolder;

class ProcLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        char error[512] = "";
        ASSERT_EQ(procClientOpen(KALVARAPROC_LIBRARY_PATH, &client_, error, sizeof error), 1)
            << error;
        procClientResetSignalLog();
    }
    void TearDown() override { procClientClose(&client_); }

    // Names unique to this test process, so that parallel runs and the rest
    // of the machine never match them.
    static std::string UniqueName(const std::string& stem) {
        return stem + std::to_string(::getpid());
    }

    // Ids of the listed processes named name, in list order.
    std::vector<std::int32_t> ListedIdsNamed(const std::string& name) {
        ProcList list{};
        EXPECT_EQ(client_.getList(&list), 1);
        std::vector<std::int32_t> ids;
        for (std::int32_t i = 1; i < list.count; ++i) {
            if (name == list.entries[i].szExeFile) {
                ids.push_back(list.entries[i].th32ProcessID);
            }
        }
        client_.freeList(&list);
        return ids;
    }

    ProcLibraryClient client_{};
    TempFolder folder_;
};

TEST_F(ProcLibrary, ListsItselfAfterAnEmptyElementZero) {
    ProcList list{};
    ASSERT_EQ(client_.getList(&list), 1);
    ASSERT_NE(list.entries, nullptr);
    ASSERT_GE(list.count, 2);

    const ProcEntry empty{};
    EXPECT_EQ(std::memcmp(&list.entries[0], &empty, sizeof empty), 0);

    const ProcEntry* self = nullptr;
    for (std::int32_t i = 1; i < list.count; ++i) {
        EXPECT_EQ(list.entries[i].dwSize, sizeof(ProcEntry));
        EXPECT_GT(list.entries[i].th32ProcessID, 0);
        EXPECT_LT(std::strlen(list.entries[i].szExeFile), sizeof empty.szExeFile);
        if (list.entries[i].th32ProcessID == ::getpid()) {
            self = &list.entries[i];
        }
    }
    ASSERT_NE(self, nullptr);
    EXPECT_STREQ(self->szExeFile,
                 std::filesystem::read_symlink("/proc/self/exe").filename().c_str());
    EXPECT_EQ(self->th32ParentProcessID, ::getppid());
    EXPECT_GE(self->cntThreads, 1);

    // Listing into a filled list replaces its contents instead of leaking them.
    ASSERT_EQ(client_.getList(&list), 1);
    EXPECT_GE(list.count, 2);
    client_.freeList(&list);
    EXPECT_EQ(list.entries, nullptr);
    EXPECT_EQ(list.count, 0);
    client_.freeList(&list);
    client_.freeList(nullptr);
    EXPECT_EQ(client_.getList(nullptr), 0);
}

TEST_F(ProcLibrary, FindsAChildByItsNameInEitherCase) {
    SleepingChild lower_child(SleepingChild::SleepCopy(folder_.Path(), UniqueName("kvproclower")));
    SleepingChild upper_child(SleepingChild::SleepCopy(folder_.Path(), UniqueName("KVPROCUPPER")));

    EXPECT_EQ(client_.getID(UniqueName("KVPROCLOWER").c_str()), lower_child.Pid());
    EXPECT_EQ(client_.getID(UniqueName("kvprocupper").c_str()), upper_child.Pid());
    EXPECT_EQ(client_.getID(UniqueName("KvProcLower").c_str()), lower_child.Pid());
    EXPECT_EQ(client_.getID(UniqueName("kvproclower").c_str()), lower_child.Pid());

    // Only the whole file name counts: not its folder, not a part of it.
    EXPECT_EQ(client_.getID((folder_.Path() / UniqueName("kvproclower")).c_str()), -1);
    EXPECT_EQ(client_.getID("kvproclower"), -1);
}

TEST_F(ProcLibrary, TwoOfTheSameNameGiveTheFirstInTheList) {
    const std::string name = UniqueName("kvproctwin");
    const auto executable = SleepingChild::SleepCopy(folder_.Path(), name);
    SleepingChild first(executable);
    SleepingChild second(executable);

    const std::vector<std::int32_t> listed = ListedIdsNamed(name);
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_TRUE(std::is_permutation(listed.begin(), listed.end(),
                                    std::vector<std::int32_t>{first.Pid(), second.Pid()}.begin()));
    EXPECT_EQ(client_.getID(name.c_str()), listed.front());
}

TEST_F(ProcLibrary, NameOfNoProcessGivesMinusOne) {
    EXPECT_EQ(client_.getID(UniqueName("kvproc-nothing-").c_str()), -1);
    EXPECT_EQ(client_.getID(""), -1);
    EXPECT_EQ(client_.getID(nullptr), -1);
}

TEST_F(ProcLibrary, KillEndsTheChild) {
    const std::string name = UniqueName("kvprocvictim");
    SleepingChild child(SleepingChild::SleepCopy(folder_.Path(), name));
    ASSERT_EQ(client_.getID(name.c_str()), child.Pid());

    EXPECT_EQ(client_.kill(child.Pid()), 1);
    const int status = child.WaitForEnd();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(client_.getID(name.c_str()), -1);
    EXPECT_EQ(procClientSignalsSent(), 1);
}

TEST_F(ProcLibrary, IdsBelowOneAndFreeIdsSignalNothing) {
    SleepingChild bystander(
        SleepingChild::SleepCopy(folder_.Path(), UniqueName("kvprocbystander")));
    std::int32_t free_id = 0;
    {
        SleepingChild ended(SleepingChild::SleepCopy(folder_.Path(), UniqueName("kvprocended")));
        free_id = ended.Pid();
        ::kill(ended.Pid(), SIGKILL);
        ended.WaitForEnd();
    }
    procClientResetSignalLog();

    EXPECT_EQ(client_.kill(0), 0);
    EXPECT_EQ(client_.kill(-1), 0);
    EXPECT_EQ(client_.kill(-bystander.Pid()), 0);
    EXPECT_EQ(client_.kill(std::numeric_limits<std::int32_t>::min()), 0);
    EXPECT_EQ(client_.kill(free_id), 0);
    EXPECT_EQ(client_.kill(std::numeric_limits<std::int32_t>::max()), 0);

    EXPECT_EQ(procClientSignalsToGroupsRefused(), 0);
    EXPECT_EQ(procClientSignalsSent(), 0);
    EXPECT_TRUE(bystander.IsRunning());
}

} // namespace
} // namespace kalvara::proc::test
