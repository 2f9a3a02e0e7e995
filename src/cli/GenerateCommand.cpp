#include "cli/GenerateCommand.h"

#include <cstdio>

namespace kalvara::cli {

int RunGenerateCommand(const std::vector<std::string>&, const std::string&) {
    std::fprintf(stderr, "kalvara-cli: generate: not yet available\n");
    return 2;
}

} // namespace kalvara::cli
