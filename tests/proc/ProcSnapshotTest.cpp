// Processes read from a folder laid out like /proc, for the cases a live
// system will not produce on demand.

#include "proc/ProcessSnapshot.h"
#include "proc/ProcessUtilities.h"
#include "support/TempFolder.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace kalvara::proc::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A process folder with the stat line the kernel would write for a process
// with parent 42 and 9 threads.
fs::path Add(const kalvara::test::TempFolder& root, const std::string& id,
             const std::string& stat_name) {
    const fs::path process = root.Path() / id;
    fs::create_directories(process);
    std::ofstream(process / "stat")
        << id + " (" + stat_name + ") S 42 1 1 0 -1 4194560 10 0 0 0 0 0 0 0 20 0 9 0 12345\n";
    return process;
}

TEST(ProcSnapshot, LiveProcessesAreListedByExeThenAgreeingCmdlineThenComm) {
    const kalvara::test::TempFolder root;
    const std::string a258(258, 'a');
    const struct {
        std::string id, exe, cmdline, comm, expected;
    } cases[] = {
        // clang-format off
        // The kernel marks a deleted executable; the mark is no part of the name.
        {"101", "/usr/lib/kalvara/companion (deleted)", "", "other", "companion"},
        // comm holds the first 15 bytes of the name; a blank in the folder is no break.
        {"102", "", "/opt/My Apps/kalvara-update-helper\0--now\0"s, "kalvara-update-", "kalvara-update-helper"},
        // Rewritten arguments that disagree with comm.
        {"103", "", "sshd: admin@pts/0\0\0\0"s, "sshd", "sshd"},
        // A kernel thread has neither executable nor arguments.
        {"105", "", "", "kworker/0:1-events", "kworker/0:1-events"},
        // Long names are cut to 259 bytes, between characters.
        {"106", "/x/" + a258 + "aa", "", "a", a258 + "a"},
        {"107", "/x/" + a258 + "\xC3\xA9", "", "a", a258},
        {"108", "/x/" + a258.substr(1) + "\xC3\xA9", "", "a", a258.substr(1) + "\xC3\xA9"},
        // clang-format on
    };
    std::map<std::int32_t, std::string> expected{{109, "odd) (name"}};
    for (const auto& c : cases) {
        const fs::path process = Add(root, c.id, c.comm);
        if (!c.exe.empty()) {
            fs::create_symlink(c.exe, process / "exe");
        }
        std::ofstream(process / "cmdline", std::ios::binary) << c.cmdline;
        std::ofstream(process / "comm", std::ios::binary) << c.comm + "\n";
        expected[std::stoi(c.id)] = c.expected;
    }
    // Nothing but stat, whose name holds blanks and parentheses; arguments
    // that cannot be read do not hide it.
    fs::create_directories(Add(root, "109", "odd) (name") / "cmdline");
    // Ended before its stat was read, and while it was read; not processes.
    fs::create_directories(root.Path() / "8");
    fs::create_directories(root.Path() / "9" / "stat");
    for (const char* other : {"sys", "12x", "0", "99999999999"}) {
        Add(root, other, "impostor");
    }
    fs::create_directory_symlink("101", root.Path() / "self");

    ProcessList list;
    ASSERT_EQ(procGetList(list, ProcessSnapshot(root.Path())), 1);
    std::map<std::int32_t, std::string> listed;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const ProcEntry& entry = list[i];
        listed[entry.th32ProcessID] = entry.szExeFile;
        EXPECT_TRUE(entry.dwSize == sizeof entry && entry.th32ParentProcessID == 42 &&
                    entry.cntThreads == 9)
            << entry.th32ProcessID;
    }
    EXPECT_EQ(listed, expected);
}

TEST(ProcSnapshot, FindsTheFirstListedOfEqualNamesInEitherCase) {
    const kalvara::test::TempFolder root;
    Add(root, "20", "Twin");
    Add(root, "21", "TWIN");
    const ProcessSnapshot snapshot(root.Path());
    ProcessList list;
    ASSERT_EQ(procGetList(list, snapshot), 1);
    // Neither spelling equals the first two searches, whichever is listed first.
    const std::int32_t first = list.at(1).th32ProcessID;
    for (const auto& [name, id] :
         {std::pair{"twin", first}, {"tWiN", first}, {"twi", -1}, {"twins", -1}, {"", -1}}) {
        EXPECT_EQ(procGetID(name, snapshot), id) << name;
    }
}

TEST(ProcSnapshot, UnreadableRootFailsWithOneMessage) {
    const ProcessSnapshot missing("/proc/no-such-folder");
    ProcessList list(5, ProcEntry{1, 2, 3, 4, "stale"});
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(procGetList(list, missing), 0);
    EXPECT_EQ(procGetID("init", missing), -1);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(),
                ::testing::MatchesRegex("CreateToolHelp32Snapshot failed[^\n]*\n"));
    ASSERT_EQ(list.size(), 1U);
    const ProcEntry empty{};
    EXPECT_EQ(std::memcmp(&list[0], &empty, sizeof empty), 0);
}

} // namespace
} // namespace kalvara::proc::test
