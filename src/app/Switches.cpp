#include "Switches.h"

namespace tvx {

void uppercaseInPlace(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

bool isSuiteSwitch(const std::string& tail) { return tail == "/AP" || tail == "AP" || tail == "-AP"; }

bool isDriverSwitch(const std::string& tail) { return tail == "/DRIVER" || tail == "DRIVER" || tail == "-DRIVER"; }

}  // namespace tvx
