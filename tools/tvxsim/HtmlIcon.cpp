#include "HtmlIcon.h"

#include <cstdint>
#include <vector>

#include "../../src/platform/sim/Simulator.h"

namespace tvx::sim {

namespace {

std::string base64(const std::vector<std::uint8_t>& bytes) {
  static const char* const digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t n = (std::uint32_t{bytes[i]} << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                            (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += digits[(n >> 18) & 63];
    out += digits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? digits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? digits[n & 63] : '=';
  }
  return out;
}

void put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::string iconDataUri(int groupId, WORD language) {
  const auto& resources = programResources();
  const ResEntry* group = findResource(resources, RT_GROUP_ICON_ID, static_cast<WORD>(groupId), language);
  // The group: reserved, type 1, count, then 14 bytes an image (its size and colours as the .ico
  // file has them, then the number of its RT_ICON resource in place of the file offset).
  if (group == nullptr || group->data.size() < 6) return "";
  const auto& g = group->data;
  const unsigned count = g[4] | (g[5] << 8);
  if (g.size() < 6 + 14 * std::size_t{count}) return "";
  std::vector<const ResEntry*> images;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = 6 + 14 * std::size_t{i};
    const WORD id = static_cast<WORD>(g[at + 12] | (g[at + 13] << 8));
    const ResEntry* image = findResource(resources, RT_ICON_ID, id, language);
    if (image == nullptr) return "";
    images.push_back(image);
  }
  std::vector<std::uint8_t> ico;
  put16(ico, 0);
  put16(ico, 1);
  put16(ico, count);
  std::uint32_t offset = 6 + 16 * count;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t at = 6 + 14 * std::size_t{i};
    ico.insert(ico.end(), g.begin() + static_cast<std::ptrdiff_t>(at), g.begin() + static_cast<std::ptrdiff_t>(at + 8));
    put32(ico, static_cast<std::uint32_t>(images[i]->data.size()));
    put32(ico, offset);
    offset += static_cast<std::uint32_t>(images[i]->data.size());
  }
  for (const ResEntry* image : images) ico.insert(ico.end(), image->data.begin(), image->data.end());
  return "data:image/x-icon;base64," + base64(ico);
}

}  // namespace tvx::sim
