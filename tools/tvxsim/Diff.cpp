#include "Diff.h"

#include <cstdio>
#include <set>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

namespace {

bool hasExtension(const std::string& name, const char* extension) {
  return name.size() > 4 && iequals(name.substr(name.size() - 4), extension);
}

bool isIni(const std::string& name) { return hasExtension(name, ".ini"); }
bool isInf(const std::string& name) { return hasExtension(name, ".inf"); }

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      if (!current.empty() && current.back() == '\r') current.pop_back();
      lines.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// The lines removed ("- ") and added ("+ ") between two texts, by their longest common subsequence.
std::vector<std::string> diffLines(const std::string& before, const std::string& after) {
  const auto a = linesOf(before);
  const auto b = linesOf(after);
  if (a.size() * b.size() > 4'000'000) return {"(too long to compare line by line)"};
  std::vector<std::vector<unsigned>> common(a.size() + 1, std::vector<unsigned>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  // Each run of changed lines is shown as pairs of old and new line where it replaced as many.
  std::vector<std::string> out;
  std::vector<std::string> removed;
  std::vector<std::string> added;
  auto flush = [&] {
    for (std::size_t k = 0; k < std::max(removed.size(), added.size()); ++k) {
      if (k < removed.size()) out.push_back("- " + removed[k]);
      if (k < added.size()) out.push_back("+ " + added[k]);
    }
    removed.clear();
    added.clear();
  };
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      flush();
      ++i;
      ++j;
    } else if (i < a.size() && (j == b.size() || common[i + 1][j] >= common[i][j + 1])) {
      removed.push_back(a[i++]);
    } else {
      added.push_back(b[j++]);
    }
  }
  flush();
  if (out.empty()) out.push_back("(line ends or bytes changed)");
  return out;
}

std::string attributeLetters(DWORD a) {
  std::string s;
  if (a & FILE_ATTRIBUTE_READONLY) s += 'R';
  if (a & FILE_ATTRIBUTE_HIDDEN) s += 'H';
  if (a & FILE_ATTRIBUTE_SYSTEM) s += 'S';
  if (a & FILE_ATTRIBUTE_ARCHIVE) s += 'A';
  return s.empty() ? "-" : s;
}

std::vector<std::string> diffIni(const std::string& before, const std::string& after) {
  IniText a(before);
  IniText b(after);
  std::vector<std::string> out;
  std::vector<std::string> sections = a.sections();
  for (const auto& s : b.sections()) {
    bool known = false;
    for (const auto& t : sections) known = known || iequals(s, t);
    if (!known) sections.push_back(s);
  }
  for (const auto& s : sections) {
    if (!b.hasSection(s)) {
      out.push_back("[" + s + "] removed");
      continue;
    }
    auto beforeEntries = a.entries(s);
    auto afterEntries = b.entries(s);
    for (const auto& [key, value] : afterEntries) {
      auto old = a.get(s, key);
      if (!old) {
        out.push_back("[" + s + "] " + key + " = \"" + value + "\" (new)");
      } else if (*old != value) {
        out.push_back("[" + s + "] " + key + " = \"" + value + "\" (was \"" + *old + "\")");
      }
    }
    for (const auto& [key, value] : beforeEntries) {
      if (!b.get(s, key)) out.push_back("[" + s + "] " + key + " removed (was \"" + value + "\")");
    }
  }
  return out;
}

// The report lists a folder's entries by name, whatever order the folder holds them in.
std::vector<const FileNode*> byName(const FileNode* folder) {
  std::vector<const FileNode*> out;
  if (folder == nullptr) return out;
  for (const auto& c : folder->children) out.push_back(c.get());
  std::stable_sort(out.begin(), out.end(),
                   [](const FileNode* a, const FileNode* b) { return iless(a->name, b->name); });
  return out;
}

void walkFiles(const FileNode* before, const FileNode* after, const std::string& path, std::vector<Change>& out) {
  if (before != nullptr) {
    for (const FileNode* c : byName(before)) {
      std::string p = path + "\\" + c->name;
      const FileNode* other = after != nullptr ? after->child(c->name) : nullptr;
      if (other != nullptr && other->isDirectory != c->isDirectory) other = nullptr;
      if (other == nullptr) {
        out.push_back(Change{"removed", p + (c->isDirectory ? "\\" : ""), "", {}, {}});
        continue;
      }
      if (c->isDirectory) {
        walkFiles(c, other, p, out);
        continue;
      }
      if (c->data != other->data) {
        Change ch{"changed", p, "", {}, {}, other->data};
        if (isIni(c->name)) ch.entries = diffIni(c->data, other->data);
        if (isInf(c->name)) ch.lines = diffLines(c->data, other->data);
        out.push_back(ch);
      }
      if (c->attributes != other->attributes) {
        out.push_back(Change{
            "attributes", p, attributeLetters(c->attributes) + " -> " + attributeLetters(other->attributes), {}, {}});
      }
    }
  }
  if (after != nullptr) {
    for (const FileNode* c : byName(after)) {
      const FileNode* old = before != nullptr ? before->child(c->name) : nullptr;
      if (old != nullptr && old->isDirectory == c->isDirectory) continue;
      std::string p = path + "\\" + c->name;
      Change ch{"added", p + (c->isDirectory ? "\\" : ""), "", {}, {}, c->data};
      if (!c->isDirectory && isIni(c->name)) ch.entries = diffIni("", c->data);
      out.push_back(ch);
      if (c->isDirectory) walkFiles(nullptr, c, p, out);
    }
  }
}

std::string showValue(const RegValue& v) {
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) return "\"" + v.text() + "\"";
  if (v.type == REG_MULTI_SZ) {
    std::string out = "multi:";
    std::string current;
    bool first = true;
    for (BYTE b : v.data) {
      if (b != 0) {
        current += static_cast<char>(b);
        continue;
      }
      if (current.empty()) break;
      out += (first ? "\"" : ", \"") + current + "\"";
      first = false;
      current.clear();
    }
    return out;
  }
  if (v.type == REG_DWORD && v.data.size() == 4) {
    char buf[24];
    DWORD d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<DWORD>(v.data[3]) << 24);
    std::snprintf(buf, sizeof(buf), "dword:%08x", d);
    return buf;
  }
  std::string s = "hex:";
  char buf[4];
  for (std::size_t i = 0; i < v.data.size(); ++i) {
    std::snprintf(buf, sizeof(buf), "%02x", v.data[i]);
    s += (i ? "," : "") + std::string(buf);
  }
  return s;
}

std::string valueName(const RegValue& v) { return v.name.empty() ? "@" : "\"" + v.name + "\""; }

std::vector<const RegKey*> byName(const RegKey* key) {
  std::vector<const RegKey*> out;
  if (key == nullptr) return out;
  for (const auto& s : key->subkeys) out.push_back(s.get());
  std::stable_sort(out.begin(), out.end(), [](const RegKey* a, const RegKey* b) { return iless(a->name, b->name); });
  return out;
}

std::size_t countKeys(const RegKey& k) {
  std::size_t n = 0;
  for (const auto& s : k.subkeys) n += 1 + countKeys(*s);
  return n;
}

void walkKeys(const RegKey* before, const RegKey* after, const std::string& path, std::vector<Change>& out) {
  if (before != nullptr && after != nullptr) {
    for (const auto& v : after->values) {
      const RegValue* old = before->value(v.name);
      if (old == nullptr) {
        out.push_back(Change{"value set", path, valueName(v) + " = " + showValue(v), {}, {}});
      } else if (old->type != v.type || old->data != v.data) {
        out.push_back(
            Change{"value set", path, valueName(v) + " = " + showValue(v) + " (was " + showValue(*old) + ")", {}, {}});
      }
    }
    for (const auto& v : before->values) {
      if (after->value(v.name) == nullptr) {
        out.push_back(Change{"value deleted", path, valueName(v) + " (was " + showValue(v) + ")", {}, {}});
      }
    }
  }
  if (before != nullptr) {
    for (const RegKey* s : byName(before)) {
      const RegKey* other = after != nullptr ? after->subkey(s->name) : nullptr;
      std::string p = path + "\\" + s->name;
      if (other == nullptr) {
        std::size_t below = countKeys(*s);
        out.push_back(Change{"key deleted", p, below > 0 ? "with " + std::to_string(below) + " subkeys" : "", {}, {}});
      } else {
        walkKeys(s, other, p, out);
      }
    }
  }
  if (after != nullptr) {
    for (const RegKey* s : byName(after)) {
      if (before != nullptr && before->subkey(s->name) != nullptr) continue;
      std::string p = path + "\\" + s->name;
      out.push_back(Change{"key added", p, "", {}, {}});
      for (const auto& v : s->values)
        out.push_back(Change{"value set", p, valueName(v) + " = " + showValue(v), {}, {}});
      walkKeys(nullptr, s, p, out);
    }
  }
}

}  // namespace

std::vector<Change> diffFiles(const FileTree& before, const FileTree& after) {
  std::vector<Change> out;
  std::set<char> letters;
  for (char c : before.driveLetters()) letters.insert(c);
  for (char c : after.driveLetters()) letters.insert(c);
  for (char c : letters) walkFiles(before.drive(c), after.drive(c), std::string(1, c) + ":", out);
  return out;
}

std::vector<Change> diffRegistry(const RegistryTree& before, const RegistryTree& after) {
  std::vector<Change> out;
  auto a = before.roots();
  auto b = after.roots();
  for (std::size_t i = 0; i < a.size(); ++i) walkKeys(a[i].second, b[i].second, a[i].first, out);
  return out;
}

}  // namespace tvx::sim
