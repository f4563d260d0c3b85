// The control totals of a generated month equal what the tax authority's
// client recomputes from the file: NumberOfEntries the documents listed,
// TotalDebit and TotalCredit the sums of the DebitAmount and CreditAmount of
// the lines of the documents not annulled, to the last written digit, in
// SalesInvoices, WorkingDocuments and Payments alike (the demo month has
// receipts settling invoices of other days, where a settlement-based
// computation and the lines disagree).
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "base/value_routines.h"
#include "support/export_harness.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_workdir.h"

namespace varnel {
namespace {

// A decimal text as ten-thousandths (the file writes at most four decimals).
std::int64_t TenThousandths(const std::string& text) {
  const bool negative = !text.empty() && text[0] == '-';
  std::int64_t whole = 0;
  std::int64_t fraction = 0;
  int digits = 0;
  bool after_point = false;
  for (const char c : text.substr(negative ? 1 : 0)) {
    if (c == '.') {
      after_point = true;
    } else if (after_point) {
      fraction = fraction * 10 + (c - '0');
      ++digits;
    } else {
      whole = whole * 10 + (c - '0');
    }
  }
  for (; digits < 4; ++digits) fraction *= 10;
  const std::int64_t value = whole * 10000 + fraction;
  return negative ? -value : value;
}

std::string ElementValue(const std::string& line, const std::string& tag) {
  const std::string open = "<" + tag + ">";
  const auto start = line.find(open);
  if (start == std::string::npos) return {};
  const auto end = line.find("</" + tag + ">", start);
  return line.substr(start + open.size(), end - start - open.size());
}

struct SectionSums {
  std::int64_t entries_written = -1, debit_written = 0, credit_written = 0;
  std::int64_t documents = 0, debit = 0, credit = 0;
};

// Each section's stated totals and those recomputed from its lines.
std::map<std::string, SectionSums> RecomputeTotals(const std::vector<std::string>& lines) {
  std::map<std::string, SectionSums> sections;
  std::string section;
  bool annulled = false;
  for (const std::string& raw : lines) {
    const std::string line = TrimBlanks(raw);
    for (const char* name : {"SalesInvoices", "WorkingDocuments", "Payments"}) {
      if (line == std::string("<") + name + ">") section = name;
    }
    if (section.empty()) continue;
    SectionSums& sums = sections[section];
    if (line.starts_with("<NumberOfEntries>")) sums.entries_written = std::stoll(ElementValue(line, "NumberOfEntries"));
    if (line.starts_with("<TotalDebit>")) sums.debit_written = TenThousandths(ElementValue(line, "TotalDebit"));
    if (line.starts_with("<TotalCredit>")) sums.credit_written = TenThousandths(ElementValue(line, "TotalCredit"));
    if (line == "<Invoice>" || line == "<WorkDocument>" || line == "<Payment>") ++sums.documents;
    for (const char* status : {"InvoiceStatus", "WorkStatus", "PaymentStatus"}) {
      if (line.starts_with(std::string("<") + status + ">")) annulled = ElementValue(line, status) == "A";
    }
    if (!annulled && line.starts_with("<DebitAmount>")) sums.debit += TenThousandths(ElementValue(line, "DebitAmount"));
    if (!annulled && line.starts_with("<CreditAmount>")) {
      sums.credit += TenThousandths(ElementValue(line, "CreditAmount"));
    }
  }
  return sections;
}

TEST(DemoControlTotals, EverySectionsTotalsEqualItsLines) {
  testing::TempDir dir;
  demo::DemoDatabaseOptions options;
  options.period.first_day = demo::DayNumber({2016, 1, 1});
  options.period.last_day = demo::DayNumber({2016, 1, 31});
  options.documents = 2000;
  options.seed = 2016;
  demo::WriteDemoWorkingDirectory(dir.path(), options);
  for (const int type : {0, 1}) {
    ExportRequest request = testing::DefaultRequest();
    request.saftType = SaftTypeOfIndex(type);
    PosDatabase connection;
    const testing::ExportResult result = testing::RunExportWith(connection, dir.path(), request);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    const auto sections = RecomputeTotals(result.lines());
    ASSERT_EQ(sections.size(), 3u);
    for (const auto& [name, sums] : sections) {
      SCOPED_TRACE(name + ", type " + std::to_string(type));
      EXPECT_GT(sums.documents, 0);
      EXPECT_EQ(sums.entries_written, sums.documents);
      EXPECT_EQ(sums.debit_written, sums.debit);
      EXPECT_EQ(sums.credit_written, sums.credit);
    }
  }
}

}  // namespace
}  // namespace varnel
