// File name rules of the platform the point-of-sale product comes from.
#include "base/file_names.h"

#include "base/ascii_text.h"

#include <system_error>

namespace varnel {

std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string DisplayPath(const std::filesystem::path& path) {
  std::filesystem::path shown = path;
  return Utf8FromPath(shown.make_preferred());
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name) {
  // The entry is returned as the directory spells it: a file system that
  // ignores letter case itself (Windows) also accepts the name as asked.
  std::error_code error;
  const auto exact = directory / PathFromUtf8(name);
  const bool exact_exists = std::filesystem::is_regular_file(exact, error);
  std::optional<std::filesystem::path> other_case;
  std::filesystem::directory_iterator it(directory.empty() ? std::filesystem::path(".") : directory,
                                         error);
  if (error) return exact_exists ? std::optional(exact) : std::nullopt;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return exact_exists ? std::optional(exact) : other_case;
    const std::string entry = Utf8FromPath(it->path().filename());
    if (!EqualsIgnoringAsciiCase(entry, name)) continue;
    std::error_code ignored;
    if (!it->is_regular_file(ignored)) continue;
    if (entry == name) return exact;
    if (!other_case) other_case = directory / it->path().filename();
  }
  if (exact_exists && !other_case) return exact;
  return other_case;
}

std::filesystem::path PathFromTyped(std::string_view typed) {
  std::string path(typed);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return PathFromUtf8(path);
}

std::string ForceXmlExtension(std::string_view typed) {
  const std::size_t dot = typed.rfind('.');
  const std::size_t separator = typed.find_last_of("\\/:");
  const bool has_extension =
      dot != std::string_view::npos && (separator == std::string_view::npos || dot > separator);
  std::string path(has_extension ? typed.substr(0, dot) : typed);
  path += ".xml";
  return path;
}

}  // namespace varnel
