// The code page tables behind the Windows-1252 conversion, generated from
// Microsoft's best-fit table: byte to Unicode (the code page itself) and
// Unicode to byte for every code point above U+007F that has a mapping, round
// trip or best fit, sorted by code point. ASCII maps to itself.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varnel::windows1252 {

struct UnicodeToByte {
  char32_t code_point;
  std::uint8_t byte;
};

extern const char32_t kByteToUnicode[256];
extern const UnicodeToByte kUnicodeToByte[];
extern const std::size_t kUnicodeToByteCount;

}  // namespace varnel::windows1252
