// UTF-8 <-> Windows-1252. The audit file's text passes through
// AppendWindows1252 line by line, so its ASCII path is a tight loop and only
// other characters look up the best-fit table (binary search over the 570
// mappings above U+007F).
#include "base/windows1252.h"

#include <algorithm>

#include "base/utf8.h"
#include "base/windows1252_table.h"

namespace varnel {

namespace {

constexpr char kUnmappable = '?';

bool IsForbiddenControl(unsigned char byte) {
  return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
}

// Code points whose table bytes Windows-1252 leaves undefined: an XML reader
// decoding the declared encoding would reject them.
bool IsUndefinedInCodePage(char32_t code_point) {
  return code_point == 0x81 || code_point == 0x8D || code_point == 0x8F || code_point == 0x90 ||
         code_point == 0x9D;
}

void AppendMapped(std::string& out, char32_t code_point) {
  if (code_point == 0xFFFE || code_point == 0xFFFF || IsUndefinedInCodePage(code_point)) {
    out.push_back(kUnmappable);
    return;
  }
  const auto* begin = windows1252::kUnicodeToByte;
  const auto* end = begin + windows1252::kUnicodeToByteCount;
  const auto* found = std::lower_bound(
      begin, end, code_point,
      [](const windows1252::UnicodeToByte& entry, char32_t value) { return entry.code_point < value; });
  if (found == end || found->code_point != code_point) {
    out.push_back(kUnmappable);
    return;
  }
  // A best fit that lands on markup is written as the entity, so the
  // replacement can never open a tag or an entity of its own.
  switch (found->byte) {
    case '&': out += "&amp;"; return;
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    case '"': out += "&quot;"; return;
    case '\'': out += "&apos;"; return;
    default: break;
  }
  out.push_back(IsForbiddenControl(found->byte) ? kUnmappable : static_cast<char>(found->byte));
}

}  // namespace

void AppendWindows1252(std::string& out, std::string_view utf8) {
  std::size_t pos = 0;
  const std::size_t size = utf8.size();
  while (pos < size) {
    // Most of a line is printable ASCII: copy such a run in one go.
    std::size_t run = pos;
    while (run < size) {
      const auto c = static_cast<unsigned char>(utf8[run]);
      if (c >= 0x80 || (c < 0x20 && c != '\t' && c != '\n' && c != '\r')) break;
      ++run;
    }
    if (run > pos) {
      out.append(utf8.data() + pos, run - pos);
      pos = run;
      continue;
    }
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      out.push_back(kUnmappable);  // a control character XML forbids
      ++pos;
      continue;
    }
    char32_t code_point = 0;
    const std::size_t length = DecodeUtf8(utf8, pos, code_point);
    if (length == 0) {
      out.push_back(kUnmappable);  // one "?" per byte of invalid UTF-8
      ++pos;
      continue;
    }
    AppendMapped(out, code_point);
    pos += length;
  }
}

std::string ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  AppendWindows1252(out, utf8);
  return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) AppendUtf8(out, windows1252::kByteToUnicode[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace varnel
