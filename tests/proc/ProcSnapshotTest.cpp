// Processes read from a folder laid out like /proc, for the cases a live
// system will not produce on demand.

#include "proc/ProcessSnapshot.h"
#include "proc/ProcessUtilities.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace kalvara::proc::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class ProcSnapshot : public ::testing::Test {
protected:
    // A process folder with the stat line the kernel would write for it.
    fs::path Add(const std::string& id, const std::string& stat_name, int parent = 1,
                 int threads = 1) {
        const fs::path process = root_.Path() / id;
        fs::create_directories(process);
        Write(process / "stat", id + " (" + stat_name + ") S " + std::to_string(parent) +
                                    " 1 1 0 -1 4194560 10 0 0 0 0 0 0 0 20 0 " +
                                    std::to_string(threads) + " 0 12345\n");
        return process;
    }
    static void Write(const fs::path& path, const std::string& contents) {
        std::ofstream(path, std::ios::binary) << contents;
    }
    ProcessSnapshot Snapshot() const { return ProcessSnapshot(root_.Path()); }

    std::map<std::int32_t, ProcEntry> Listed() {
        ProcessList list;
        EXPECT_EQ(procGetList(list, Snapshot()), 1);
        std::map<std::int32_t, ProcEntry> by_id;
        for (std::size_t i = 1; i < list.size(); ++i) {
            by_id[list[i].th32ProcessID] = list[i];
        }
        return by_id;
    }

    kalvara::test::TempFolder root_;
};

TEST_F(ProcSnapshot, NamesComeFromExeThenAgreeingCmdlineThenComm) {
    const std::string a258(258, 'a');
    const std::string e_acute = "\xC3\xA9";
    const struct {
        std::string id, exe, cmdline, comm, expected;
    } cases[] = {
        // The kernel marks a deleted executable; the mark is no part of the name.
        {"101", "/usr/lib/kalvara/companion (deleted)", "", "other", "companion"},
        // comm holds the first 15 bytes of the name; a blank in the folder is no break.
        {"102", "", "/opt/My Apps/kalvara-update-helper\0--now\0"s, "kalvara-update-",
         "kalvara-update-helper"},
        // Rewritten arguments that disagree with comm.
        {"103", "", "sshd: admin@pts/0\0\0\0"s, "sshd", "sshd"},
        {"104", "", "-bash\0"s, "bash", "bash"},
        // A kernel thread has neither executable nor arguments.
        {"105", "", "", "kworker/0:1-events", "kworker/0:1-events"},
        // Long names are cut to 259 bytes, between characters.
        {"106", "/x/" + a258 + "aa", "", "a", a258 + "a"},
        {"107", "/x/" + a258 + e_acute, "", "a", a258},
        {"108", "/x/" + a258.substr(1) + e_acute, "", "a", a258.substr(1) + e_acute},
    };
    for (const auto& c : cases) {
        const fs::path process = Add(c.id, c.comm);
        if (!c.exe.empty()) {
            fs::create_symlink(c.exe, process / "exe");
        }
        Write(process / "cmdline", c.cmdline);
        Write(process / "comm", c.comm + "\n");
    }
    // Nothing but stat, whose name holds blanks and parentheses.
    Add("109", "odd) (name", 42, 9);

    const auto listed = Listed();
    ASSERT_EQ(listed.size(), std::size(cases) + 1);
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(listed.at(std::stoi(c.id)).szExeFile), c.expected) << c.id;
    }
    EXPECT_STREQ(listed.at(109).szExeFile, "odd) (name");
    EXPECT_EQ(listed.at(109).th32ParentProcessID, 42);
    EXPECT_EQ(listed.at(109).cntThreads, 9);
}

TEST_F(ProcSnapshot, OnlyLiveProcessFoldersAreListed) {
    Add("7", "init");
    // Ended before its stat was read, and while it was read.
    fs::create_directories(root_.Path() / "8");
    fs::create_directories(root_.Path() / "9" / "stat");
    // Arguments that cannot be read do not hide a process.
    fs::create_directories(Add("10", "worker") / "cmdline");
    for (const char* other : {"sys", "12x", "0", "99999999999"}) {
        Add(other, "impostor");
    }
    fs::create_directory_symlink("7", root_.Path() / "self");
    Write(root_.Path() / "uptime", "1.0 1.0\n");

    const auto listed = Listed();
    ASSERT_EQ(listed.size(), 2U);
    EXPECT_STREQ(listed.at(7).szExeFile, "init");
    EXPECT_EQ(listed.at(7).dwSize, sizeof(ProcEntry));
    EXPECT_STREQ(listed.at(10).szExeFile, "worker");
}

TEST_F(ProcSnapshot, FindsTheFirstListedOfEqualNamesInEitherCase) {
    fs::create_symlink("/opt/a/Twin", Add("20", "Twin") / "exe");
    fs::create_symlink("/opt/b/twin", Add("21", "twin") / "exe");
    fs::create_symlink("/opt/c/LOUD", Add("22", "LOUD") / "exe");
    ProcessList list;
    ASSERT_EQ(procGetList(list, Snapshot()), 1);
    const std::int32_t first_twin =
        std::find_if(list.begin() + 1, list.end(), [](const ProcEntry& entry) {
            return entry.th32ProcessID != 22;
        })->th32ProcessID;

    for (const char* name : {"TWIN", "twin", "tWiN"}) {
        EXPECT_EQ(procGetID(name, Snapshot()), first_twin) << name;
    }
    EXPECT_EQ(procGetID("loud", Snapshot()), 22);
    // Only the whole file name counts: not its folder, not a part of it.
    for (const char* name : {"twi", "twins", "/opt/a/Twin", ""}) {
        EXPECT_EQ(procGetID(name, Snapshot()), -1) << name;
    }
}

TEST_F(ProcSnapshot, UnreadableRootFailsWithAMessage) {
    const ProcessSnapshot missing(root_.Path() / "no-such-folder");
    ProcessList list(5, ProcEntry{1, 2, 3, 4, "stale"});

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(procGetList(list, missing), 0);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(message.starts_with("CreateToolHelp32Snapshot failed")) << message;
    ASSERT_EQ(list.size(), 1U);
    const ProcEntry empty{};
    EXPECT_EQ(std::memcmp(&list[0], &empty, sizeof empty), 0);

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(procGetID("init", missing), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace kalvara::proc::test
