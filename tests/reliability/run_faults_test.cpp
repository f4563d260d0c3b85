// Faults during a run, and how every one of them ends: the database failing
// in the middle (the link broken at each statement in turn, a table
// dropped, the file locked by another writer), an output file that cannot be
// created or written (a missing folder, no permission, a full disk), and
// "Abortar" at every point where a run can see it. Each ending must show
// the error's own text (or the abort's status), leave no statement open and
// the file closed, put the window back on its data panel, and leave the
// database as it was apart from the maintenance.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <thread>

#include "base/value_routines.h"
#include "reliability/support/database_dump.h"
#include "reliability/support/run_checks.h"
#include "reliability/support/sample_database.h"
#include "support/export_harness.h"
#include "support/platform_facts.h"
#include "tools/sqlite_file.h"

namespace varnel::testing::reliability {
namespace {

namespace fs = std::filesystem;

// What every ending of a run must leave behind, at the run's last calls
// and after it.
void ExpectCleanEnding(TestDatabase& db, const ExportResult& result, const EndingCheck& check,
                       const std::string& context) {
  SCOPED_TRACE(context);
  EXPECT_EQ(DataPanelProblem(result.observer), "");
  EXPECT_TRUE(check.problems.empty()) << check.problems.front();
  EXPECT_TRUE(DatabaseIsIdle(db.database_file())) << "a statement still holds the database";
  // The file keeps the lines written so far.
  if (!result.bytes.empty()) {
    EXPECT_TRUE(result.text.starts_with("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n"));
  }
}

// An export of db with its ending checked, through connection (a fresh
// one by default).
ExportResult ExportChecked(TestDatabase& db, EndingCheck& check, PosDatabase* connection = nullptr,
                           const ExportRequest& request = DefaultRequest(),
                           const std::function<void(RecordingObserver&)>& prepare = {}, bool read_back = true) {
  check.database_file = db.database_file();
  PosDatabase fresh;
  return RunChecked(connection != nullptr ? *connection : fresh, db.folder(), request, check, prepare, read_back);
}

void ExpectFailureShown(const ExportResult& result, const std::string& expected_text, const std::string& context) {
  SCOPED_TRACE(context);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_EQ(LastApplicationError(result.observer), expected_text);
  // The error box is the run's last word; the progress bar went before it.
  const auto& calls = result.observer.calls;
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[calls.size() - 3], "progressHide");
  EXPECT_EQ(calls[calls.size() - 2], "showData");
}

// A sample database (with its maintenance already done, so a later run
// changes nothing) and its dump.
struct Prepared {
  TestDatabase db;
  std::string dump;
  explicit Prepared(const SampleSize& size = {}) {
    FillSampleDatabase(db, size);
    EndingCheck check;
    const ExportResult first = ExportChecked(db, check);
    EXPECT_EQ(first.outcome, RunOutcome::Completed);
    dump = DumpDatabase(db);
  }
};

// The statements of one clean export of db, by query name.
std::vector<std::string> StatementsOfACleanRun(TestDatabase& db) {
  StatementProbe probe;
  PosDatabase connection(ProbedFactory(probe));
  EndingCheck check(&probe);
  const ExportResult result = ExportChecked(db, check, &connection);
  EXPECT_EQ(result.outcome, RunOutcome::Completed);
  return probe.queries_run;
}

TEST(RunFaults, TheLinkBrokenAtEachStatementInTurnEndsTheRunCleanly) {
  std::vector<std::string> statements;
  {
    TestDatabase db;
    FillSampleDatabase(db);
    statements = StatementsOfACleanRun(db);
  }
  ASSERT_GT(statements.size(), 20u);
  for (std::size_t at = 0; at < statements.size(); ++at) {
    const std::string context = "link broken at statement " + std::to_string(at) + " (" + statements[at] + ")";
    // A fresh sample each time: a break inside the maintenance leaves the
    // repairs made so far, and nothing else may change.
    TestDatabase db;
    FillSampleDatabase(db);
    const std::string before = DumpBeyondMaintenance(db, kSampleHighestCustomer);
    LinkProbe link;
    link.break_at_run = static_cast<int>(at);
    StatementProbe probe;
    PosDatabase connection(ProbedFactory(probe, ProbingFactory(link)));
    EndingCheck check(&probe);
    const ExportResult result = ExportChecked(db, check, &connection);

    if (statements[at].starts_with("q_reconcile")) {
      // The export and its file are complete; only the comparison with the
      // database is lost, and the verifier's findings say so.
      SCOPED_TRACE(context);
      EXPECT_EQ(result.outcome, RunOutcome::Completed);
      const auto errors = result.observer.verification_errors();
      EXPECT_NE(std::find_if(errors.begin(), errors.end(),
                             [](const std::string& e) { return e.find("Communication link failure") != e.npos; }),
                errors.end());
      ExpectCleanEnding(db, result, check, context);
      continue;
    }
    // The maintenance ignores the failure of its schema statements; the
    // next statement meets the broken link all the same.
    std::size_t failing = at;
    while (failing < statements.size() && statements[failing] == "q_usertable") ++failing;
    ASSERT_LT(failing, statements.size());
    ExpectFailureShown(result, "[08S01] Communication link failure (ODBC, query " + statements[failing] + ")", context);
    ExpectCleanEnding(db, result, check, context);
    EXPECT_EQ(DumpBeyondMaintenance(db, kSampleHighestCustomer), before) << context;
    // The run stopped at the statement that failed.
    EXPECT_EQ(probe.runs, static_cast<int>(failing) + 1) << context;
  }
  std::cout << "The link broken at each of " << statements.size() << " statements\n";
}

TEST(RunFaults, ATableDroppedDuringTheRunStopsItWithTheDatabasesText) {
  struct Case {
    const char* stage;
    const char* table;
    const char* query;  // "" where the first query to read the table is the sales section's
  };
  // Only where no streamed query is half read: a reading cursor keeps the
  // file locked against the DROP, as it would keep out any writer.
  const Case cases[] = {
      {"Exportação da lista de clientes", "clientes", "q_cli"},
      {"Exportação da lista de fornecedores", "fornecedores", "q_forn"},
      {"Exportação da lista de produtos", "vendas", "q_prod"},
      {"Exportação das taxas de iva", "iva", "q_iva"},
      {"Abertura de tabelas de vendas", "vendas", ""},
      {"Abertura de tabelas de vendas", "compensacoes", ""},
  };
  for (const Case& c : cases) {
    const std::string context = std::string("dropped ") + c.table + " at " + c.stage;
    Prepared prepared;
    TestDatabase& db = prepared.db;
    const std::string before = DumpBeyondMaintenance(db, kSampleHighestCustomer, c.table);
    StatementProbe probe;
    PosDatabase connection(ProbedFactory(probe));
    EndingCheck check(&probe);
    const ExportResult result = ExportChecked(db, check, &connection, DefaultRequest(), [&](RecordingObserver& o) {
      o.on_pending_events = [&db, &o, c] {
        if (o.status == c.stage) db.Exec(std::string("DROP TABLE IF EXISTS ") + c.table);
      };
    });
    const std::string message = LastApplicationError(result.observer);
    EXPECT_EQ(result.outcome, RunOutcome::Failed) << context;
    EXPECT_NE(message.find(std::string("no such table: ") + c.table), std::string::npos) << context << ": " << message;
    if (*c.query != '\0') {
      EXPECT_NE(message.find(std::string("query ") + c.query + ")"), std::string::npos) << context << ": " << message;
    }
    ExpectCleanEnding(db, result, check, context);
    EXPECT_EQ(DumpBeyondMaintenance(db, kSampleHighestCustomer, c.table), before) << context;
  }
}

// Takes the database file's exclusive lock, as a point-of-sale program in
// the middle of writing a sale holds it. Its connection has no busy timeout:
// when the lock cannot be had at once, locked() says so and the test decides.
class ForeignWriter {
 public:
  explicit ForeignWriter(const fs::path& file) {
    try {
      m_file.emplace(file, tools::SqliteFile::Mode::ReadWrite);
      m_file->ExecuteScript("BEGIN EXCLUSIVE", "begin exclusive");
      m_locked = true;
    } catch (const tools::SqliteError&) {
      m_locked = false;
    }
  }
  ~ForeignWriter() { Release(); }
  ForeignWriter(const ForeignWriter&) = delete;
  ForeignWriter& operator=(const ForeignWriter&) = delete;
  bool locked() const { return m_locked; }
  void Release() noexcept {
    if (!m_locked) return;
    m_locked = false;
    try {
      m_file->ExecuteScript("ROLLBACK", "rollback");
    } catch (const tools::SqliteError&) {
      // Closing the connection rolls the transaction back all the same.
    }
  }

 private:
  std::optional<tools::SqliteFile> m_file;
  bool m_locked = false;
};

TEST(RunFaults, AWriterHoldingTheDatabaseForAMomentOnlyDelaysTheRun) {
  Prepared prepared;
  std::unique_ptr<ForeignWriter> writer;
  std::thread release;
  EndingCheck check;
  const ExportResult result = ExportChecked(prepared.db, check, nullptr, DefaultRequest(), [&](RecordingObserver& o) {
    o.on_pending_events = [&] {
      if (o.status != "Exportação da lista de fornecedores" || writer) return;
      writer = std::make_unique<ForeignWriter>(prepared.db.database_file());
      release = std::thread([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writer->Release();
      });
    };
  });
  release.join();
  ASSERT_TRUE(writer);
  EXPECT_EQ(result.outcome, RunOutcome::Completed) << LastApplicationError(result.observer);
  EXPECT_EQ(XmlLintErrors(prepared.db.folder() / "out.xml", false), "");
  ExpectCleanEnding(prepared.db, result, check, "locked for a moment");
}

TEST(RunFaults, AWriterThatKeepsTheDatabaseLockedStopsTheRunAfterTheWait) {
  Prepared prepared;
  std::unique_ptr<ForeignWriter> writer;
  StatementProbe probe;
  PosDatabase connection(ProbedFactory(probe));
  // The lock itself would fail the check for an idle database file.
  EndingCheck check(&probe);
  const auto start = std::chrono::steady_clock::now();
  const ExportResult result = RunChecked(connection, prepared.db.folder(), DefaultRequest(), check,
                                         [&](RecordingObserver& o) {
                                           o.on_pending_events = [&] {
                                             if (o.status == "Exportação da lista de fornecedores" && !writer) {
                                               writer = std::make_unique<ForeignWriter>(prepared.db.database_file());
                                             }
                                           };
                                         });
  const auto waited = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(writer && writer->locked());
  EXPECT_GE(waited, std::chrono::seconds(9));
  const std::string message = LastApplicationError(result.observer);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_TRUE(message.ends_with(": database is locked (SQLite, query q_forn)")) << message;
  writer.reset();
  ExpectCleanEnding(prepared.db, result, check, "locked throughout");
  EXPECT_EQ(DumpDatabase(prepared.db), prepared.dump);
}

TEST(RunFaults, AnOutputFileThatCannotBeWrittenIsAnErrorOfTheRun) {
  // With more customers the writer's buffer fills while they are written,
  // so the full disk shows in the middle of the run and not only at close.
  for (const int customers : {0, 800}) {
    Prepared prepared;
    TestDatabase& db = prepared.db;
    for (int code = 10; code < 10 + customers; ++code) {
      db.Exec("INSERT INTO clientes (codigo, nome, morada) VALUES (?, ?, ?)",
              {code, "Cliente com um nome bastante comprido " + std::to_string(code), std::string(60, 'm')});
    }
    const std::string dump = DumpDatabase(db);
    struct Case {
      const char* typed;
      const char* file;
      std::function<void(const fs::path&)> make;  // puts something in the file's way
      std::string expected;
    };
    // Windows names the folder with its own separator and refuses to open a
    // folder as a file with "Permission denied"; it has no /dev/full.
    std::vector<Case> cases = {
        {"em falta\\out.txt", "em falta/out.xml", {},
         testing::kOnWindows ? "Cannot create file \"em falta\\out.xml\". No such file or directory."
                             : "Cannot create file \"em falta/out.xml\". No such file or directory."},
        {"pasta", "pasta.xml", [](const fs::path& file) { fs::create_directory(file); },
         testing::kOnWindows ? "Cannot create file \"pasta.xml\". Permission denied."
                             : "Cannot create file \"pasta.xml\". Is a directory."},
    };
    if (!testing::kOnWindows) {
      cases.push_back({"cheio", "cheio.xml", [](const fs::path& file) { fs::create_symlink("/dev/full", file); },
                       "Cannot write to file \"cheio.xml\". No space left on device."});
    }
    for (const Case& c : cases) {
      const std::string context = std::string(c.typed) + " with " + std::to_string(customers) + " more customers";
      ExportRequest request = DefaultRequest();
      request.ficheiro = c.typed;
      const fs::path file = db.folder() / c.file;
      StatementProbe probe;
      PosDatabase connection(ProbedFactory(probe));
      EndingCheck check(&probe);
      // What is in the file's way is put there as the file is about to be
      // created (the run removes nothing; the harness clears the name).
      const ExportResult result = ExportChecked(db, check, &connection, request, [&](RecordingObserver& o) {
        o.on_pending_events = [&o, &c, file] {
          if (o.status == "Criação do ficheiro de saida" && c.make) c.make(file);
        };
      }, false);
      ExpectFailureShown(result, c.expected, context);
      ExpectCleanEnding(db, result, check, context);
      EXPECT_EQ(DumpDatabase(db), dump) << context;
      std::error_code ignored;
      fs::remove(file, ignored);
    }
  }
  if (testing::kOnWindows) {
    GTEST_SKIP() << "the missing folder and the folder in the way ran; the full disk did not: Windows has no "
                    "/dev/full";
  }
}

TEST(RunFaults, AFolderWithoutWritePermissionIsAnErrorOfTheRun) {
  if (testing::kOnWindows) {
    GTEST_SKIP() << "Windows has no POSIX permission bits: a folder's read-only attribute does not stop new files";
  }
  Prepared prepared;
  ExportRequest request = DefaultRequest();
  std::vector<std::string> expected;
  const fs::path locked = prepared.db.folder() / "fechada";
  if (!testing::RunningAsSuperuser()) {
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    request.ficheiro = "fechada/out.xml";
    expected = {"Cannot create file \"fechada/out.xml\". Permission denied."};
  } else {
    // The superuser writes through file permissions; the kernel's sysfs
    // refuses a new file even to it.
    if (!fs::is_directory("/sys/kernel")) GTEST_SKIP() << "running as root without /sys: no folder refuses a file";
    request.ficheiro = "/sys/varnel-saft.xml";
    expected = {"Cannot create file \"/sys/varnel-saft.xml\". Permission denied.",
                "Cannot create file \"/sys/varnel-saft.xml\". Read-only file system."};
  }
  EndingCheck check;
  const ExportResult result = ExportChecked(prepared.db, check, nullptr, request);
  std::error_code ignored;
  fs::permissions(locked, fs::perms::owner_all, ignored);
  ExpectFailureShown(result, LastApplicationError(result.observer), "no permission");
  EXPECT_NE(std::find(expected.begin(), expected.end(), LastApplicationError(result.observer)), expected.end())
      << LastApplicationError(result.observer);
  ExpectCleanEnding(prepared.db, result, check, "no permission");
  EXPECT_EQ(DumpDatabase(prepared.db), prepared.dump);
}

// Checks an aborted run: the abort's status, the tail after the last
// complete element, and a well-formed file when the abort fell between
// documents. A run whose flag was cleared again (set during the
// maintenance) completes.
void ExpectAbortedCleanly(Prepared& prepared, const ExportResult& result, const EndingCheck& check,
                          const std::string& context) {
  SCOPED_TRACE(context);
  ExpectCleanEnding(prepared.db, result, check, context);
  EXPECT_EQ(DumpDatabase(prepared.db), prepared.dump);
  if (result.outcome == RunOutcome::Completed) {
    EXPECT_EQ(XmlLintErrors(prepared.db.folder() / "out.xml", false), "");
    return;
  }
  ASSERT_EQ(result.outcome, RunOutcome::Aborted);
  EXPECT_EQ(result.observer.status, "Operação abortada!");
  EXPECT_EQ(AbortedFileProblem(result), "");
  std::vector<std::string> body = result.lines();
  body.resize(body.size() - 2);
  const Nesting nesting = CheckNesting(body);
  if (nesting.open_elements == std::vector<std::string>{"AuditFile", "SourceDocuments"}) {
    EXPECT_EQ(XmlLintErrors(prepared.db.folder() / "out.xml", false), "");
  }
}

TEST(RunFaults, AbortAtEveryPointOfInputEndsThroughTheClosingTail) {
  // Enough documents that progress steps (and so the operator's chances to
  // abort) fall inside the consultation and receipt sections.
  Prepared prepared(SampleSize{4, 60, 55});
  int points = 0;
  {
    EndingCheck check;
    const ExportResult clean = ExportChecked(prepared.db, check);
    ASSERT_EQ(clean.outcome, RunOutcome::Completed);
    for (const auto& call : clean.observer.export_calls()) points += call == "processPendingEvents" ? 1 : 0;
  }
  ASSERT_GE(points, 10);
  for (int at = 1; at <= points; ++at) {
    const std::string context = "Abortar at point of input " + std::to_string(at);
    int seen = 0;
    EndingCheck check;
    const ExportResult result = ExportChecked(prepared.db, check, nullptr, DefaultRequest(), [&](RecordingObserver& o) {
      o.on_pending_events = [&seen, &o, at] {
        if (++seen == at) o.run->requestAbort();
      };
    });
    EXPECT_EQ(result.outcome, RunOutcome::Aborted) << context;
    ExpectAbortedCleanly(prepared, result, check, context);
  }
  std::cout << "Abortar at each of " << points << " points of input\n";

  // "Abortar" once the file is complete stops its verification only.
  EndingCheck check;
  const ExportResult result = ExportChecked(prepared.db, check, nullptr, DefaultRequest(), [](RecordingObserver& o) {
    o.abort_on_status = "Verificação do ficheiro";
  });
  EXPECT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(result.observer.status, "Ficheiro não verificado: verificação abortada");
  ASSERT_TRUE(result.observer.verification.has_value());
  EXPECT_FALSE(result.observer.verification->completed);
  ExpectCleanEnding(prepared.db, result, check, "Abortar during the verification");
  EXPECT_EQ(XmlLintErrors(prepared.db.folder() / "out.xml", false), "");
}

TEST(RunFaults, AbortSeenAtEveryStatementEndsThroughTheClosingTail) {
  // The flag set while a statement runs reaches the abort tests inside a
  // document too (the line loop, after the lines, after a consultation),
  // which an operator can reach only in principle.
  Prepared prepared;
  const std::vector<std::string> statements = StatementsOfACleanRun(prepared.db);
  int aborted = 0;
  for (std::size_t at = 0; at < statements.size(); ++at) {
    const std::string context = "abort requested at statement " + std::to_string(at) + " (" + statements[at] + ")";
    StatementProbe probe;
    PosDatabase connection(ProbedFactory(probe));
    EndingCheck check(&probe);
    auto abort_at_statement = [&](RecordingObserver& o) {
      ExportRun* run = o.run;
      probe.before_run = [run, at](int number, const std::string&) {
        if (number == static_cast<int>(at)) run->requestAbort();
      };
    };
    const ExportResult result = ExportChecked(prepared.db, check, &connection, DefaultRequest(), abort_at_statement);
    aborted += result.outcome == RunOutcome::Aborted ? 1 : 0;
    ExpectAbortedCleanly(prepared, result, check, context);
  }
  // Only an abort during the maintenance is cleared before the run starts.
  EXPECT_GT(aborted, static_cast<int>(statements.size()) - 10);
  std::cout << "Abort requested at each of " << statements.size() << " statements: " << aborted << " aborted, "
            << statements.size() - static_cast<std::size_t>(aborted)
            << " completed (set during the maintenance, cleared before the run starts)\n";
}

}  // namespace
}  // namespace varnel::testing::reliability
