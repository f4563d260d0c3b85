// File name rules of the platform the point-of-sale product comes from.
#include "base/file_names.h"

#include "base/ascii_text.h"

#include <system_error>

namespace varnel {

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& directory,
                                                           std::string_view name) {
  std::error_code error;
  const auto exact = directory / std::string(name);
  if (std::filesystem::is_regular_file(exact, error)) return exact;
  std::filesystem::directory_iterator it(directory.empty() ? std::filesystem::path(".") : directory,
                                         error);
  if (error) return std::nullopt;
  for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (error) return std::nullopt;
    if (EqualsIgnoringAsciiCase(it->path().filename().string(), name) &&
        it->is_regular_file(error)) {
      return directory / it->path().filename();
    }
  }
  return std::nullopt;
}

std::filesystem::path PathFromTyped(std::string_view typed) {
  std::string path(typed);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(path);
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
