// A CD drive laid from an ISO 9660 image, read as Windows 95 to XP read a CD: the Joliet names
// where the image has them (as written, case and length kept), else the primary volume's names
// (upper case, 8.3, the ";1" version dropped); Rock Ridge names are invisible to Windows. The
// image's file tree is read by libarchive.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "FileTree.h"

namespace tvx::sim {

// Which names of the image to read.
enum class DiscNames {
  Windows,    // Joliet where the image has it, else the primary volume's
  Primary,    // the primary volume's, as Windows reads them without Joliet
  RockRidge,  // Rock Ridge where the image has it: the names it was made from, as a Unix system reads them
};

struct DiscEntry {
  std::string path;  // below the root, folders separated by "\"
  bool isDirectory = false;
  std::string data;
  FILETIME written{};
};

struct DiscInfo {
  std::string label;    // the volume label of the primary volume
  bool joliet = false;  // the image has a Joliet volume
};

// The image's volume descriptors: its label and which names it holds. Throws MachineError when
// the bytes are no ISO 9660 image.
DiscInfo discInfoOf(const std::string& image);
// Every file and folder of the image under the names asked for, in the image's order. Throws
// MachineError naming what is wrong: no ISO 9660 image, cut short, records pointing outside it.
std::vector<DiscEntry> discEntries(const std::string& image, DiscNames names);

// Lays an image's bytes into a drive, read-only as a CD is, under the names Windows reads.
DiscInfo layDiscImage(FileNode& drive, const std::string& image);
// The same from an image file; errors name the file.
DiscInfo layDiscImage(FileNode& drive, const std::filesystem::path& image);

}  // namespace tvx::sim
