// Whether two paths name one file.
#pragma once
#include <string>

#include "../platform/IFileSystem.h"

namespace tvx {

// As Windows tells it: the two texts alike without regard to case, or, where the file is there,
// the short forms Windows gives for them alike (so "C:\Program Files\Tarvic\W95-98\TVAUDIO.INF" and
// "c:\progra~1\tarvic\w95-98\tvaudio.inf" are one file). A path whose file is not there names no
// file another path could name.
bool NameOneFile(IFileSystem& files, const std::string& a, const std::string& b);

}  // namespace tvx
