// Fills a new point-of-sale database with a deterministic restaurant period,
// in one transaction; one DemoRandom feeds every part in a fixed order, so the
// same options give the same bytes. In the order they write: schema and
// versao (demo_schema), fixed master data (demo_master_data), customers and
// walk-in taxpayers (demo_customers), then events of one to four documents:
// table service (demo_table_service), a counter sale, company invoice or
// credit note (demo_sales), a receipt (demo_receipts). demo_document_writer
// stamps, numbers and writes every document.
#include "tools/demo_database.h"

#include <stdexcept>

#include "tools/demo_customers.h"
#include "tools/demo_document_writer.h"
#include "tools/demo_master_data.h"
#include "tools/demo_random.h"
#include "tools/demo_receipts.h"
#include "tools/demo_sale_lines.h"
#include "tools/demo_sales.h"
#include "tools/demo_schema.h"
#include "tools/demo_table_service.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {

namespace {

using tools::SqliteFile;

class DemoGenerator {
 public:
  DemoGenerator(SqliteFile& file, const DemoDatabaseOptions& options)
      : m_file(file), m_options(options), m_random(options.seed) {}

  DemoDatabaseSummary Run() {
    CreateDemoSchema(m_file);
    m_file.ExecuteScript("BEGIN", "begin");
    {
      // The parts and their statements end here, before the commit.
      DemoDocumentWriter writer(m_file, m_options, m_random, m_summary);
      WriteSchemaVersion(m_file);
      WriteFixedMasterData(m_file, m_summary);
      DemoCustomers customers(m_file, m_options, m_random, m_summary);
      customers.Write();
      customers.BuildWalkInTaxpayers();
      DemoSaleLines lines(m_random);
      DemoReceipts receipts(m_random, writer, m_summary);
      DemoSales sales(m_options, m_random, writer, lines, customers, receipts);
      DemoTableService tables(m_random, writer, lines, customers, sales, m_summary);
      WriteEvents(writer, tables, sales, receipts);
    }
    m_file.ExecuteScript("COMMIT", "commit");
    return m_summary;
  }

 private:
  // Events until exactly the number of documents asked for is written; an
  // event that cannot take place (too few documents left for a table, no
  // sale to credit, no invoice open) becomes a counter sale.
  void WriteEvents(DemoDocumentWriter& writer, DemoTableService& tables, DemoSales& sales,
                   DemoReceipts& receipts) {
    enum Event { kTable, kCounter, kCompanyInvoice, kCreditNote, kReceipt };
    static constexpr int kWeights[] = {400, 400, 70, 30, 60};
    while (writer.produced() < m_options.documents) {
      writer.StartEvent();
      std::int64_t remaining = m_options.documents - writer.produced();
      switch (m_random.Weighted(kWeights)) {
        case kTable:
          if (remaining >= 2) {
            tables.Write(remaining);
          } else {
            sales.WriteCounterSale();
          }
          break;
        case kCounter:
          sales.WriteCounterSale();
          break;
        case kCompanyInvoice:
          sales.WriteCompanyInvoice();
          break;
        case kCreditNote:
          if (!sales.WriteCreditNote()) sales.WriteCounterSale();
          break;
        default:
          if (!receipts.WriteReceipt()) sales.WriteCounterSale();
          break;
      }
    }
  }

  SqliteFile& m_file;
  DemoDatabaseOptions m_options;
  DemoRandom m_random;
  DemoDatabaseSummary m_summary;
};

}  // namespace

bool IsPresentDay(const DemoDatabaseOptions& options) {
  return !options.legacy_tickets && options.period.first_day >= DayNumber({2013, 1, 1});
}

DemoDatabaseSummary WriteDemoDatabase(const std::filesystem::path& path,
                                      const DemoDatabaseOptions& options) {
  if (options.documents < 1) throw std::invalid_argument("the number of documents must be at least 1");
  if (options.period.length() < 1) throw std::invalid_argument("the period must have at least one day");
  if (options.series_index < 1 || options.series_index > 26) {
    throw std::invalid_argument("the series index must be 1 to 26");
  }
  if (options.unsigned_per_thousand < 0 || options.without_series_letter_per_thousand < 0 ||
      options.unsigned_per_thousand + options.without_series_letter_per_thousand > 1000) {
    throw std::invalid_argument("the shares of unsigned documents and numbers without series letter must be 0 to 1000");
  }
  SqliteFile file(path, SqliteFile::Mode::Create);
  DemoDatabaseSummary summary;
  {
    DemoGenerator generator(file, options);
    summary = generator.Run();
  }
  file.Close();
  return summary;
}

}  // namespace varnel::demo
