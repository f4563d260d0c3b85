// The headless exporter's status output through the console seam: on a
// terminal every running count (the maintenance's, the export's, the
// verification's) is redrawn in place, beside the bar while one shows, and
// only the stage texts, the final texts, errors and the maintenance's last
// count become lines; anywhere else every text is one line, exactly as the
// run gives it, and no bar or escape sequence appears.
#include "cli/terminal_observer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/open_file.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

// What the observer wrote while a short run went by: the maintenance, an
// export of three steps with a stage text among them, and a verification
// of two steps.
std::string Output(bool on_terminal) {
  testing::TempDir dir;
  // A text stream, as standard error is.
  std::FILE* stream = platform::OpenFile(dir / "status.txt", "w+");
  EXPECT_NE(stream, nullptr);
  {
    TerminalObserver observer(stream, on_terminal);
    observer.setStatus("Manutenção da base de dados: 0 de 900 documentos");
    observer.setStatus("Manutenção da base de dados: 500 de 900 documentos");
    observer.setStatus("Manutenção da base de dados: 900 de 900 documentos");
    observer.setStatus("A salvar a configuração");
    observer.progressStart(3);
    for (int step = 1; step <= 3; ++step) {
      observer.progressStep();
      observer.setStatus("Exportados " + std::to_string(step * 100) + " de 300 registos...");
      if (step == 2) observer.setStatus("Exportação dos recibos");
    }
    observer.progressHide();
    observer.setStatus("Exportados 300 de 300 registos. Exportação efectuada");
    observer.setStatus("Verificação do ficheiro");
    observer.progressStart(2);
    for (int step = 1; step <= 2; ++step) {
      observer.progressStep();
      observer.setStatus("Verificados " + std::to_string(step * 150) + " de 300 documentos...");
    }
    observer.progressHide();
    observer.setStatus("Ficheiro verificado: sem erros");
    observer.showError("sem espaço");
  }
  std::rewind(stream);
  std::string text;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, got);
  std::fclose(stream);
  // Windows' C runtime writes a text stream's "\n" as CR LF.
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  }
  return lines;
}

TEST(TerminalObserver, AwayFromATerminalEveryTextIsOneLine) {
  EXPECT_EQ(Output(false),
            "Manutenção da base de dados: 0 de 900 documentos\n"
            "Manutenção da base de dados: 500 de 900 documentos\n"
            "Manutenção da base de dados: 900 de 900 documentos\n"
            "A salvar a configuração\n"
            "Exportados 100 de 300 registos...\n"
            "Exportados 200 de 300 registos...\n"
            "Exportação dos recibos\n"
            "Exportados 300 de 300 registos...\n"
            "Exportados 300 de 300 registos. Exportação efectuada\n"
            "Verificação do ficheiro\n"
            "Verificados 150 de 300 documentos...\n"
            "Verificados 300 de 300 documentos...\n"
            "Ficheiro verificado: sem erros\n"
            "Erro: sem espaço\n");
}

TEST(TerminalObserver, OnATerminalEveryRunningCountIsRedrawnInPlace) {
  const std::string text = Output(true);
  const std::string clear = "\033[K";
  auto bar = [](int filled, const std::string& rest) {
    return "\r[" + std::string(filled, '#') + std::string(40 - filled, ' ') + "] " + rest + "\033[K";
  };
  EXPECT_EQ(text,
            "\rManutenção da base de dados: 0 de 900 documentos" + clear +
            "\rManutenção da base de dados: 500 de 900 documentos" + clear +
            "\rManutenção da base de dados: 900 de 900 documentos" + clear +
            "\n"  // the maintenance's result stays
            "A salvar a configuração\n" +
            bar(0, "0/3") + bar(13, "1/3") + bar(13, "1/3  Exportados 100 de 300 registos...") +
            bar(26, "2/3  Exportados 100 de 300 registos...") + bar(26, "2/3  Exportados 200 de 300 registos...") +
            "\r" + clear + "Exportação dos recibos\n" + bar(26, "2/3  Exportados 200 de 300 registos...") +
            bar(40, "3/3  Exportados 200 de 300 registos...") + bar(40, "3/3  Exportados 300 de 300 registos...") +
            "\r" + clear +
            "Exportados 300 de 300 registos. Exportação efectuada\n"
            "Verificação do ficheiro\n" +
            bar(0, "0/2") + bar(20, "1/2") + bar(20, "1/2  Verificados 150 de 300 documentos...") +
            bar(40, "2/2  Verificados 150 de 300 documentos...") +
            bar(40, "2/2  Verificados 300 de 300 documentos...") + "\r" + clear +
            "Ficheiro verificado: sem erros\n"
            "Erro: sem espaço\n");
  // No running count ever became a line of its own, but the maintenance's last.
  EXPECT_EQ(text.find("registos...\n"), std::string::npos);
  EXPECT_EQ(text.find("documentos...\n"), std::string::npos);
}

TEST(TerminalObserver, RunningCounts) {
  for (const char* count : {"Manutenção da base de dados: 0 de 34 documentos", "Exportados 50 de 296 registos...",
                            "Verificados 296 de 296 documentos..."}) {
    EXPECT_TRUE(TerminalObserver::IsRunningCount(count)) << count;
  }
  for (const char* line : {"Exportados 296 de 296 registos. Exportação efectuada", "Verificação do ficheiro",
                           "Manutenção da base de dados: 34 de 34", "Exportados de 296 registos...",
                           "Verificados 5 de documentos...", "A salvar a configuração"}) {
    EXPECT_FALSE(TerminalObserver::IsRunningCount(line)) << line;
  }
}

}  // namespace
}  // namespace varnel
