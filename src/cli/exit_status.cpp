// The exit status file: the meanings are those of the usage text's "Exit
// status" lines, in the operator's language.
#include "cli/exit_status.h"

#include <fstream>

#include "base/file_names.h"
#include "base/value_routines.h"

namespace varnel {

namespace {

const char* Meaning(int status) {
  switch (status) {
    case 0: return "Exportação completa.";
    case 1: return "Uma verificação falhou ou um erro terminou a exportação.";
    case 2: return "Opções inválidas.";
    case 3: return "Exportação completa, mas a verificação do ficheiro encontrou erros (ver o relatório).";
    case 130: return "Exportação abortada.";
    default: return "Estado de saída desconhecido.";
  }
}

}  // namespace

std::string ExitStatusText(int status, const std::vector<std::string>& errors) {
  std::string text = IntText(status) + "\r\n" + Meaning(status) + "\r\n";
  for (const std::string& line : errors) text += line + "\r\n";
  return text;
}

bool WriteExitStatus(const std::filesystem::path& path, int status, const std::vector<std::string>& errors,
                     std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << ExitStatusText(status, errors);
  out.close();
  if (out) return true;
  error = "não foi possível escrever o estado de saída \"" + DisplayPath(path) + "\"";
  return false;
}

}  // namespace varnel
