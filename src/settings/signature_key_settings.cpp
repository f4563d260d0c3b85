// Reads the "Assinaturas" section: each key must be a key version, each
// value a file name; a relative name is joined to the working directory the
// settings are bound to, so the run reads the same file whatever directory
// it is asked from.
#include "settings/signature_key_settings.h"

#include <string>
#include <utility>

#include "base/ascii_text.h"
#include "base/file_names.h"
#include "base/value_routines.h"
#include "settings/profile_file.h"
#include "settings/settings_store.h"

namespace varnel {

namespace {

std::string KeyText(std::string_view key) {
  return "em Varnel.ini, secção [" + std::string(SignatureKeySettings::kSection) + "], chave \"" + std::string(key) +
         "\"";
}

}  // namespace

SignatureKeySettings::SignatureKeySettings(std::filesystem::path directory) : m_directory(std::move(directory)) {}

std::vector<SignatureKeyFile> SignatureKeySettings::Load() const {
  const ProfileFile file(m_directory, std::string(SettingsStore::kFileName));
  std::vector<SignatureKeyFile> keys;
  for (const auto& [key, value] : file.ReadSection(kSection)) {
    const std::string_view version = TrimWhiteSpace(key);
    const auto number = ReadInteger(std::string(version));
    if (version.find_first_not_of("0123456789") != std::string_view::npos || !number || *number < 1 ||
        *number > 999999) {
      throw SettingsValueError("Versão de chave inválida " + KeyText(key) +
                               ": a chave é a versão (1, 2, ...) e o valor o ficheiro da chave pública.");
    }
    if (value.empty()) throw SettingsValueError("Falta o ficheiro da chave pública " + KeyText(key) + ".");
    const std::filesystem::path path = PathFromUtf8(value);
    keys.push_back({static_cast<int>(*number), Utf8FromPath(path.is_absolute() ? path : m_directory / path)});
  }
  return keys;
}

}  // namespace varnel
