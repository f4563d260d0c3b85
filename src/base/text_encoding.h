// The program's text is UTF-8; this module is where it meets the other forms
// text arrives in: UTF-16 (ODBC's wide functions, the Windows API, data link
// and settings files saved as Unicode) and the bytes of a text file, told
// apart by their byte-order mark. Every function accepts any input: an
// unpaired surrogate or a byte that is not part of a UTF-8 character becomes
// U+FFFD, so a damaged value is shown damaged rather than ending the export.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace varnel {

std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);

// The forms a text file is saved in. Windows-1252 and plain UTF-8 carry no
// mark; the others start with theirs.
enum class TextFileForm { Windows1252, Utf8, Utf8WithMark, Utf16LittleEndian, Utf16BigEndian };

// The form the byte-order mark at the start of bytes names (UTF-8, UTF-16 in
// either byte order), or none without a mark.
std::optional<TextFileForm> MarkedTextFileForm(std::string_view bytes);

// The form of a file's bytes: the byte-order mark decides (UTF-16 in either
// byte order, UTF-8); without one, UTF-8 when the bytes are valid UTF-8 and
// hold a character beyond ASCII, else Windows-1252 (as Windows reads a file
// without a mark; ASCII reads the same either way).
TextFileForm DetectTextFileForm(std::string_view bytes);

// The bytes of a file in form as UTF-8 text, without the form's mark when
// they start with it. UTF-16 is read in pairs of bytes; a last odd byte is
// dropped.
std::string TextFileToUtf8(std::string_view bytes, TextFileForm form);

// TextFileToUtf8 in the form DetectTextFileForm finds.
std::string DecodeTextFile(std::string_view bytes);

// UTF-8 text as the bytes of a file in form, its mark first. Towards
// Windows-1252 a character the code page lacks takes its best fit (or "?"),
// written as the character even where it is "&" or "<": a text file is not
// markup.
std::string Utf8ToTextFile(std::string_view utf8, TextFileForm form);

}  // namespace varnel
