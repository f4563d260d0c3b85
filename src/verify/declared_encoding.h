// What the start of an audit file says of its encoding: its byte order mark
// and the encoding its XML declaration names, read from the first bytes
// themselves (so a file whose later bytes break the parse is still known by
// its declaration), and how the verifier then reads its bytes: the
// declared encoding; without a declaration UTF-16 by its mark, else UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "verify/file_bytes.h"

namespace varnel::verify {

struct DeclaredEncoding {
  ByteEncoding bytes = ByteEncoding::Utf8;
  std::string label;            // as the file names it, or what XML takes without a name
  std::string declared;         // the declaration's name, "" without one
  std::string byte_order_mark;  // "UTF-8", "UTF-16LE", "UTF-16BE" or ""

  // Whether the mark and the declaration disagree.
  bool MarkContradicts() const;
};

// From the file's first bytes (a few hundred are enough).
DeclaredEncoding ReadDeclaredEncoding(const unsigned char* head, std::size_t size);

}  // namespace varnel::verify
