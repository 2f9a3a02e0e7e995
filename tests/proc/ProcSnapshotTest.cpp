// Reading processes from a folder laid out like /proc, for the cases a live
// system will not produce on demand.

#include "proc/ProcessSnapshot.h"
#include "proc/ProcessUtilities.h"
#include "support/TempFolder.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace kalvara::proc::test {
namespace {

using kalvara::test::TempFolder;

namespace fs = std::filesystem;
using namespace std::string_literals;

class ProcSnapshot : public ::testing::Test {
protected:
    // A process folder with the stat line the kernel would write for it.
    fs::path AddProcess(const std::string& id, const std::string& stat_name, int parent,
                        int threads) {
        const fs::path process = folder_.Path() / id;
        fs::create_directories(process);
        Write(process / "stat", id + " (" + stat_name + ") S " + std::to_string(parent) +
                                    " 1 1 0 -1 4194560 10 0 0 0 0 0 0 0 20 0 " +
                                    std::to_string(threads) + " 0 12345 1000000 100\n");
        return process;
    }

    static void Write(const fs::path& path, const std::string& contents) {
        std::ofstream(path, std::ios::binary) << contents;
    }

    std::map<std::int32_t, ProcEntry> ListByProcessId() {
        ProcessList list;
        EXPECT_EQ(procGetList(list, kalvara::proc::ProcessSnapshot(folder_.Path())), 1);
        EXPECT_FALSE(list.empty());
        std::map<std::int32_t, ProcEntry> by_id;
        for (std::size_t i = 1; i < list.size(); ++i) {
            by_id[list[i].th32ProcessID] = list[i];
        }
        return by_id;
    }

    TempFolder folder_;
};

TEST_F(ProcSnapshot, NamesComeFromExeThenAgreeingCmdlineThenComm) {
    // Deleted executable: the kernel's " (deleted)" is not part of the name.
    fs::create_symlink("/usr/lib/kalvara/companion (deleted)",
                       AddProcess("101", "companion", 1, 3) / "exe");
    // Unreadable exe; an argument with a blank in its folder.
    Write(AddProcess("102", "kalvara", 1, 1) / "cmdline", "/opt/My Apps/kalvara\0--update\0"s);
    Write(folder_.Path() / "102" / "comm", "kalvara\n");
    // Rewritten arguments that disagree with comm.
    Write(AddProcess("103", "sshd", 1, 1) / "cmdline", "sshd: admin@pts/0\0\0\0"s);
    Write(folder_.Path() / "103" / "comm", "sshd\n");
    Write(AddProcess("104", "bash", 103, 1) / "cmdline", "-bash\0"s);
    Write(folder_.Path() / "104" / "comm", "bash\n");
    // Kernel thread: no executable, no arguments.
    Write(AddProcess("105", "kworker/0:1-events", 2, 1) / "cmdline", "");
    Write(folder_.Path() / "105" / "comm", "kworker/0:1-events\n");
    // Long name: comm holds only the first 15 bytes of it.
    Write(AddProcess("106", "kalvara-compani", 1, 2) / "cmdline", "kalvara-companion\0"s);
    Write(folder_.Path() / "106" / "comm", "kalvara-compani\n");
    // A name with blanks and parentheses, with nothing but stat to go on.
    AddProcess("107", "odd) (name", 42, 9);

    const auto by_id = ListByProcessId();
    ASSERT_EQ(by_id.size(), 7U);
    EXPECT_STREQ(by_id.at(101).szExeFile, "companion");
    EXPECT_STREQ(by_id.at(102).szExeFile, "kalvara");
    EXPECT_STREQ(by_id.at(103).szExeFile, "sshd");
    EXPECT_STREQ(by_id.at(104).szExeFile, "bash");
    EXPECT_STREQ(by_id.at(105).szExeFile, "kworker/0:1-events");
    EXPECT_STREQ(by_id.at(106).szExeFile, "kalvara-companion");
    EXPECT_STREQ(by_id.at(107).szExeFile, "odd) (name");
    EXPECT_EQ(by_id.at(107).th32ParentProcessID, 42);
    EXPECT_EQ(by_id.at(107).cntThreads, 9);
    EXPECT_EQ(by_id.at(101).cntThreads, 3);
    EXPECT_EQ(by_id.at(104).th32ParentProcessID, 103);
}

TEST_F(ProcSnapshot, OnlyLiveProcessFoldersAreListed) {
    AddProcess("7", "init", 0, 1);
    fs::create_directories(folder_.Path() / "8"); // ended before its stat was read
    // Reading a directory fails part-way, as reading an ending process does.
    fs::create_directories(folder_.Path() / "9" / "stat");
    fs::create_directories(AddProcess("10", "worker", 7, 1) / "cmdline");
    Write(folder_.Path() / "10" / "comm", "worker\n");
    fs::create_directories(folder_.Path() / "sys");
    fs::create_directories(folder_.Path() / "12x");
    fs::create_directories(folder_.Path() / "0");
    fs::create_directories(folder_.Path() / "99999999999");
    fs::create_directory_symlink("7", folder_.Path() / "self");
    Write(folder_.Path() / "uptime", "1.0 1.0\n");

    const auto by_id = ListByProcessId();
    ASSERT_EQ(by_id.size(), 2U);
    EXPECT_STREQ(by_id.at(7).szExeFile, "init");
    EXPECT_STREQ(by_id.at(10).szExeFile, "worker");
    EXPECT_EQ(by_id.at(7).dwSize, sizeof(ProcEntry));
}

TEST_F(ProcSnapshot, LongNamesAreCutBetweenCharacters) {
    ProcEntry entry{};
    ProcessSnapshot::StoreExecutableName(std::string(400, 'a'), entry);
    EXPECT_EQ(std::strlen(entry.szExeFile), KALVARAPROC_EXE_FILE_SIZE - 1U);

    // "é" is two bytes; the second would be byte 260.
    ProcessSnapshot::StoreExecutableName(std::string(258, 'a') + "\xC3\xA9", entry);
    EXPECT_EQ(std::string(entry.szExeFile), std::string(258, 'a'));

    ProcessSnapshot::StoreExecutableName(std::string(257, 'a') + "\xC3\xA9", entry);
    EXPECT_EQ(std::string(entry.szExeFile), std::string(257, 'a') + "\xC3\xA9");
}

TEST_F(ProcSnapshot, UnreadableRootFailsWithAMessage) {
    const kalvara::proc::ProcessSnapshot missing(folder_.Path() / "no-such-folder");
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
