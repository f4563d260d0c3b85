// Fuzzes the Windows-1252 conversion of the audit file and the XML escaping
// that precedes it. Invariants:
// - the conversion works character by character: the whole equals the
//   concatenation of each character converted alone;
// - no byte below 0x20 other than tab, CR and LF, and none of the five
//   bytes the code page leaves undefined, ever comes out;
// - an ASCII character comes out as itself (a forbidden control as "?"), an
//   invalid byte as one "?", a character of the code page as its byte, and
//   any other character as one byte or one of the five entities, so every
//   "&" or "<" written stems from the same ASCII character or starts an
//   entity;
// - bytes read as Windows-1252 give valid UTF-8 and convert back to the same
//   bytes (those that cannot stand in the file become "?");
// - escaped text has no "<", ">", quote or apostrophe left, every "&" starts
//   an entity, and unescaping gives the text back; converted, it still does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "base/value_routines.h"
#include "base/windows1252.h"
#include "fuzz_check.h"

namespace {

using varnel::fuzz::Require;

bool IsForbiddenControl(unsigned char byte) { return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r'; }
bool IsUndefined(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

bool IsEntity(std::string_view text) {
  return text == "&amp;" || text == "&lt;" || text == "&gt;" || text == "&quot;" || text == "&apos;";
}

// Whether text[at] is "&" starting one of the five entities.
bool StartsEntity(std::string_view text, std::size_t at) {
  for (std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
    if (text.substr(at, entity.size()) == entity) return true;
  }
  return false;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, character] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                            {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}) {
      if (text.substr(i, entity.size()) == entity) {
        out += character;
        i += entity.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

// The code point each byte of the code page stands for (0 for undefined).
struct CodePage {
  char32_t of_byte[256] = {};
  CodePage() {
    for (int byte = 0x80; byte < 0x100; ++byte) {
      if (IsUndefined(static_cast<unsigned char>(byte))) continue;
      const std::string utf8 = varnel::Windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
      char32_t code_point = 0;
      varnel::DecodeUtf8(utf8, 0, code_point);
      of_byte[byte] = code_point;
    }
  }
  int ByteOf(char32_t code_point) const {
    for (int byte = 0x80; byte < 0x100; ++byte) {
      if (of_byte[byte] == code_point && code_point != 0) return byte;
    }
    return -1;
  }
};

// The byte of the code page for code_point, or -1.
int CodePageByte(char32_t code_point) {
  static const CodePage code_page;
  return code_page.ByteOf(code_point);
}

void CheckConversion(std::string_view input) {
  const std::string whole = varnel::ToWindows1252(input);
  for (const char c : whole) {
    const auto byte = static_cast<unsigned char>(c);
    Require(!IsForbiddenControl(byte), "no forbidden control byte");
    Require(!IsUndefined(byte), "no byte the code page leaves undefined");
  }
  std::string pieces;
  for (std::size_t pos = 0; pos < input.size();) {
    char32_t code_point = 0;
    const std::size_t length = varnel::DecodeUtf8(input, pos, code_point);
    const std::string_view character = input.substr(pos, length == 0 ? 1 : length);
    const std::string converted = varnel::ToWindows1252(character);
    pieces += converted;
    pos += character.size();
    if (length == 0) {
      Require(converted == "?", "an invalid byte becomes one \"?\"");
    } else if (code_point < 0x80) {
      const auto byte = static_cast<unsigned char>(code_point);
      Require(converted == (IsForbiddenControl(byte) ? std::string("?") : std::string(character)),
              "ASCII passes unchanged, a forbidden control becomes \"?\"");
    } else if (const int byte = CodePageByte(code_point); byte >= 0) {
      Require(converted == std::string(1, static_cast<char>(byte)), "a character of the code page keeps its byte");
    } else {
      Require(converted.size() == 1 ? converted.find_first_of("&<>\"'") == std::string::npos : IsEntity(converted),
              "another character becomes one byte that is not markup, or an entity");
    }
  }
  Require(pieces == whole, "the conversion works character by character");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = varnel::fuzz::AsText(data, size);
  CheckConversion(input);

  // Bytes read as the code page and written back.
  const std::string utf8 = varnel::Windows1252ToUtf8(input);
  Require(varnel::IsValidUtf8(utf8), "bytes read as Windows-1252 give valid UTF-8");
  const std::string back = varnel::ToWindows1252(utf8);
  Require(back.size() == input.size(), "one byte back for every byte");
  for (std::size_t i = 0; i < input.size(); ++i) {
    const auto byte = static_cast<unsigned char>(input[i]);
    const char expected = IsForbiddenControl(byte) || IsUndefined(byte) ? '?' : input[i];
    Require(back[i] == expected, "Windows-1252 bytes convert back to themselves");
  }

  // Escaping, then converting.
  const std::string escaped = varnel::XmlEscape(input);
  Require(escaped.find_first_of("<>\"'") == std::string::npos, "no markup character left after escaping");
  for (std::size_t i = escaped.find('&'); i != std::string::npos; i = escaped.find('&', i + 1)) {
    Require(StartsEntity(escaped, i), "every \"&\" of escaped text starts an entity");
  }
  Require(Unescape(escaped) == input, "unescaping gives the text back");
  const std::string written = varnel::ToWindows1252(escaped);
  Require(written.find('<') == std::string::npos, "escaped and converted text holds no \"<\"");
  for (std::size_t i = written.find('&'); i != std::string::npos; i = written.find('&', i + 1)) {
    Require(StartsEntity(written, i), "every \"&\" of the written text starts an entity");
  }
  return 0;
}
