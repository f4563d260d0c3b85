// UTF-8, the program's text encoding: decoding one character with full
// validation (no overlong forms, no surrogates, nothing beyond U+10FFFF) and
// encoding a code point. The one place where UTF-8 is taken apart.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

// Decodes the character starting at text[pos]: returns its byte length (1 to
// 4) and sets code_point, or returns 0 when the bytes there are not one
// well-formed character.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& code_point);

// Appends the UTF-8 form of code_point (U+FFFD for a surrogate or a value
// beyond U+10FFFF).
void AppendUtf8(std::string& out, char32_t code_point);

bool IsValidUtf8(std::string_view text);

}  // namespace varnel
