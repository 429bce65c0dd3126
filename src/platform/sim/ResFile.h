// The compiled resources of a program in the binary form of a .res file (what windres -O res
// writes and what the linker puts into the executable): records of type, name and language.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "../WinTypes.h"
#include "ByteReader.h"

namespace tvx::sim {

struct ResEntry {
  ResId type;
  ResId name;
  WORD language = 0;
  std::vector<std::uint8_t> data;
};

constexpr WORD RT_ICON_ID = 3;
constexpr WORD RT_DIALOG_ID = 5;
constexpr WORD RT_STRING_ID = 6;
constexpr WORD RT_GROUP_ICON_ID = 14;

// Reads every record; throws ResourceError on a truncated or malformed file.
std::vector<ResEntry> parseResFile(const std::uint8_t* bytes, std::size_t size);

// The resource Windows would load for this type, number and user language: the exact language,
// then the primary language with its default sublanguage, then any of the primary language,
// then neutral, then US English, then the first there is.
const ResEntry* findResource(const std::vector<ResEntry>& entries, WORD type, WORD id, WORD language);

// String `id` of the string tables, as LoadString finds it; nullopt when it is missing or empty.
std::optional<std::u16string> findString(const std::vector<ResEntry>& entries, UINT id, WORD language);

std::string utf16ToUtf8(const std::u16string& text);

}  // namespace tvx::sim
