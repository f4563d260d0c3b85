// The headless exporter's status output: on a terminal the running count and
// the bar share one line redrawn in place, and only the stage texts, the
// final text and errors become lines; anywhere else every text is one line,
// exactly as the run gives it, and no bar or escape sequence appears.
#include "cli/terminal_observer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/open_file.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

// What the observer wrote while a short run of three steps went by.
std::string Output(bool on_terminal) {
  testing::TempDir dir;
  // A text stream, as standard error is.
  std::FILE* stream = platform::OpenFile(dir / "status.txt", "w+");
  EXPECT_NE(stream, nullptr);
  {
    TerminalObserver observer(stream, on_terminal);
    observer.setStatus("A salvar a configuração");
    observer.progressStart(3);
    for (int step = 1; step <= 3; ++step) {
      observer.progressStep();
      observer.setStatus("Exportados " + std::to_string(step * 100) + " de 300 registos...");
      if (step == 2) observer.setStatus("Exportação dos recibos");
    }
    observer.progressHide();
    observer.setStatus("Exportados 300 de 300 registos. Exportação efectuada");
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
            "A salvar a configuração\n"
            "Exportados 100 de 300 registos...\n"
            "Exportados 200 de 300 registos...\n"
            "Exportação dos recibos\n"
            "Exportados 300 de 300 registos...\n"
            "Exportados 300 de 300 registos. Exportação efectuada\n"
            "Erro: sem espaço\n");
}

TEST(TerminalObserver, OnATerminalTheCountAndTheBarAreRedrawnInPlace) {
  const std::string text = Output(true);
  const std::string empty_bar = "[" + std::string(40, ' ') + "]";
  const std::string third = "[" + std::string(13, '#') + std::string(27, ' ') + "]";
  const std::string two_thirds = "[" + std::string(26, '#') + std::string(14, ' ') + "]";
  const std::string full = "[" + std::string(40, '#') + "]";
  EXPECT_EQ(text,
            "A salvar a configuração\n"
            "\r" + empty_bar + " 0/3" +
            "\r" + third + " 1/3" +
            "\r" + third + " 1/3  Exportados 100 de 300 registos..." +
            "\r" + two_thirds + " 2/3  Exportados 100 de 300 registos..." +
            "\r" + two_thirds + " 2/3  Exportados 200 de 300 registos..." +
            "\r\033[KExportação dos recibos\n" +
            "\r" + two_thirds + " 2/3  Exportados 200 de 300 registos..." +
            "\r" + full + " 3/3  Exportados 200 de 300 registos..." +
            "\r" + full + " 3/3  Exportados 300 de 300 registos..." +
            "\r\033[K"
            "Exportados 300 de 300 registos. Exportação efectuada\n"
            "Erro: sem espaço\n");
  // No running count ever became a line of its own.
  EXPECT_EQ(text.find("registos...\n"), std::string::npos);
}

}  // namespace
}  // namespace varnel
