// A Windows profile (INI) file, read and written the way the Windows profile
// functions treat the settings this system keeps: section and key names match
// ignoring letter case, values come back trimmed of surrounding blanks, a
// missing file, section or key gives the caller's default, and every write
// reaches the file at once while every other line keeps its bytes. Files are
// read as Windows-1252, UTF-8 or UTF-16 and keep their encoding when written;
// a new file is Windows-1252 with CR LF line ends, as Windows writes it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/errors.h"

namespace varnel {

// A key could not be written. The text is "Unable to write to <file name>".
class SettingsWriteError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

class ProfileFile {
 public:
  static constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();

  // The file file_name in directory, looked up ignoring letter case on every
  // call (it may appear or vanish between calls). Errors name it as the
  // system does: ".\" followed by file_name.
  ProfileFile(std::filesystem::path directory, std::string file_name);

  // The value of key in section, trimmed of blanks; default_value when the
  // file, the section or the key is missing or the file cannot be read. The
  // value passes through a buffer of buffer_characters characters, so at most
  // buffer_characters - 1 characters of it are returned. Never throws.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value,
                         std::size_t buffer_characters = kUnlimited) const;

  // Sets key in section to value (stored as given; a line break in it becomes
  // a blank so it cannot start a line of its own), creating the file, the
  // section or the key as needed, and writes the file at once. A read-only or
  // unwritable file raises SettingsWriteError.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // One key and its value, as a section lists them.
  using Entry = std::pair<std::string, std::string>;

  // Every key of section with its value (trimmed, one pair of matching quotes
  // taken off, as ReadString returns it), in the file's order. A key named
  // twice counts once, with its first value, as ReadString finds it; only
  // the first section of that name is read; a line starting with ";" or "#"
  // is a comment, not a key. Missing file or section, or a file that cannot
  // be read: empty. Never throws.
  std::vector<Entry> ReadSection(std::string_view section) const;

  // Makes section hold exactly entries, in their order: the key lines of its
  // first occurrence are replaced (its comments and blank lines stay), and
  // every line outside it keeps its bytes. A missing section is added at the
  // end; nothing is written when it is missing and entries is empty. Values
  // are stored as WriteString stores them. Raises SettingsWriteError like
  // WriteString.
  void ReplaceSection(std::string_view section, const std::vector<Entry>& entries);

  // ".\Varnel.ini" for the file "Varnel.ini".
  std::string DisplayName() const;

 private:
  std::filesystem::path m_directory;
  std::string m_file_name;
};

}  // namespace varnel
