// The core's file errors in Portuguese, for the window's error boxes. The
// core has three forms: 'Cannot create file "P". Reason.', 'Cannot write to
// file "P". Reason.' and 'Unable to write to NAME.' (a settings file); the
// reason is the system's text for the error number, translated for the
// common cases. Texts of any other form pass unchanged.
#include "window/portuguese_messages.h"

#include <array>
#include <string_view>
#include <utility>

namespace varnel {

namespace {

// The system's reasons (as the C library words them) and their Portuguese.
constexpr std::array<std::pair<std::string_view, std::string_view>, 15> kReasons{{
    {"No such file or directory", "A pasta indicada não existe"},
    {"Permission denied", "Sem permissão de acesso"},
    {"Operation not permitted", "Sem permissão de acesso"},
    {"No space left on device", "O disco está cheio"},
    {"Disk quota exceeded", "O espaço em disco atribuído está esgotado"},
    {"File too large", "O ficheiro é demasiado grande"},
    {"Device or resource busy", "O ficheiro está a ser usado por outro programa"},
    {"Text file busy", "O ficheiro está a ser usado por outro programa"},
    {"Read-only file system", "O disco só permite leitura"},
    {"Is a directory", "O nome indicado é o de uma pasta"},
    {"Not a directory", "Uma parte do caminho não é uma pasta"},
    {"File name too long", "O nome do ficheiro é demasiado longo"},
    {"Invalid argument", "O nome do ficheiro não é válido"},
    {"Input/output error", "Erro de leitura ou escrita no disco"},
    {"File is closed", "O ficheiro já está fechado"},
}};

std::string_view WithoutFullStop(std::string_view text) {
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  return text;
}

std::string PortugueseReason(std::string_view reason) {
  for (const auto& [english, portuguese] : kReasons) {
    if (reason == english) return std::string(portuguese);
  }
  return std::string(reason);
}

// 'PREFIX"P". Reason.' -> 'OPENING"P". Razão.'
bool TranslateFileError(std::string_view message, std::string_view prefix, std::string_view opening,
                        std::string& out) {
  if (!message.starts_with(prefix)) return false;
  const std::string_view rest = message.substr(prefix.size());
  const std::size_t end_of_path = rest.rfind("\". ");
  if (rest.empty() || rest.front() != '"' || end_of_path == std::string_view::npos || end_of_path == 0) return false;
  const std::string_view quoted_path = rest.substr(0, end_of_path + 1);
  out = std::string(opening) + std::string(quoted_path) + ". " +
        PortugueseReason(WithoutFullStop(rest.substr(end_of_path + 3))) + ".";
  return true;
}

}  // namespace

std::string PortugueseMessage(const std::string& message) {
  std::string out;
  if (TranslateFileError(message, "Cannot create file ", "Não foi possível criar o ficheiro ", out)) return out;
  if (TranslateFileError(message, "Cannot write to file ", "Não foi possível escrever no ficheiro ", out)) return out;
  const std::string_view text = message;
  constexpr std::string_view kSettings = "Unable to write to ";
  if (text.starts_with(kSettings) && text.size() > kSettings.size()) {
    return "Não foi possível gravar o ficheiro " + std::string(WithoutFullStop(text.substr(kSettings.size()))) + ".";
  }
  if (WithoutFullStop(text) == "Cannot write to a closed audit file") {
    return "Não é possível escrever no ficheiro de exportação, que já foi fechado.";
  }
  return message;
}

}  // namespace varnel
