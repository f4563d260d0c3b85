// Reading the byte order mark and the XML declaration's encoding name. The
// declaration is ASCII in every encoding libxml2 reads here; in UTF-16 its
// letters are every other byte.
#include "verify/declared_encoding.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/text_encoding.h"

namespace varnel::verify {

namespace {

// The mark's name, as the verifier's messages give it.
std::string ByteOrderMark(const unsigned char* head, std::size_t size) {
  const std::optional<TextFileForm> marked =
      MarkedTextFileForm(std::string_view(reinterpret_cast<const char*>(head), size));
  if (!marked) return "";
  switch (*marked) {
    case TextFileForm::Utf16LittleEndian:
      return "UTF-16LE";
    case TextFileForm::Utf16BigEndian:
      return "UTF-16BE";
    default:
      return "UTF-8";
  }
}

// The XML declaration as ASCII text, or "" when the file does not start
// with one.
std::string DeclarationText(const unsigned char* head, std::size_t size, std::string_view mark) {
  std::size_t start = mark == "UTF-8" ? 3 : mark.empty() ? 0 : 2;
  std::size_t step = 1;
  if (mark.starts_with("UTF-16")) {
    step = 2;
    if (mark == "UTF-16BE") ++start;
  }
  std::string text;
  for (std::size_t i = start; i < size; i += step) {
    text += static_cast<char>(head[i]);
    if (text.ends_with("?>")) break;
  }
  return text.starts_with("<?xml") && text.ends_with("?>") ? text : std::string();
}

// The value of `encoding="..."` (or '...') in a declaration.
std::string EncodingName(std::string_view declaration) {
  const std::size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return "";
  std::size_t i = at + 8;
  while (i < declaration.size() && (declaration[i] == ' ' || declaration[i] == '=')) ++i;
  if (i >= declaration.size() || (declaration[i] != '"' && declaration[i] != '\'')) return "";
  const std::size_t end = declaration.find(declaration[i], i + 1);
  return end == std::string_view::npos ? "" : std::string(declaration.substr(i + 1, end - i - 1));
}

ByteEncoding BytesOf(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (lower == "windows-1252" || lower == "cp1252" || lower == "x-cp1252") return ByteEncoding::Windows1252;
  if (lower == "iso-8859-1" || lower == "iso_8859-1" || lower == "latin1" || lower == "latin-1" || lower == "l1") {
    return ByteEncoding::Latin1;
  }
  if (lower == "iso-8859-15" || lower == "iso_8859-15" || lower == "latin9" || lower == "latin-9") {
    return ByteEncoding::Latin9;
  }
  if (lower.starts_with("utf-16") || lower.starts_with("utf-32") || lower.starts_with("ucs")) return ByteEncoding::Wide;
  return ByteEncoding::Utf8;
}

}  // namespace

bool DeclaredEncoding::MarkContradicts() const {
  if (byte_order_mark.empty()) return false;
  if (byte_order_mark == "UTF-8") return bytes != ByteEncoding::Utf8;
  return bytes != ByteEncoding::Wide;
}

DeclaredEncoding ReadDeclaredEncoding(const unsigned char* head, std::size_t size) {
  DeclaredEncoding encoding;
  encoding.byte_order_mark = ByteOrderMark(head, size);
  encoding.declared = EncodingName(DeclarationText(head, size, encoding.byte_order_mark));
  if (!encoding.declared.empty()) {
    encoding.bytes = BytesOf(encoding.declared);
    encoding.label = encoding.declared;
  } else if (encoding.byte_order_mark.starts_with("UTF-16")) {
    encoding.bytes = ByteEncoding::Wide;
    encoding.label = encoding.byte_order_mark;
  } else {
    encoding.label = "UTF-8";
  }
  return encoding;
}

}  // namespace varnel::verify
