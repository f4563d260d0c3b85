// The small value routines through which every variable value passes before
// it stands between tags: blank defaults, postal code parts, the taxpayer
// number check, cuts with XML escaping, and the integer reading they share.
// Texts are UTF-8; every cut counts characters (code points), never bytes,
// and never splits a character. None of these routines fails: every input has
// a result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnel {

// s without the blanks (every character with a code of 32 or less) at both ends.
std::string TrimBlanks(std::string_view s);

// s trimmed of blanks when something is left; otherwise d unchanged.
std::string OrDefault(std::string_view s, std::string_view d);

// The integer reading of the point-of-sale product: leading spaces, an
// optional sign, then decimal digits or a hexadecimal number introduced by
// "$", "x", "X", "0x" or "0X"; the whole text must be consumed and the value
// must fit a signed 32-bit integer.
std::optional<std::int32_t> ReadInteger(std::string_view s);

// s unchanged when it has exactly 4 (3) characters and reads as an integer
// other than -1; otherwise "0000" ("000").
std::string PostalCode4(std::string_view s);
std::string PostalCode3(std::string_view s);

// A valid Portuguese taxpayer number (NIF), check digit tested where it
// applies.
bool IsValidNif(std::string_view s);

// Number of characters (code points) of s; an invalid byte counts as one.
std::size_t CharacterCount(std::string_view s);
// The first n characters of s (all of s when shorter).
std::string CharacterPrefix(std::string_view s, std::size_t n);

// Every "&", "<", ">", '"' and "'" replaced by its entity; nothing else changes.
std::string XmlEscape(std::string_view s);

// The first n characters of s, then escaped for XML.
std::string XmlText(std::string_view s, std::size_t n);

// s with every blank (U+0020) removed, wherever it stands.
std::string RemoveSpaces(std::string_view s);

// Plain decimal text of an integer: no leading zeros, "-" before negatives.
std::string IntText(std::int64_t value);

// A count with its noun in the right number: "1 erro", "2 erros", "0 erros".
std::string CountText(std::int64_t count, std::string_view one, std::string_view many);

// Appends a full stop when the last character comes after "." in character
// code, as the error boxes do: "Falhou" -> "Falhou.", "Falhou!" unchanged.
std::string WithFullStop(std::string_view message);

}  // namespace varnel
