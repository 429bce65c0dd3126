// Reading a driver package's INF files as Windows reads them: which files are INF files, the
// fields of an entry, the folder a [SourceDisksNames] entry points to, the lines of a copy.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

// The package's INF files: a name holding ".inf" or ".INF" (so "DRIVER.Inf" is none).
bool isInfName(const std::string& name);
// The files (not folders) of a folder of the machine, in its order; none when it is missing.
std::vector<const FileNode*> plainFiles(const FileTree& files, const std::string& folder);
bool folderExists(const FileTree& files, const std::string& path);
// A text's lines, without their line ends.
std::vector<std::string> linesOf(const std::string& text);
// A path as the person sees it in Explorer: each folder by its long name where it exists.
std::string longPathOf(const FileTree& files, const std::string& path);
// "C:\PROGRA~1\TARVIC\W2K-ME" for "C:\Program Files\Tarvic\W2K-ME", as GetShortPathNameA gives it.
std::string shortPathOf(const FileTree& files, const std::string& path);
// "7 of its 15 bytes": how much of a file arrived.
std::string bytesOf(const FileNode& copy, const FileNode& medium);
// The first line of the medium's INF that its copy lacks, in order, leaving out what the program
// rewrites: the [SourceDisksNames] entries, and the option lines the dialogs patch, which must
// only differ in their value (checked on their own). Lines the copy gained do not count. Gives 0
// when the copy holds every line, else the line's number from 1.
std::size_t firstLineNotCopied(const std::vector<std::string>& medium, const std::vector<std::string>& copy);

// The folder a [SourceDisksNames] value points to, as Windows reads it: the fourth field; an
// absolute one stands for itself, anything else is taken below `sourceRoot` (the place the INF
// was installed from, or the INF's own folder when Windows has no record of one).
std::string sourceFolderOf(const std::string& diskValue, const std::string& sourceRoot);
// The fields of an INF value, split at the commas outside quotes, each trimmed.
std::vector<std::string> infFields(const std::string& value);

}  // namespace tvx::sim
