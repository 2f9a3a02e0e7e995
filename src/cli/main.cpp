// kalvara-cli: the broadcast calendar without the desktop.

#include "cli/Cli.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kalvara::cli::RunCli(args, {stdin, stdout, stderr});
}
