// Copies as the installation makes them: over whatever is there, attributes cleared.
#pragma once
#include <string>

#include "../platform/Platform.h"

namespace tvx {

// Clears the destination's attributes, copies over it and, with clearAfter, clears them again.
// Gives CopyFileA's result; a file that is its own destination, by whatever name, is in place and
// is left as it is (TRUE).
BOOL CopyFileOver(const Platform& platform, const std::string& source, const std::string& destination, bool clearAfter);

// Copies each plain file of `folder` (sub-folders are not entered) into `destination`, in the
// order the search lists them, attributes cleared after each copy. A file that cannot be copied is
// passed over.
void copyFolder(const Platform& platform, const std::string& folder, const std::string& destination);

}  // namespace tvx
