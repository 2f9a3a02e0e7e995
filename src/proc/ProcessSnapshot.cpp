#include "proc/ProcessSnapshot.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <sstream>
#include <system_error>
#include <utility>
#include <vector>

namespace kalvara::proc {

namespace {

namespace fs = std::filesystem;

// The kernel appends this to the "exe" target once the file is gone.
constexpr std::string_view DeletedSuffix = " (deleted)";

// Largest name szExeFile holds before its NUL.
constexpr std::size_t MaxNameBytes = KALVARAPROC_EXE_FILE_SIZE - 1;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whole contents of a small pseudo-file; false when it cannot be read, as
// when its process ends before or during the read. Plain stdio, because
// file streams throw from a failed read and one ending process must not end
// the walk over all the others.
bool ReadWholeFile(const fs::path& path, std::string& contents) {
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    contents.clear();
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        contents.append(block, got);
    }
    return std::ferror(file.get()) == 0;
}

// Process ids are positive decimal numbers that fit 32 bits; everything else
// under /proc ("self", "sys", "1234x") is not a process.
bool ParseProcessId(std::string_view text, std::int32_t& process_id) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), process_id);
    return error == std::errc{} && end == text.data() + text.size() && process_id > 0;
}

std::string FileNameOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// From "pid (comm) state ppid ... num_threads ...": the name may itself hold
// blanks and parentheses, so the fields start after the last ")".
void ParseStat(const std::string& stat, ProcEntry& entry, std::string& comm) {
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return;
    }
    comm = stat.substr(open + 1, close - open - 1);
    std::istringstream fields(stat.substr(close + 1));
    std::vector<std::string> words{std::istream_iterator<std::string>(fields),
                                   std::istream_iterator<std::string>()};
    // After the name: state [0], ppid [1], ... num_threads [17].
    constexpr std::size_t ParentField = 1;
    constexpr std::size_t ThreadsField = 17;
    const auto number = [&words](std::size_t index, std::int32_t& value) {
        if (index < words.size()) {
            const std::string& word = words[index];
            std::int32_t parsed = 0;
            const auto [end, error] =
                std::from_chars(word.data(), word.data() + word.size(), parsed);
            if (error == std::errc{} && end == word.data() + word.size()) {
                value = parsed;
            }
        }
    };
    number(ParentField, entry.th32ParentProcessID);
    number(ThreadsField, entry.cntThreads);
}

std::string TrimTrailingNewline(std::string text) {
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

} // namespace

ProcessSnapshot::ProcessSnapshot(std::filesystem::path proc_root) : root_(std::move(proc_root)) {}

bool ProcessSnapshot::Walk(const Visitor& visit, std::string& failure) const {
    std::error_code error;
    fs::directory_iterator folder(root_, error);
    if (error) {
        failure = "cannot read " + root_.string() + " (" + error.message() + ")";
        return false;
    }
    for (const fs::directory_iterator end; folder != end; folder.increment(error)) {
        std::int32_t process_id = 0;
        if (!ParseProcessId(folder->path().filename().native(), process_id)) {
            continue;
        }
        ProcEntry entry{};
        if (ReadEntry(folder->path(), process_id, entry) && !visit(entry)) {
            return true;
        }
    }
    // /proc does not fail part-way; a fake root might, and a partial list
    // would pass for a complete one.
    if (error) {
        failure = "cannot read " + root_.string() + " (" + error.message() + ")";
        return false;
    }
    return true;
}

bool ProcessSnapshot::ReadEntry(const std::filesystem::path& process_folder,
                                std::int32_t process_id, ProcEntry& entry) {
    std::string stat;
    if (!ReadWholeFile(process_folder / "stat", stat)) {
        return false;
    }
    entry.dwSize = sizeof(ProcEntry);
    entry.th32ProcessID = process_id;
    std::string comm;
    ParseStat(stat, entry, comm);
    StoreExecutableName(ExecutableName(process_folder), entry);
    if (entry.szExeFile[0] == '\0') {
        StoreExecutableName(comm, entry);
    }
    return true;
}

std::string ProcessSnapshot::ExecutableName(const std::filesystem::path& process_folder) {
    std::error_code error;
    std::string target = fs::read_symlink(process_folder / "exe", error).native();
    if (!error && !target.empty()) {
        if (target.ends_with(DeletedSuffix)) {
            target.erase(target.size() - DeletedSuffix.size());
        }
        std::string name = FileNameOf(target);
        if (!name.empty()) {
            return name;
        }
    }

    std::string comm;
    if (ReadWholeFile(process_folder / "comm", comm)) {
        comm = TrimTrailingNewline(std::move(comm));
    }

    // A process may rewrite its arguments ("sshd: user@pts/0", "-bash"); the
    // first one names the executable only while the kernel's own short name,
    // the first 15 bytes of the executable's name, agrees with it.
    std::string cmdline;
    if (ReadWholeFile(process_folder / "cmdline", cmdline)) {
        std::string first = FileNameOf(cmdline.substr(0, cmdline.find('\0')));
        if (!first.empty() && (comm.empty() || first.starts_with(comm))) {
            return first;
        }
    }
    return comm;
}

void ProcessSnapshot::StoreExecutableName(std::string_view name, ProcEntry& entry) {
    std::size_t length = std::min(name.size(), MaxNameBytes);
    // Back off over UTF-8 continuation bytes so the cut falls between characters.
    if (length < name.size()) {
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0U) == 0x80U) {
            --length;
        }
    }
    std::memcpy(entry.szExeFile, name.data(), length);
    entry.szExeFile[length] = '\0';
}

} // namespace kalvara::proc
