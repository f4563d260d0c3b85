// Conversion between the program's UTF-8 text and Windows-1252, the code page
// of the audit file and of the settings files. Towards Windows-1252 a
// character the code page lacks takes Windows' own best-fit replacement, or
// "?" when there is none; invalid UTF-8, the control characters that XML 1.0
// forbids, U+FFFE/U+FFFF and the five code points whose bytes the code page
// leaves undefined all become "?"; and a character above U+007F whose best fit
// would be "&", "<", ">", '"' or "'" is written as the entity, so the
// replacement never creates markup.
#pragma once

#include <string>
#include <string_view>

namespace varnel {

// Appends the Windows-1252 bytes of utf8 to out.
void AppendWindows1252(std::string& out, std::string_view utf8);
std::string ToWindows1252(std::string_view utf8);

// Every byte read as its Windows-1252 character; bytes the code page leaves
// undefined are taken as the C1 control character of the same number.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace varnel
