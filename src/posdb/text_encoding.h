// Conversion between the program's UTF-8 text and the UTF-16 of ODBC's wide
// functions and of the data link file. Both directions accept any input: an
// unpaired surrogate or an invalid UTF-8 byte becomes U+FFFD, so a damaged
// value is shown damaged rather than ending the export.
#pragma once

#include <string>
#include <string_view>

namespace varnel {

std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace varnel
