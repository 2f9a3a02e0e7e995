#pragma once
// The desktop program tests' surroundings: their own home, runtime and XDG
// folders, and small file helpers.

#include "support/TempFolder.h"

#include <string>

namespace kalvara::test {

// Points HOME, XDG_RUNTIME_DIR and the XDG folders below `root`.
void IsolateEnvironment(const TempFolder& root);

// The text of a file, empty when it cannot be read.
std::string ReadFile(const std::string& path);
// Writes a file, creating its folder.
void WriteFile(const std::string& path, const std::string& text);

} // namespace kalvara::test
