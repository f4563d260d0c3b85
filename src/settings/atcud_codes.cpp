// The "ATCUD" section of Varnel.ini: a key "<type> <series>" (type and series
// separated by blanks) per series, its value the validation code. The whole
// section is rewritten on every save, every other line of the file keeping
// its bytes.
#include "settings/atcud_codes.h"

#include <optional>
#include <utility>

#include "base/ascii_text.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"

namespace varnel {

namespace {

// The type and series of a key "FT A"; nothing for a key of one word or of
// more than two.
std::optional<std::pair<std::string, std::string>> TypeAndSeries(std::string_view key) {
  key = TrimWhiteSpace(key);
  const std::size_t blank = key.find_first_of(" \t");
  if (blank == std::string_view::npos) return std::nullopt;
  const std::string_view series = TrimWhiteSpace(key.substr(blank));
  if (series.empty() || series.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
  return std::pair{std::string(key.substr(0, blank)), std::string(series)};
}

}  // namespace

AtcudCodes::AtcudCodes(std::filesystem::path directory) : m_directory(std::move(directory)) {}

std::vector<AtcudSeriesCode> AtcudCodes::Load() const {
  const ProfileFile file(m_directory, std::string(SettingsStore::kFileName));
  std::vector<AtcudSeriesCode> codes;
  for (auto& [key, value] : file.ReadSection(kSection)) {
    if (auto parts = TypeAndSeries(key)) codes.push_back({std::move(parts->first), std::move(parts->second), value});
  }
  return codes;
}

void AtcudCodes::Save(const std::vector<AtcudSeriesCode>& entries) {
  ProfileFile file(m_directory, std::string(SettingsStore::kFileName));
  std::vector<ProfileFile::Entry> lines;
  lines.reserve(entries.size());
  for (const AtcudSeriesCode& entry : entries) lines.emplace_back(entry.type + " " + entry.series, entry.code);
  file.ReplaceSection(kSection, lines);
}

}  // namespace varnel
