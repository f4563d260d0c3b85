// The sales documents of the demo period outside table service: counter
// sales (TK, FS, VD, FT; some tickets are staff meals, pagamento 6, left out
// of the audit file; from 2013 the tickets and cash sales are simplified
// invoices, FS, and only the staff meals stay tickets), company invoices (FA, sometimes with an IRS withholding
// line, often on credit and then open for a receipt) and credit notes (NC)
// crediting the last lines of a recent sale. The last 64 sales that a credit
// note may credit are kept; a sale is credited at most once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "tools/demo_customers.h"
#include "tools/demo_database.h"
#include "tools/demo_document.h"
#include "tools/demo_document_writer.h"
#include "tools/demo_random.h"
#include "tools/demo_receipts.h"
#include "tools/demo_sale_lines.h"

namespace varnel::demo {

class DemoSales {
 public:
  DemoSales(const DemoDatabaseOptions& options, DemoRandom& random, DemoDocumentWriter& writer,
            DemoSaleLines& lines, DemoCustomers& customers, DemoReceipts& receipts);

  void WriteCounterSale();
  void WriteCompanyInvoice();
  // False (and nothing written) when no recent sale is there to credit.
  bool WriteCreditNote();

  // Keeps a sale just written for a later credit note, unless it is
  // annulled, left out or carries a withholding line.
  void Remember(const Document& sale);
  // The code a sale drawn as code is written with: in a present-day period
  // a ticket (TK) or cash sale (VD) is a simplified invoice (FS).
  std::string SaleCode(const std::string& code) const;

 private:
  bool IsStaffMeal(const Document& sale);
  std::size_t PickSaleToCredit();
  Document CreditLines(const Document& original);

  const DemoDatabaseOptions& m_options;
  DemoRandom& m_random;
  DemoDocumentWriter& m_writer;
  DemoSaleLines& m_lines;
  DemoCustomers& m_customers;
  DemoReceipts& m_receipts;

  std::deque<Document> m_recent_sales;
  std::int64_t m_last_staff_meal_day = -1;
};

}  // namespace varnel::demo
