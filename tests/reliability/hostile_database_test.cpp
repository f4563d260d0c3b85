// The property every database must satisfy, whatever it holds: a whole
// export either completes with a well-formed file that lists every document
// of the period it should, or stops with a clear error, the window back on
// its data panel, nothing left open - never a crash, a hang or a silent loss.
// Each case builds a small hostile database from its seed and exports it
// four times: both SAF-T types under both schema generations. Half the cases
// are tame (every value representable: they must complete), half may hold
// wild values (beyond what the file can carry: they may fail, clearly).
//
// CI runs the default seed and case count; scripts/property.sh passes
// --seed=N --cases=N for many more. A failure names the case's seed; rerun
// it alone with --seed=<that seed> --cases=1.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/utf8.h"
#include "base/value_routines.h"
#include "reliability/support/hostile_database.h"
#include "reliability/support/reliability_options.h"
#include "reliability/support/run_checks.h"
#include "support/export_harness.h"

namespace varnel::testing::reliability {
namespace {

// Ends the process with the case's description when one run takes longer
// than any export of a few rows can: a hang is a failure, not a wait.
class Watchdog {
 public:
  Watchdog(std::chrono::seconds limit, std::string what) : m_what(std::move(what)) {
    m_thread = std::thread([this, limit] {
      std::unique_lock lock(m_mutex);
      if (!m_done_signal.wait_for(lock, limit, [this] { return m_done; })) {
        std::fprintf(stderr, "HANG: %s did not end within %lld s\n", m_what.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::abort();
      }
    });
  }
  ~Watchdog() {
    {
      std::lock_guard lock(m_mutex);
      m_done = true;
    }
    m_done_signal.notify_one();
    m_thread.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::string m_what;
  std::mutex m_mutex;
  std::condition_variable m_done_signal;
  bool m_done = false;
  std::thread m_thread;
};

struct Tally {
  int cases = 0;
  int wild_cases = 0;
  int runs = 0;
  int completed = 0;
  int failed = 0;
  int failing_cases = 0;
  std::map<std::string, int> errors;  // first words of each error text
};

// Checks one run; returns what is wrong ("" when nothing).
std::string CheckRun(const HostileCase& kase, TestDatabase& db, SchemaGeneration generation,
                     const ExportRequest& request, const ExportResult& result, Tally& tally) {
  std::ostringstream problems;
  const RecordingObserver& observer = result.observer;
  if (const std::string panel = DataPanelProblem(observer); !panel.empty()) problems << panel << "\n";
  if (!DatabaseIsIdle(db.database_file())) problems << "a statement still holds the database\n";
  if (FileIsOpen(db.folder() / "out.xml")) problems << "the audit file is still open\n";

  if (result.outcome == RunOutcome::Failed) {
    ++tally.failed;
    const std::string message = LastApplicationError(observer);
    if (TrimBlanks(message).empty()) problems << "the run failed without an error text\n";
    if (!IsValidUtf8(message)) problems << "the error text is not valid UTF-8: " << message << "\n";
    if (!kase.wild()) problems << "a case with only representable values failed: " << message << "\n";
    ++tally.errors[CharacterPrefix(message, 48)];
    return problems.str();
  }
  if (result.outcome != RunOutcome::Completed) {
    problems << "the run ended neither completed nor failed (outcome " << static_cast<int>(result.outcome) << ")\n";
    return problems.str();
  }
  ++tally.completed;
  if (const std::string lint = XmlLintErrors(db.folder() / "out.xml", false); !lint.empty()) {
    problems << "xmllint rejects the file:\n" << lint << "\n";
  }

  const int invoices = kase.ExpectedInvoices(generation);
  const int work_documents = kase.ExpectedWorkDocuments();
  const int payments = kase.ExpectedPayments();
  auto expect_count = [&](std::string_view line, std::int64_t expected) {
    const int found = CountLines(result, line);
    if (found != expected) problems << line << ": " << found << " written, " << expected << " expected\n";
  };
  expect_count("<Invoice>", invoices);
  expect_count("<WorkDocument>", work_documents);
  expect_count("<Payment>", payments);
  expect_count("<Customer>", 1 + db.QueryInteger("SELECT COUNT(*) FROM clientes WHERE codigo > 1"));
  expect_count("<Supplier>", 1 + db.QueryInteger("SELECT COUNT(*) FROM fornecedores WHERE codigo > 0"));
  expect_count("<TaxTableEntry>", db.QueryInteger("SELECT COUNT(*) FROM iva"));
  // Product 0, then the codes the period sold, and for the Normal type those
  // of the product table too.
  std::string products = "SELECT COUNT(*) FROM (SELECT DISTINCT codigo FROM vendas WHERE codigo > 0 AND codigo <> -999 "
                         "AND data >= '" + kase.period_start + "' AND data <= '" + kase.period_end + "'";
  if (request.saftType == SaftType::Normal) products += " UNION SELECT codigo FROM produtos WHERE codigo > 0 AND codigo <> -999";
  expect_count("<Product>", 1 + db.QueryInteger(products + ")"));
  // Each section's NumberOfEntries agrees with what it lists.
  std::vector<std::string> entries = ElementValues(result, "NumberOfEntries");
  std::vector<std::string> wanted;
  wanted.push_back(IntText(invoices));
  wanted.push_back(IntText(work_documents));
  if (payments > 0) wanted.push_back(IntText(payments));
  if (entries != wanted) {
    problems << "NumberOfEntries:";
    for (const auto& value : entries) problems << " " << value;
    problems << " written, expected";
    for (const auto& value : wanted) problems << " " << value;
    problems << "\n";
  }
  const std::string count = IntText(invoices + work_documents + payments);
  if (observer.export_status() != "Exportados " + count + " de " + count + " registos. Exportação efectuada") {
    problems << "final status: " << observer.export_status() << "\n";
  }
  // The verifier read the file back to its end (its findings on hostile
  // content are the content's own business).
  if (!observer.verification || !observer.verification->completed) problems << "the file was not verified\n";
  return problems.str();
}

std::string RunName(std::uint64_t seed, bool wild, SchemaGeneration generation, SaftType saft_type) {
  return "case seed " + std::to_string(seed) + (wild ? " (wild)" : " (tame)") +
         (generation == SchemaGeneration::Current ? ", Current" : ", Legacy") +
         (saft_type == SaftType::Normal ? ", Normal" : ", Resumido");
}

TEST(HostileDatabase, EveryExportEndsWellFormedOrWithAClearError) {
  const PropertyOptions& options = Options();
  Tally tally;
  for (int index = 0; index < options.cases; ++index) {
    const std::uint64_t seed = options.seed + static_cast<std::uint64_t>(index);
    TestDatabase db;
    const bool allow_wild = seed % 2 == 1;
    const HostileCase kase = BuildHostileCase(seed, db, allow_wild);
    ++tally.cases;
    tally.wild_cases += kase.wild() ? 1 : 0;
    bool case_failed = false;
    for (const SchemaGeneration generation : {SchemaGeneration::Current, SchemaGeneration::Legacy}) {
      SetGeneration(db, generation, seed);
      for (const SaftType saft_type : {SaftType::Normal, SaftType::Resumido}) {
        ExportRequest request = kase.request;
        request.saftType = saft_type;
        const std::string name = RunName(seed, kase.wild(), generation, saft_type);
        ExportResult result;
        EndingCheck ending;
        ending.database_file = db.database_file();
        {
          Watchdog watchdog(std::chrono::seconds(60), name);
          result = RunChecked(db.database(), db.folder(), request, ending);
        }
        ++tally.runs;
        std::string problems = CheckRun(kase, db, generation, request, result, tally);
        for (const auto& problem : ending.problems) problems += problem + "\n";
        if (!problems.empty()) {
          case_failed = true;
          std::string wild_values;
          for (const auto& what : kase.wild_values) wild_values += " " + what;
          ADD_FAILURE() << name << ":\n"
                        << problems << "wild values:" << (wild_values.empty() ? " none" : wild_values)
                        << "\nrerun: reliability_tests --gtest_filter=HostileDatabase.* --seed=" << seed
                        << " --cases=1";
        }
      }
    }
    if (case_failed && ++tally.failing_cases >= 5) {
      ADD_FAILURE() << "stopped after 5 failing cases";
      break;
    }
  }
  std::cout << "Hostile databases: " << tally.cases << " cases (" << tally.wild_cases << " wild), " << tally.runs
            << " exports: " << tally.completed << " completed, " << tally.failed << " stopped with an error"
            << "\n";
  for (const auto& [error, times] : tally.errors) std::cout << "  " << times << " x " << error << "\n";
}

}  // namespace
}  // namespace varnel::testing::reliability
