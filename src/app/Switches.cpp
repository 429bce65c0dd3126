#include "Switches.h"

#include "../core/Text.h"

namespace tvx {

void uppercaseInPlace(std::string& text) { text = upperCased(text); }

bool isSuiteSwitch(const std::string& tail) { return tail == "/AP" || tail == "AP" || tail == "-AP"; }

bool isDriverSwitch(const std::string& tail) { return tail == "/DRIVER" || tail == "DRIVER" || tail == "-DRIVER"; }

}  // namespace tvx
