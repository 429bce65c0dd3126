#include "DiscImage.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

#include "RegFile.h"
#include "Text.h"

namespace tvx::sim {

namespace {

constexpr std::size_t kSector = 2048;
constexpr std::size_t kFirstDescriptor = 16;
// A CD holds at most this many files and folders, as a drive laid from a folder does.
constexpr std::size_t kMostEntries = 200000;

struct ArchiveDeleter {
  void operator()(archive* a) const { archive_read_free(a); }
};

// Seconds since 1970 as Windows keeps a file's time: 100-nanosecond steps since 1601.
FILETIME fileTimeOf(long long unixSeconds) {
  const unsigned long long ticks = (static_cast<unsigned long long>(unixSeconds) + 11644473600ULL) * 10000000ULL;
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

std::string windowsPath(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  if (path.rfind("./", 0) == 0) path.erase(0, 2);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

DiscInfo discInfoOf(const std::string& image) {
  DiscInfo info;
  bool primary = false;
  for (std::size_t n = kFirstDescriptor; (n + 1) * kSector <= image.size(); ++n) {
    const char* d = image.data() + n * kSector;
    if (std::string(d + 1, 5) != "CD001") break;
    const auto type = static_cast<unsigned char>(d[0]);
    if (type == 255) break;  // the set's terminator
    if (type == 1 && !primary) {
      primary = true;
      info.label = trim(std::string(d + 40, 32));
    }
    // A supplementary volume whose escape sequence names UCS-2 at one of its three levels.
    const std::string escape(d + 88, 3);
    if (type == 2 && (escape == "%/@" || escape == "%/C" || escape == "%/E")) info.joliet = true;
  }
  if (!primary) throw MachineError("no ISO 9660 image (no primary volume descriptor at sector 16)");
  return info;
}

std::vector<DiscEntry> discEntries(const std::string& image, DiscNames names) {
  std::unique_ptr<archive, ArchiveDeleter> a(archive_read_new());
  archive_read_support_format_iso9660(a.get());
  if (names != DiscNames::RockRidge) archive_read_set_format_option(a.get(), "iso9660", "rockridge", nullptr);
  if (names != DiscNames::Windows) archive_read_set_format_option(a.get(), "iso9660", "joliet", nullptr);
  const auto failure = [&](const std::string& what) {
    const char* error = archive_error_string(a.get());
    return MachineError(what + (error != nullptr ? std::string(": ") + error : std::string()));
  };
  // An image with the volume descriptors' mark is one, however damaged its directories are.
  const bool iso =
      image.size() > (kFirstDescriptor + 1) * kSector && image.compare(kFirstDescriptor * kSector + 1, 5, "CD001") == 0;
  const char* const damaged = iso ? "the image is damaged" : "no ISO 9660 image";
  if (archive_read_open_memory(a.get(), image.data(), image.size()) != ARCHIVE_OK) throw failure(damaged);
  std::vector<DiscEntry> entries;
  archive_entry* e = nullptr;
  while (true) {
    const int r = archive_read_next_header(a.get(), &e);
    if (r == ARCHIVE_EOF) break;
    if (r != ARCHIVE_OK) throw failure(damaged);
    if (entries.size() >= kMostEntries)
      throw MachineError("more than " + std::to_string(kMostEntries) + " files and folders");
    DiscEntry entry;
    entry.path = windowsPath(archive_entry_pathname(e) != nullptr ? archive_entry_pathname(e) : "");
    entry.isDirectory = archive_entry_filetype(e) == AE_IFDIR;
    entry.written = fileTimeOf(archive_entry_mtime(e));
    if (entry.path.empty() || entry.path == ".") continue;
    if (!entry.isDirectory) {
      // A record whose extent lies past the end of the image cannot be read whole.
      const la_int64_t size = archive_entry_size(e);
      if (size < 0 || static_cast<unsigned long long>(size) > image.size()) {
        throw MachineError(entry.path + ": its record points outside the image");
      }
      entry.data.resize(static_cast<std::size_t>(size));
      std::size_t got = 0;
      while (got < entry.data.size()) {
        const la_ssize_t n = archive_read_data(a.get(), &entry.data[got], entry.data.size() - got);
        if (n < 0) throw failure(entry.path + ": cannot be read");
        if (n == 0) throw MachineError(entry.path + ": the image ends inside the file (cut short?)");
        got += static_cast<std::size_t>(n);
      }
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

DiscInfo layDiscImage(FileNode& drive, const std::string& image) {
  DiscInfo info = discInfoOf(image);
  // A disc's folders hold their records sorted by name (the code of each character), and Windows
  // lists them in that order; libarchive gives the files in the order of their data.
  std::vector<DiscEntry> entries = discEntries(image, DiscNames::Windows);
  const auto components = [](const std::string& path) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at <= path.size()) {
      const std::size_t slash = std::min(path.find('\\', at), path.size());
      parts.push_back(path.substr(at, slash - at));
      at = slash + 1;
    }
    return parts;
  };
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const DiscEntry& a, const DiscEntry& b) { return components(a.path) < components(b.path); });
  for (const DiscEntry& e : entries) {
    FileNode* node = &drive;
    std::size_t at = 0;
    while (at <= e.path.size()) {
      const std::size_t slash = std::min(e.path.find('\\', at), e.path.size());
      const std::string part = e.path.substr(at, slash - at);
      const bool last = slash == e.path.size();
      at = slash + 1;
      if (part.empty() || part == "." || part == "..") continue;  // no name of a CD's file
      FileNode* child = node->child(part);
      if (child == nullptr) child = &node->addChild(part, !last || e.isDirectory);
      // A file where the image also has a folder of that name (or the other way): the first stays.
      if (!last && !child->isDirectory) break;
      node = child;
    }
    if (node == &drive || node->isDirectory != e.isDirectory) continue;
    if (!e.isDirectory) node->data = e.data;
    node->written = e.written;
    node->attributes |= FILE_ATTRIBUTE_READONLY;
  }
  return info;
}

DiscInfo layDiscImage(FileNode& drive, const std::filesystem::path& image) {
  std::ifstream in(image, std::ios::binary);
  if (!in) throw MachineError(image.string() + ": cannot be read");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  try {
    return layDiscImage(drive, bytes.str());
  } catch (const MachineError& e) {
    throw MachineError(image.string() + ": " + e.what());
  }
}

}  // namespace tvx::sim
