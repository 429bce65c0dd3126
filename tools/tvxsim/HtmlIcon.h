// An icon of the program's resources as an image a page can hold: the icon group and its images
// put together again as an .ico file, in a data: URI.
#pragma once
#include <string>

#include "../../src/platform/WinTypes.h"

namespace tvx::sim {

// Empty when the resources hold no icon group of this number.
std::string iconDataUri(int groupId, WORD language);

}  // namespace tvx::sim
