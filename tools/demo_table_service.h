// Table service in the demo restaurant: one or two table consultations (CM)
// while the table orders, then the sale that closes the table (TK, FS or FA)
// with all the consultations' lines, and one compensacoes row linking each
// consultation to that sale on the sale's day. Now and then a consultation
// printed by mistake comes first, annulled and linked to nothing.
#pragma once

#include <cstdint>
#include <string>

#include "tools/demo_customers.h"
#include "tools/demo_database.h"
#include "tools/demo_document.h"
#include "tools/demo_document_writer.h"
#include "tools/demo_random.h"
#include "tools/demo_sale_lines.h"
#include "tools/demo_sales.h"

namespace varnel::demo {

class DemoTableService {
 public:
  DemoTableService(DemoRandom& random, DemoDocumentWriter& writer, DemoSaleLines& lines,
                   DemoCustomers& customers, DemoSales& sales, DemoDatabaseSummary& summary);

  // One table, in at most remaining documents (remaining >= 2).
  void Write(std::int64_t remaining);

 private:
  Document Consultation(int payment, bool annulled);
  Party ClosingSaleParty(const std::string& code);

  DemoRandom& m_random;
  DemoDocumentWriter& m_writer;
  DemoSaleLines& m_lines;
  DemoCustomers& m_customers;
  DemoSales& m_sales;
  DemoDatabaseSummary& m_summary;
};

}  // namespace varnel::demo
