// Writes the demo documents: one documentos row a document with its vendas
// rows, numbered per document code from 1 in the order written, stamped by
// the timeline and signed; and the compensacoes rows that link a table
// consultation to its sale or a receipt to what it settles. The stored
// total is the sum of the line totals (withholding included) and liquido
// the sum of the tax-exclusive amounts (withholding left out), unless a
// receipt sets its own. Its statements are prepared once and live as long as
// the writer, which must be gone before the transaction is committed.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "tools/demo_database.h"
#include "tools/demo_document.h"
#include "tools/demo_random.h"
#include "tools/demo_signature.h"
#include "tools/demo_timeline.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {

class DemoDocumentWriter {
 public:
  DemoDocumentWriter(tools::SqliteFile& file, const DemoDatabaseOptions& options,
                     DemoRandom& random, DemoDatabaseSummary& summary);

  // The next document opens a new event (see DemoTimeline).
  void StartEvent() { m_timeline.StartEvent(); }
  // Stamps, numbers, totals and signs document, then writes it and its lines.
  void Emit(Document& document);
  // One compensacoes row: each column names a settling or linked document.
  void Settle(std::initializer_list<std::pair<const char*, std::int64_t>> columns,
              std::int64_t valor_cents, std::int64_t day);

  std::int64_t produced() const { return m_produced; }
  // The day the next document falls on, before its spread.
  std::int64_t NextDocumentDay() const { return m_timeline.BaseStamp(m_produced).day; }

 private:
  // Sums the lines into the document's totals; the exemption code of its
  // first line at rate 0 (withholding aside), or "".
  static std::string AddUpLines(Document& document);
  void InsertDocument(const Document& document, const DemoSignature& signature,
                      const std::string& exemption, const std::string& day_text);
  void InsertLines(const Document& document, const std::string& day_text);
  void CountDocument(const Document& document, const DemoSignature& signature);
  // The signature fields of document, signed when the audit file carries a
  // signature for it.
  DemoSignature SignDocument(const Document& document);

  const DemoDatabaseOptions& m_options;
  DemoRandom& m_random;
  DemoDatabaseSummary& m_summary;
  DemoTimeline m_timeline;
  DemoSigner m_signer;

  tools::SqliteStatement m_insert_document;
  tools::SqliteStatement m_insert_line;
  tools::SqliteStatement m_insert_settlement;

  std::map<std::string, std::int64_t> m_numbers;  // the last number of each code
  std::int64_t m_produced = 0;
};

}  // namespace varnel::demo
