// UTF-16 <-> UTF-8 and the text file forms: the only place where wide text
// changes form. UTF-8 is taken apart and put together by base/utf8.h,
// Windows-1252 by base/windows1252.h; this file adds the surrogate pairs,
// the byte orders and the marks.
#include "base/text_encoding.h"

#include <algorithm>

#include "base/utf8.h"
#include "base/windows1252.h"

namespace varnel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string_view MarkOf(TextFileForm form) {
  switch (form) {
    case TextFileForm::Utf8:
    case TextFileForm::Utf8WithMark:
      return kUtf8Mark;
    case TextFileForm::Utf16LittleEndian:
      return kUtf16LittleEndianMark;
    case TextFileForm::Utf16BigEndian:
      return kUtf16BigEndianMark;
    case TextFileForm::Windows1252:
      break;
  }
  return {};
}

bool IsUtf16(TextFileForm form) {
  return form == TextFileForm::Utf16LittleEndian || form == TextFileForm::Utf16BigEndian;
}

std::u16string Utf16Units(std::string_view bytes, bool little_endian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units.push_back(static_cast<char16_t>(little_endian ? first | (second << 8) : (first << 8) | second));
  }
  return units;
}

std::string Utf16Bytes(std::u16string_view units, bool little_endian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    bytes.push_back(little_endian ? low : high);
    bytes.push_back(little_endian ? high : low);
  }
  return bytes;
}

// Windows-1252 for a plain text file. The shared conversion writes a best
// fit of "&", "<", ">", '"' or "'" as an XML entity, which means nothing
// outside markup, so each character beyond ASCII is converted on its own and
// such an entity taken back to its character (Windows writes the character).
std::string PlainTextToWindows1252(std::string_view utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    }
    char32_t ignored = 0;
    const std::size_t length = std::max<std::size_t>(DecodeUtf8(utf8, i, ignored), 1);
    const std::string converted = ToWindows1252(utf8.substr(i, length));
    i += length;
    if (converted == "&amp;") {
      out += '&';
    } else if (converted == "&lt;") {
      out += '<';
    } else if (converted == "&gt;") {
      out += '>';
    } else if (converted == "&quot;") {
      out += '"';
    } else if (converted == "&apos;") {
      out += '\'';
    } else {
      out += converted;
    }
  }
  return out;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      const char32_t low = utf16[++i];
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t code = kReplacement;
    const std::size_t length = DecodeUtf8(utf8, i, code);
    if (length == 0) code = kReplacement;
    i += length == 0 ? 1 : length;
    if (code >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(code));
    }
  }
  return out;
}

std::optional<TextFileForm> MarkedTextFileForm(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LittleEndianMark)) return TextFileForm::Utf16LittleEndian;
  if (bytes.starts_with(kUtf16BigEndianMark)) return TextFileForm::Utf16BigEndian;
  if (bytes.starts_with(kUtf8Mark)) return TextFileForm::Utf8WithMark;
  return std::nullopt;
}

TextFileForm DetectTextFileForm(std::string_view bytes) {
  if (const std::optional<TextFileForm> marked = MarkedTextFileForm(bytes)) return *marked;
  const bool beyond_ascii =
      std::any_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
  return beyond_ascii && IsValidUtf8(bytes) ? TextFileForm::Utf8 : TextFileForm::Windows1252;
}

std::string TextFileToUtf8(std::string_view bytes, TextFileForm form) {
  if (form == TextFileForm::Windows1252) return Windows1252ToUtf8(bytes);
  if (bytes.starts_with(MarkOf(form))) bytes.remove_prefix(MarkOf(form).size());
  if (IsUtf16(form)) return Utf16ToUtf8(Utf16Units(bytes, form == TextFileForm::Utf16LittleEndian));
  return std::string(bytes);
}

std::string DecodeTextFile(std::string_view bytes) { return TextFileToUtf8(bytes, DetectTextFileForm(bytes)); }

std::string Utf8ToTextFile(std::string_view utf8, TextFileForm form) {
  switch (form) {
    case TextFileForm::Windows1252:
      return PlainTextToWindows1252(utf8);
    case TextFileForm::Utf8:
      return std::string(utf8);
    case TextFileForm::Utf8WithMark:
      return std::string(kUtf8Mark) + std::string(utf8);
    case TextFileForm::Utf16LittleEndian:
    case TextFileForm::Utf16BigEndian:
      break;
  }
  const bool little_endian = form == TextFileForm::Utf16LittleEndian;
  return std::string(MarkOf(form)) + Utf16Bytes(Utf8ToUtf16(utf8), little_endian);
}

}  // namespace varnel
