#pragma once
// A form as a screen reader meets it: the role and name of every control the
// keyboard reaches, and the order in which Tab walks them. Shared by the
// suites of the desktop program and of the update windows.

#include <QWidget>
#include <string>
#include <vector>

namespace kalvara::test {

// Each reachable control whose role does not match its behaviour or that has
// no name, as "Class: problem".
std::vector<std::string> AccessibilityFaults(QWidget* window);

// Checks the roles and names, and that Tab reaches every control in
// reading order.
void ExpectReadable(const std::string& form);

} // namespace kalvara::test
