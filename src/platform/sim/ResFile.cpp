#include "ResFile.h"

#include "ByteReader.h"

namespace tvx::sim {

namespace {

WORD primaryLanguage(WORD language) { return language & 0x3FF; }

}  // namespace

std::vector<ResEntry> parseResFile(const std::uint8_t* bytes, std::size_t size) {
  std::vector<ResEntry> entries;
  ByteReader r(bytes, size, "resource file");
  while (!r.atEnd()) {
    r.alignTo4();
    if (r.atEnd()) break;
    const std::size_t start = r.pos();
    const DWORD dataSize = r.dword();
    const DWORD headerSize = r.dword();
    if (headerSize < 24) throw ResourceError("resource header too small at byte " + std::to_string(start));
    ResEntry e;
    e.type = r.id();
    e.name = r.id();
    r.alignTo4();
    r.dword();  // data version
    r.word();   // memory flags
    e.language = r.word();
    r.seek(start + headerSize);
    r.need(dataSize);
    e.data.assign(r.at(), r.at() + dataSize);
    r.skip(dataSize);
    // The first record of a .res file is an empty marker of type 0.
    if (!(e.type.is(0) && dataSize == 0)) entries.push_back(std::move(e));
  }
  return entries;
}

const ResEntry* findResource(const std::vector<ResEntry>& entries, WORD type, WORD id, WORD language) {
  std::vector<const ResEntry*> candidates;
  for (const auto& e : entries) {
    if (e.type.is(type) && e.name.is(id)) candidates.push_back(&e);
  }
  if (candidates.empty()) return nullptr;
  auto find = [&](auto matches) -> const ResEntry* {
    for (const ResEntry* e : candidates) {
      if (matches(e->language)) return e;
    }
    return nullptr;
  };
  const WORD primary = primaryLanguage(language);
  const WORD tries[] = {language, static_cast<WORD>(primary | 0x400)};
  for (WORD wanted : tries) {
    if (const ResEntry* e = find([&](WORD l) { return l == wanted; })) return e;
  }
  if (const ResEntry* e = find([&](WORD l) { return primaryLanguage(l) == primary; })) return e;
  if (const ResEntry* e = find([](WORD l) { return l == 0; })) return e;
  if (const ResEntry* e = find([](WORD l) { return l == 0x409; })) return e;
  return candidates.front();
}

std::optional<std::u16string> findString(const std::vector<ResEntry>& entries, UINT id, WORD language) {
  // Strings come in blocks of sixteen: block (id / 16) + 1 holds the string at index id % 16,
  // each stored as a length and that many UTF-16 units.
  const ResEntry* block = findResource(entries, RT_STRING_ID, static_cast<WORD>(id / 16 + 1), language);
  if (block == nullptr) return std::nullopt;
  ByteReader r(block->data.data(), block->data.size(), "string table");
  for (UINT i = 0; i < id % 16; ++i) r.skip(std::size_t{r.word()} * 2);
  const WORD length = r.word();
  if (length == 0) return std::nullopt;
  std::u16string text;
  for (WORD i = 0; i < length; ++i) text += static_cast<char16_t>(r.word());
  return text;
}

std::string utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace tvx::sim
