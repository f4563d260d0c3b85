// The producer's public keys in Varnel.ini, section "Assinaturas": one key
// per key version, its value the PEM file, relative to the working directory
// or absolute ("1=chave-publica.pem"). Documents name the version in
// HashControl; a new key pair of the producer is one more line. The window
// and the headless exporter read them for every export; a hand-edited line
// that is not a version and a file name is refused with a Portuguese
// message naming the key, before anything is written.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "base/signature_key_file.h"
#include "settings/export_codes.h"  // SettingsValueError

namespace varnel {

class SignatureKeySettings {
 public:
  static constexpr std::string_view kSection = "Assinaturas";

  // Bound to Varnel.ini in directory, like the settings store.
  explicit SignatureKeySettings(std::filesystem::path directory = ".");

  // The section's keys in the file's order, each path taken from directory
  // when relative. Missing file or section: none. Raises SettingsValueError
  // for a key that is not a version (a whole number from 1) or an empty file
  // name.
  std::vector<SignatureKeyFile> Load() const;

 private:
  std::filesystem::path m_directory;
};

}  // namespace varnel
