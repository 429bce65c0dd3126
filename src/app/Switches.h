// The command-line switches the start-up looks for.
#pragma once
#include <string>

namespace tvx {

void uppercaseInPlace(std::string& text);
// Compared whole, after upper-casing: "/AP", "AP", "-AP".
bool isSuiteSwitch(const std::string& tail);
// Compared whole, after upper-casing: "/DRIVER", "DRIVER", "-DRIVER".
bool isDriverSwitch(const std::string& tail);

}  // namespace tvx
