// The scheduled run's exit status file: names by the period's month, and the
// status, its meaning and the errors as a script and a technician read them.
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/request_defaults.h"

#include <gtest/gtest.h>

#include "support/test_paths.h"

namespace varnel {
namespace {

TEST(ScheduledRun, FileNamesTakeThePeriodsYearAndMonth) {
  struct Case {
    std::string typed, named;
  };
  const std::vector<Case> cases = {
      {"SAFT-{YYYY-MM}.xml", "SAFT-2026-11.xml"},
      {"C:\\SAF-T\\{YYYY-MM}\\SAFT-{YYYY-MM}", "C:\\SAF-T\\2026-11\\SAFT-2026-11"},
      {"saft.xml", "saft.xml"},
      {"{yyyy-mm}.xml", "{yyyy-mm}.xml"},  // only the placeholder as written
  };
  for (const Case& c : cases) {
    CommandLine line = ParseCommandLine({"--output", c.typed, "--report", c.typed, "--status", c.typed});
    NameFilesByPeriod(line, DateTime::FromDate(2026, 11, 1));
    EXPECT_EQ(line.output, c.named) << c.typed;
    EXPECT_EQ(line.report, c.named) << c.typed;
    EXPECT_EQ(line.status, c.named) << c.typed;
  }
}

// The month is the period's first day's: last month by default (January's
// run names December of the year before), --from when given.
TEST(ScheduledRun, ThePeriodsFirstDay) {
  const CommandLine defaults = ParseCommandLine({"--output", "x"});
  EXPECT_EQ(FirstDayOfPeriod(defaults, DateTime::FromDate(2026, 12, 1)), DateTime::FromDate(2026, 11, 1));
  EXPECT_EQ(FirstDayOfPeriod(defaults, DateTime::FromDate(2027, 1, 31)), DateTime::FromDate(2026, 12, 1));
  const CommandLine given = ParseCommandLine({"--output", "x", "--from", "2016-03-05", "--to", "2016-04-30"});
  EXPECT_EQ(FirstDayOfPeriod(given, DateTime::FromDate(2026, 12, 1)), DateTime::FromDate(2016, 3, 5));
}

TEST(ScheduledRun, TheStatusFileBeginsWithTheStatusAlone) {
  EXPECT_EQ(ExitStatusText(0, {}), "0\r\nExportação completa.\r\n");
  EXPECT_EQ(ExitStatusText(1, {"Erro: Número de contribuinte inválido"}),
            "1\r\nUma verificação falhou ou um erro terminou a exportação.\r\nErro: Número de contribuinte inválido\r\n");
  EXPECT_EQ(ExitStatusText(3, {}).substr(0, 3), "3\r\n");
  EXPECT_EQ(ExitStatusText(130, {}), "130\r\nExportação abortada.\r\n");

  testing::TempDir dir;
  std::string error;
  EXPECT_TRUE(WriteExitStatus(dir.path() / "estado.txt", 2, {"a", "b"}, error)) << error;
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "estado.txt"), "2\r\nOpções inválidas.\r\na\r\nb\r\n");
  EXPECT_FALSE(WriteExitStatus(dir.path() / "no-such-folder" / "estado.txt", 0, {}, error));
  EXPECT_NE(error.find("não foi possível escrever o estado de saída"), std::string::npos) << error;
}

}  // namespace
}  // namespace varnel
