#include "RegFile.h"

#include <cstdio>
#include <vector>

#include "Text.h"

namespace tvx::sim {

namespace {

std::string narrowFromUtf16(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned code = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    out += code < 0x100 ? static_cast<char>(code) : '?';
  }
  return out;
}

struct Line {
  std::string text;
  int number;
};

// Splits into logical lines, joining the continuation lines of long hex values.
std::vector<Line> logicalLines(const std::string& text) {
  std::vector<Line> lines;
  int number = 0;
  std::string pending;
  int pendingStart = 0;
  for (const std::string& rawLine : split(text, '\n')) {
    ++number;
    std::string raw = rawLine;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string t = pending.empty() ? raw : trim(raw);
    if (pending.empty()) pendingStart = number;
    if (!t.empty() && t.back() == '\\' && (!pending.empty() || t.find("=hex") != std::string::npos)) {
      pending += t.substr(0, t.size() - 1);
      continue;
    }
    lines.push_back(Line{pending + t, pendingStart});
    pending.clear();
  }
  if (!pending.empty()) lines.push_back(Line{pending, pendingStart});
  return lines;
}

[[noreturn]] void fail(const std::string& file, int line, const std::string& message) {
  throw MachineError(file + " line " + std::to_string(line) + ": " + message);
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the closing quote.
std::string readQuoted(const std::string& text, std::size_t& pos, const std::string& file, int line) {
  std::string out;
  for (++pos; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c == '\\' && pos + 1 < text.size()) {
      out += text[++pos];
    } else if (c == '"') {
      ++pos;
      return out;
    } else {
      out += c;
    }
  }
  fail(file, line, "missing closing quote");
}

std::vector<BYTE> readHex(const std::string& text, const std::string& file, int line) {
  std::vector<BYTE> bytes;
  for (const std::string& part : split(text, ',')) {
    std::string t = trim(part);
    if (t.empty()) continue;
    if (t.size() > 2 || t.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      fail(file, line, "bad hex byte \"" + t + "\"");
    }
    bytes.push_back(static_cast<BYTE>(std::stoul(t, nullptr, 16)));
  }
  return bytes;
}

// REG_EXPAND_SZ and REG_MULTI_SZ are UTF-16 in version 5 files; the program sees ANSI.
std::vector<BYTE> narrowBytes(const std::vector<BYTE>& wide) {
  std::vector<BYTE> out;
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) out.push_back(wide[i + 1] == 0 ? wide[i] : '?');
  return out;
}

std::string escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

std::string hexList(const std::vector<BYTE>& data) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(buf, sizeof(buf), "%02x", data[i]);
    out += (i > 0 ? "," : "") + std::string(buf);
  }
  return out;
}

void writeKey(const RegKey& key, const std::string& prefix, std::string& out) {
  std::string name = prefix + (key.parent == nullptr ? "" : "\\" + key.name);
  if (key.parent != nullptr) {
    out += "[" + name + "]\r\n";
    for (const auto& v : key.values) {
      out += v.name.empty() ? "@" : "\"" + escape(v.name) + "\"";
      out += "=";
      const std::string text = v.text();
      const bool plainString =
          v.type == REG_SZ && !v.data.empty() && v.data.back() == 0 && text.size() + 1 == v.data.size();
      if (plainString) {
        out += "\"" + escape(text) + "\"";
      } else if (v.type == REG_DWORD && v.data.size() == 4) {
        char buf[16];
        DWORD d = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (static_cast<DWORD>(v.data[3]) << 24);
        std::snprintf(buf, sizeof(buf), "dword:%08x", d);
        out += buf;
      } else if (v.type == REG_BINARY) {
        out += "hex:" + hexList(v.data);
      } else {
        char buf[16];
        std::snprintf(buf, sizeof(buf), "hex(%x):", v.type);
        out += buf + hexList(v.data);
      }
      out += "\r\n";
    }
    out += "\r\n";
  }
  for (const auto& sub : key.subkeys) writeKey(*sub, name, out);
}

}  // namespace

void importRegFile(RegistryTree& tree, const std::string& content, const std::string& fileName) {
  std::string text = content;
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE) {
    text = narrowFromUtf16(text);
  } else if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    text = text.substr(3);
  }
  auto lines = logicalLines(text);
  std::size_t i = 0;
  while (i < lines.size() && trim(lines[i].text).empty()) ++i;
  if (i == lines.size()) fail(fileName, 1, "empty file, expected REGEDIT4");
  const std::string header = trim(lines[i].text);
  const bool version5 = header == "Windows Registry Editor Version 5.00";
  if (header != "REGEDIT4" && !version5) {
    fail(fileName, lines[i].number, "expected REGEDIT4 or Windows Registry Editor Version 5.00");
  }
  RegKey* current = nullptr;
  for (++i; i < lines.size(); ++i) {
    const std::string t = trim(lines[i].text);
    const int n = lines[i].number;
    if (t.empty() || t[0] == ';') continue;
    if (t[0] == '[') {
      if (t.back() != ']') fail(fileName, n, "key line without closing ]");
      std::string path = t.substr(1, t.size() - 2);
      const bool remove = !path.empty() && path[0] == '-';
      if (remove) path = path.substr(1);
      auto slash = path.find('\\');
      RegKey* root = tree.rootByName(path.substr(0, slash));
      if (root == nullptr) fail(fileName, n, "unknown root key \"" + path.substr(0, slash) + "\"");
      std::string below = slash == std::string::npos ? "" : path.substr(slash + 1);
      if (remove) {
        tree.remove(tree.find(root, below));
        current = nullptr;
      } else {
        current = &tree.create(root, below);
      }
      continue;
    }
    if (current == nullptr) fail(fileName, n, "value outside a key");
    std::string name;
    std::size_t pos = 0;
    if (t[0] == '@') {
      pos = 1;
    } else if (t[0] == '"') {
      name = readQuoted(t, pos, fileName, n);
    } else {
      fail(fileName, n, "expected a quoted value name or @");
    }
    while (pos < t.size() && t[pos] == ' ') ++pos;
    if (pos >= t.size() || t[pos] != '=') fail(fileName, n, "expected = after the value name");
    std::string data = trim(t.substr(pos + 1));
    if (data == "-") {
      current->removeValue(name);
    } else if (!data.empty() && data[0] == '"') {
      std::size_t p = 0;
      current->setValue(RegValue::string(name, readQuoted(data, p, fileName, n)));
    } else if (data.rfind("dword:", 0) == 0) {
      std::string digits = data.substr(6);
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        fail(fileName, n, "bad dword \"" + digits + "\"");
      }
      current->setValue(RegValue::dword(name, static_cast<DWORD>(std::stoul(digits, nullptr, 16))));
    } else if (data.rfind("hex", 0) == 0) {
      DWORD type = REG_BINARY;
      std::size_t colon = data.find(':');
      if (colon == std::string::npos) fail(fileName, n, "hex value without ':'");
      if (data[3] == '(') {
        auto close = data.find(')');
        const std::string typeDigits = close == std::string::npos ? "" : data.substr(4, close - 4);
        if (close > colon || typeDigits.empty() || typeDigits.size() > 8 ||
            typeDigits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
          fail(fileName, n, "bad hex type");
        }
        type = static_cast<DWORD>(std::stoul(typeDigits, nullptr, 16));
      }
      RegValue v;
      v.name = name;
      v.type = type;
      v.data = readHex(data.substr(colon + 1), fileName, n);
      if (version5 && (type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) v.data = narrowBytes(v.data);
      current->setValue(std::move(v));
    } else {
      fail(fileName, n, "unknown value data \"" + data + "\"");
    }
  }
}

std::string exportRegFile(const RegistryTree& tree) {
  std::string out = "REGEDIT4\r\n\r\n";
  for (const auto& [name, root] : tree.roots()) writeKey(*root, name, out);
  return out;
}

}  // namespace tvx::sim
