// Reads the little-endian binary resources of a program: words, double words, the ordinal-or-text
// fields of resource headers and dialog templates (ResId), and DWORD alignment. Data that ends too
// soon or is malformed throws ResourceError.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "../WinTypes.h"

namespace tvx::sim {

// A resource file or template that is truncated or malformed.
class ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A resource type or name: a number (ordinal) or a text.
struct ResId {
  bool isOrdinal = true;
  WORD ordinal = 0;
  std::u16string name;
  bool is(WORD number) const { return isOrdinal && ordinal == number; }
};

class ByteReader {
 public:
  // `what` names the data in the messages of ResourceError ("resource file", "dialog template").
  ByteReader(const std::uint8_t* bytes, std::size_t size, const char* what) : bytes_(bytes), size_(size), what_(what) {}

  WORD word() {
    need(2);
    const WORD w = static_cast<WORD>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return w;
  }
  DWORD dword() {
    const DWORD low = word();
    return low | (static_cast<DWORD>(word()) << 16);
  }
  std::uint8_t byte() {
    need(1);
    return bytes_[pos_++];
  }
  // A zero-terminated UTF-16 text.
  std::u16string text() {
    std::u16string s;
    for (WORD c = word(); c != 0; c = word()) s += static_cast<char16_t>(c);
    return s;
  }
  // A type, name, menu, class or title field: 0xFFFF then a number, or a text (empty: just 0).
  ResId id() {
    ResId r;
    const WORD first = word();
    if (first == 0xFFFF) {
      r.ordinal = word();
      return r;
    }
    r.isOrdinal = false;
    for (WORD c = first; c != 0; c = word()) r.name += static_cast<char16_t>(c);
    return r;
  }
  void alignTo4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  void skip(std::size_t n) {
    need(n);
    pos_ += n;
  }
  std::size_t pos() const { return pos_; }
  void seek(std::size_t pos) { pos_ = pos; }
  bool atEnd() const { return pos_ >= size_; }
  const std::uint8_t* at() const { return bytes_ + pos_; }
  void need(std::size_t n) const {
    if (pos_ + n > size_) throw ResourceError(std::string(what_) + " truncated at byte " + std::to_string(pos_));
  }

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  const char* what_;
  std::size_t pos_ = 0;
};

}  // namespace tvx::sim
