#include "update/VersionFile.h"

#include <sstream>
#include <vector>

namespace kalvara::update {

std::optional<Version> ParseVersion(std::string_view text) {
    Version version{};
    std::size_t part = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (c == '.') {
            if (digits == 0 || ++part >= version.size()) {
                return std::nullopt;
            }
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 9) {
            version[part] = version[part] * 10 + static_cast<unsigned>(c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != version.size() - 1 || digits == 0) {
        return std::nullopt;
    }
    return version;
}

bool IsNewer(const Version& candidate, const Version& current) {
    return candidate > current;
}

bool IsMajorUpdate(const Version& candidate, const Version& current) {
    return std::pair(candidate[0], candidate[1]) > std::pair(current[0], current[1]);
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.find("..") != std::string_view::npos) {
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::optional<VersionFile> ParseVersionFile(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    const auto blank = [](const std::string& line) {
        return line.find_first_not_of(" \t") == std::string::npos;
    };
    while (!lines.empty() && blank(lines.back())) {
        lines.pop_back();
    }
    if (lines.empty()) {
        return std::nullopt;
    }
    VersionFile file;
    std::istringstream words(lines.front());
    words >> file.download_host >> file.download_path >> file.installer_name;
    const std::string& last = lines.back();
    const auto first = last.find_first_not_of(" \t");
    const auto final = last.find_last_not_of(" \t");
    file.version_text = last.substr(first, final - first + 1);
    return file;
}

} // namespace kalvara::update
