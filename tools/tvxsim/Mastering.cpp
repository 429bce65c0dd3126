#include "Mastering.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace tvx::sim {

namespace {

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw MachineError(path.string() + ": cannot be read");
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The files of a folder, by their paths below it ("W95-98\drv\95\TVAUDIO.INF").
std::vector<DiscEntry> folderFiles(const fs::path& folder) {
  std::vector<DiscEntry> out;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::string relative = fs::relative(e.path(), folder).string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    out.push_back(DiscEntry{relative, false, readBytes(e.path()), {}});
  }
  std::sort(out.begin(), out.end(), [](const DiscEntry& a, const DiscEntry& b) { return a.path < b.path; });
  return out;
}

std::vector<DiscEntry> filesOnly(std::vector<DiscEntry> entries) {
  entries.erase(std::remove_if(entries.begin(), entries.end(), [](const DiscEntry& e) { return e.isDirectory; }),
                entries.end());
  return entries;
}

// A name reduced to what survives any mastering: its letters and digits, in upper case.
std::string skeleton(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (std::isalnum(static_cast<unsigned char>(c)) || c == '\\')
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

// The file of the disc that holds what `made` held: the same bytes, the likest name first.
const DiscEntry* sameContent(const DiscEntry& made, const std::vector<DiscEntry>& disc) {
  const DiscEntry* best = nullptr;
  for (const DiscEntry& d : disc) {
    if (d.data != made.data) continue;
    if (best == nullptr || skeleton(d.path) == skeleton(made.path)) best = &d;
    if (skeleton(d.path) == skeleton(made.path)) break;
  }
  return best;
}

}  // namespace

std::string Mastering::behind(const std::string& reason) const {
  if (lost.empty()) return {};
  // The lost file whose path, or the longest of the folders it lies in, the reason names ("the
  // driver package W95-98\\drv\\95" is behind W95-98\\drv\\95\\TVAUDIO.INF).
  const std::string upper = toUpper(reason);
  const auto named = [&](const std::string& at) {
    for (std::size_t found = upper.find(at); found != std::string::npos; found = upper.find(at, found + 1)) {
      const std::size_t end = found + at.size();
      if (end == upper.size() || !std::isalnum(static_cast<unsigned char>(upper[end]))) return true;
    }
    return false;
  };
  // Of files in the folder named, an INF file says most: it is what the program looks for.
  const auto isInf = [](const std::string& path) { return toUpper(path).find(".INF") != std::string::npos; };
  std::size_t longest = 0;
  const std::pair<std::string, std::string>* best = &lost.front();
  for (const auto& entry : lost) {
    std::string at = toUpper(entry.first);
    while (!at.empty()) {
      const bool better = at.size() > longest || (at.size() == longest && isInf(entry.first) && !isInf(best->first));
      if (!better) break;
      if (named(at)) {
        longest = at.size();
        best = &entry;
        break;
      }
      const std::size_t slash = at.rfind('\\');
      at = slash == std::string::npos ? std::string() : at.substr(0, slash);
    }
  }
  return best->second;
}

Mastering checkMastering(const fs::path& image, const std::optional<fs::path>& folder) {
  Mastering m;
  m.image = image.string();
  const std::string bytes = readBytes(image);
  try {
    m.disc = discInfoOf(bytes);
    const std::vector<DiscEntry> seen = filesOnly(discEntries(bytes, DiscNames::Windows));
    std::vector<DiscEntry> made;
    if (folder) {
      made = folderFiles(*folder);
      m.madeFrom = "the folder " + folder->string();
    } else {
      // Without the folder, the image's Rock Ridge names tell what it was made from, where they
      // are not the names Windows reads.
      made = filesOnly(discEntries(bytes, DiscNames::RockRidge));
      std::vector<std::string> a, b;
      for (const auto& e : made) a.push_back(e.path);
      for (const auto& e : seen) b.push_back(e.path);
      if (a == b) return m;
      m.madeFrom = "its Rock Ridge names";
    }
    std::map<std::string, const DiscEntry*> byName;
    for (const DiscEntry& e : seen) byName[toUpper(e.path)] = &e;
    std::map<std::string, bool> matched;
    for (const DiscEntry& e : made) {
      auto it = byName.find(toUpper(e.path));
      if (it != byName.end()) {
        matched[it->first] = true;
        if (folder && it->second->data != e.data) {
          m.differences.push_back(e.path + ": its content differs (" + std::to_string(e.data.size()) +
                                  " bytes in the folder, " + std::to_string(it->second->data.size()) + " on the disc)");
        }
        continue;
      }
      const DiscEntry* there = sameContent(e, seen);
      std::string words = e.path + " is not on the disc as Windows reads it: ";
      if (!m.disc.joliet) {
        words += "the image has no Joliet names, and its primary names are ";
      } else {
        words += "its Joliet name is ";
      }
      if (there != nullptr) {
        matched[toUpper(there->path)] = true;
        words += there->path;
      } else {
        words = e.path + " is not on the disc as Windows reads it" +
                (m.disc.joliet ? std::string() : std::string(" (the image has no Joliet names)")) +
                ", and no file of the disc holds its content";
      }
      m.lost.emplace_back(e.path, words);
      if (folder) m.differences.push_back(words);
    }
    if (folder) {
      for (const DiscEntry& e : seen) {
        if (!matched.count(toUpper(e.path))) m.differences.push_back(e.path + " is on the disc, not in the folder");
      }
    }
  } catch (const MachineError& e) {
    throw MachineError(image.string() + ": " + e.what());
  }
  return m;
}

}  // namespace tvx::sim
