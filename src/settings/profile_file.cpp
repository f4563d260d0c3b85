// The profile (INI) file layer. A file is held as its lines, each with the
// bytes it has in the file and its text in UTF-8; a write changes or adds one
// line and puts every other line back byte for byte. The whole file is written
// to a temporary file beside it and renamed over it, so a failed write (a full
// disk) leaves the old file whole. A file without any owner write permission
// counts as read-only, as the read-only attribute does on Windows, for every
// user including the administrator.
#include "settings/profile_file.h"

#include "base/ascii_text.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

#include "base/file_names.h"
#include "base/text_encoding.h"
#include "base/value_routines.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

struct Line {
  std::string raw;   // bytes as in the file, line end included (UTF-8 for UTF-16 files)
  std::string text;  // UTF-8, without the line end
};

struct ProfileText {
  TextFileForm encoding = TextFileForm::Windows1252;
  std::vector<Line> lines;
};

// A Windows-1252 file keeps each line's bytes as they are; a Unicode one is
// held as UTF-8 lines and takes its form again when written.
std::string TextOfRaw(std::string_view raw_without_end, TextFileForm encoding) {
  return encoding == TextFileForm::Windows1252 ? TextFileToUtf8(raw_without_end, encoding)
                                               : std::string(raw_without_end);
}

std::string RawOfText(std::string_view text, TextFileForm encoding) {
  return encoding == TextFileForm::Windows1252 ? Utf8ToTextFile(text, encoding) : std::string(text);
}

ProfileText Parse(std::string_view bytes) {
  ProfileText profile;
  profile.encoding = DetectTextFileForm(bytes);
  std::string converted;
  if (profile.encoding != TextFileForm::Windows1252) {
    converted = TextFileToUtf8(bytes, profile.encoding);
    bytes = converted;
  }
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
    std::string_view raw = bytes.substr(0, length);
    std::string_view content = raw;
    if (content.ends_with('\n')) content.remove_suffix(1);
    if (content.ends_with('\r')) content.remove_suffix(1);
    profile.lines.push_back({std::string(raw), TextOfRaw(content, profile.encoding)});
    bytes.remove_prefix(length);
  }
  return profile;
}

std::string Serialize(const ProfileText& profile) {
  std::string body;
  for (const Line& line : profile.lines) body += line.raw;
  return profile.encoding == TextFileForm::Windows1252 ? body : Utf8ToTextFile(body, profile.encoding);
}

// The name of a section line "[name]".
std::optional<std::string> SectionName(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  if (!trimmed.starts_with('[')) return std::nullopt;
  const std::size_t close = trimmed.find(']');
  if (close == std::string::npos) return std::nullopt;
  return TrimBlanks(std::string_view(trimmed).substr(1, close - 1));
}

// The key and value of a line "key=value", both trimmed.
std::optional<std::pair<std::string, std::string>> KeyAndValue(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string key = TrimBlanks(text.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return std::pair{std::move(key), TrimBlanks(text.substr(equals + 1))};
}

// A stored value as the profile functions return it: one pair of matching
// quotes ("..." or '...') around the whole value is taken off, the text
// between them kept as it is ("  spaced  " reads as two blanks, the word,
// two blanks). A lone quote or quotes that do not match stay.
std::string WithoutMatchingQuotes(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The caller's default as the profile functions return it: without its
// trailing blanks.
std::string DefaultAsRead(std::string_view default_value) {
  std::size_t end = default_value.size();
  while (end > 0 && default_value[end - 1] == ' ') --end;
  return std::string(default_value.substr(0, end));
}

// Index of the line that holds key in the first matching section, or nullopt.
// A section named again further down is not searched, as the profile
// functions do not search it.
std::optional<std::size_t> FindKey(const ProfileText& profile, std::string_view section, std::string_view key) {
  bool in_section = false;
  for (std::size_t i = 0; i < profile.lines.size(); ++i) {
    if (auto name = SectionName(profile.lines[i].text)) {
      if (in_section) return std::nullopt;  // the end of the first matching section
      in_section = EqualsIgnoringAsciiCase(*name, section);
      continue;
    }
    if (!in_section) continue;
    auto pair = KeyAndValue(profile.lines[i].text);
    if (pair && EqualsIgnoringAsciiCase(pair->first, key)) return i;
  }
  return std::nullopt;
}

std::string_view LineEnd(const std::string& raw) {
  if (raw.ends_with("\r\n")) return "\r\n";
  if (raw.ends_with('\n')) return "\n";
  return "";
}

void EnsureLineEnd(Line& line) {
  if (!line.raw.ends_with('\n')) line.raw += "\r\n";
}

Line NewLine(std::string text, TextFileForm encoding) {
  return {RawOfText(text, encoding) + "\r\n", std::move(text)};
}

void SetValue(ProfileText& profile, std::string_view section, std::string_view key, std::string_view value) {
  auto& lines = profile.lines;
  if (auto at = FindKey(profile, section, key)) {
    Line& line = lines[*at];
    const std::string stored_key = KeyAndValue(line.text)->first;  // the spelling the file uses
    const std::string end(LineEnd(line.raw));
    line.text = stored_key + "=" + std::string(value);
    line.raw = RawOfText(line.text, profile.encoding) + end;
    return;
  }
  // The key goes after the last non-blank line of the first matching
  // section, so the blank lines that separate it from the next one stay.
  std::optional<std::size_t> last_of_section;
  bool in_section = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (last_of_section) break;
      in_section = EqualsIgnoringAsciiCase(*name, section);
      if (in_section) last_of_section = i;
      continue;
    }
    if (in_section && !TrimBlanks(lines[i].text).empty()) last_of_section = i;
  }
  std::string key_line = std::string(key) + "=" + std::string(value);
  if (last_of_section) {
    EnsureLineEnd(lines[*last_of_section]);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*last_of_section + 1),
                 NewLine(std::move(key_line), profile.encoding));
    return;
  }
  if (!lines.empty()) {
    EnsureLineEnd(lines.back());
    if (!TrimBlanks(lines.back().text).empty()) lines.push_back(NewLine("", profile.encoding));
  }
  lines.push_back(NewLine("[" + std::string(section) + "]", profile.encoding));
  lines.push_back(NewLine(std::move(key_line), profile.encoding));
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// Replaces the file's content: through a temporary file renamed over it, or
// in place when no file can be created beside it.
bool ReplaceFile(const fs::path& target, const std::string& bytes) {
  std::error_code error;
  fs::path destination = target;
  std::optional<fs::perms> permissions;
  if (fs::exists(target, error)) {
    destination = fs::canonical(target, error);
    if (error) return false;
    permissions = fs::status(destination, error).permissions();
    if (error) return false;
  }
  std::random_device random;
  const fs::path temporary =
      destination.parent_path() / PathFromUtf8("." + Utf8FromPath(destination.filename()) + ".tmp-" + std::to_string(random()));
  {
    std::ofstream probe(temporary, std::ios::binary | std::ios::trunc);
    if (!probe) return WriteBytes(destination, bytes);
  }
  if (!WriteBytes(temporary, bytes)) {
    fs::remove(temporary, error);
    return false;
  }
  if (permissions) fs::permissions(temporary, *permissions, error);
  fs::rename(temporary, destination, error);
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

// A value as a write stores it: a line break becomes a blank, so it cannot
// start a line of its own.
std::string SingleLine(std::string_view value) {
  std::string single_line(value);
  for (char& c : single_line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return single_line;
}

bool IsComment(std::string_view text) {
  const std::string trimmed = TrimBlanks(text);
  return trimmed.starts_with(';') || trimmed.starts_with('#');
}

// The first line of the first section named section and the line after its
// last one, or nullopt.
std::optional<std::pair<std::size_t, std::size_t>> SectionBounds(const ProfileText& profile,
                                                                  std::string_view section) {
  const auto& lines = profile.lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i].text);
    if (!name || !EqualsIgnoringAsciiCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end].text)) ++end;
    return std::pair{i, end};
  }
  return std::nullopt;
}

// Replaces the key lines of the section's first occurrence with entries; the
// new lines stand where its first key stood, else after its last non-blank
// line, so the blank lines before the next section stay. Returns false when
// nothing changes (no such section and no entries).
bool SetSection(ProfileText& profile, std::string_view section, const std::vector<ProfileFile::Entry>& entries) {
  auto& lines = profile.lines;
  std::vector<Line> new_lines;
  for (const auto& [key, value] : entries) {
    new_lines.push_back(NewLine(SingleLine(key) + "=" + SingleLine(value), profile.encoding));
  }
  const auto bounds = SectionBounds(profile, section);
  if (!bounds) {
    if (entries.empty()) return false;
    if (!lines.empty()) {
      EnsureLineEnd(lines.back());
      if (!TrimBlanks(lines.back().text).empty()) lines.push_back(NewLine("", profile.encoding));
    }
    lines.push_back(NewLine("[" + std::string(section) + "]", profile.encoding));
    lines.insert(lines.end(), new_lines.begin(), new_lines.end());
    return true;
  }
  const auto [header, end] = *bounds;
  std::vector<Line> body;
  std::optional<std::size_t> first_key;
  std::size_t after_last_text = 0;  // in body: the place after its last non-blank line
  for (std::size_t i = header + 1; i < end; ++i) {
    if (!IsComment(lines[i].text) && KeyAndValue(lines[i].text)) {
      if (!first_key) first_key = body.size();
      continue;
    }
    body.push_back(lines[i]);
    if (!TrimBlanks(lines[i].text).empty()) after_last_text = body.size();
  }
  const std::size_t at = first_key.value_or(after_last_text);
  if (at == 0) {
    EnsureLineEnd(lines[header]);
  } else {
    EnsureLineEnd(body[at - 1]);
  }
  body.insert(body.begin() + static_cast<std::ptrdiff_t>(at), new_lines.begin(), new_lines.end());
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header + 1), lines.begin() + static_cast<std::ptrdiff_t>(end));
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(header + 1), body.begin(), body.end());
  return true;
}

// Reads the file (none yet: an empty one), lets change edit its lines and
// writes it back when change says it changed something.
void Rewrite(const fs::path& directory, const std::string& file_name, const std::string& display_name,
             const std::function<bool(ProfileText&)>& change) {
  const SettingsWriteError failure("Unable to write to " + display_name);
  ProfileText profile;
  fs::path target = directory / PathFromUtf8(file_name);
  if (auto found = FindFileIgnoringCase(directory, file_name)) {
    target = *found;
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (error || !fs::is_regular_file(status) || (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
      throw failure;
    }
    auto bytes = ReadWholeFile(target);
    if (!bytes) throw failure;
    profile = Parse(*bytes);
  }
  if (!change(profile)) return;
  if (!ReplaceFile(target, Serialize(profile))) throw failure;
}

}  // namespace

ProfileFile::ProfileFile(fs::path directory, std::string file_name)
    : m_directory(std::move(directory)), m_file_name(std::move(file_name)) {}

std::string ProfileFile::DisplayName() const { return ".\\" + m_file_name; }

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_characters) const {
  std::string value = DefaultAsRead(default_value);
  if (auto path = FindFileIgnoringCase(m_directory, m_file_name)) {
    if (auto bytes = ReadWholeFile(*path)) {
      const ProfileText profile = Parse(*bytes);
      if (auto at = FindKey(profile, section, key)) {
        value = WithoutMatchingQuotes(KeyAndValue(profile.lines[*at].text)->second);
      }
    }
  }
  if (buffer_characters == 0) return {};
  if (buffer_characters != kUnlimited) value = CharacterPrefix(value, buffer_characters - 1);
  return value;
}

std::vector<ProfileFile::Entry> ProfileFile::ReadSection(std::string_view section) const {
  std::vector<Entry> entries;
  auto path = FindFileIgnoringCase(m_directory, m_file_name);
  if (!path) return entries;
  auto bytes = ReadWholeFile(*path);
  if (!bytes) return entries;
  const ProfileText profile = Parse(*bytes);
  const auto bounds = SectionBounds(profile, section);
  if (!bounds) return entries;
  for (std::size_t i = bounds->first + 1; i < bounds->second; ++i) {
    if (IsComment(profile.lines[i].text)) continue;  // a key put aside with ";" or "#"
    auto pair = KeyAndValue(profile.lines[i].text);
    if (!pair) continue;
    const bool named_before = std::any_of(entries.begin(), entries.end(), [&](const Entry& entry) {
      return EqualsIgnoringAsciiCase(entry.first, pair->first);
    });
    if (!named_before) entries.emplace_back(pair->first, WithoutMatchingQuotes(pair->second));
  }
  return entries;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string single_line = SingleLine(value);
  Rewrite(m_directory, m_file_name, DisplayName(), [&](ProfileText& profile) {
    SetValue(profile, section, key, single_line);
    return true;
  });
}

void ProfileFile::ReplaceSection(std::string_view section, const std::vector<Entry>& entries) {
  Rewrite(m_directory, m_file_name, DisplayName(), [&](ProfileText& profile) { return SetSection(profile, section, entries); });
}

}  // namespace varnel
