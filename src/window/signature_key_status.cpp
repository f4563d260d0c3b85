// The key indicator's text: the section read, then each key file read and
// parsed on its own, so the version at fault can be named.
#include "window/signature_key_status.h"

#include <algorithm>
#include <vector>

#include "settings/signature_key_settings.h"
#include "verify/signature_keys.h"

namespace varnel {

std::string SignatureKeyStatusText(const std::filesystem::path& directory) {
  std::vector<SignatureKeyFile> files;
  try {
    files = SignatureKeySettings(directory).Load();
  } catch (const SettingsValueError&) {
    return "Chave pública: erro em Varnel.ini";
  }
  if (files.empty()) return "Chave pública: em falta";
  std::vector<int> versions;
  for (const SignatureKeyFile& file : files) {
    try {
      SignatureKeys::Load({file});
    } catch (const SignatureKeyError&) {
      return "Chave pública: versão " + std::to_string(file.version) + " com erro";
    }
    std::erase(versions, file.version);  // a later line of the same version replaces an earlier one
    versions.push_back(file.version);
  }
  std::sort(versions.begin(), versions.end());
  switch (versions.size()) {
    case 1: return "Chave pública: versão " + std::to_string(versions[0]);
    case 2: return "Chaves públicas: versões " + std::to_string(versions[0]) + " e " + std::to_string(versions[1]);
    default: return "Chaves públicas: " + std::to_string(versions.size()) + " versões";
  }
}

}  // namespace varnel
