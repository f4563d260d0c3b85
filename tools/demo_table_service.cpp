// Writes one table's consultations, its closing sale and their links. The
// consultations and the sale are paid the same way; the sale's total is the
// sum of the consultations' totals, and each link carries its
// consultation's total. Draws come in a fixed order: how many consultations,
// whether one was annulled, the payment, the lines, then the sale's code and
// party.
#include "tools/demo_table_service.h"

#include <utility>
#include <vector>

namespace varnel::demo {

DemoTableService::DemoTableService(DemoRandom& random, DemoDocumentWriter& writer,
                                   DemoSaleLines& lines, DemoCustomers& customers,
                                   DemoSales& sales, DemoDatabaseSummary& summary)
    : m_random(random),
      m_writer(writer),
      m_lines(lines),
      m_customers(customers),
      m_sales(sales),
      m_summary(summary) {}

void DemoTableService::Write(std::int64_t remaining) {
  static constexpr int kSaleCodes[] = {60, 30, 10};  // TK, FS, FA
  static constexpr const char* kCodes[] = {"TK", "FS", "FA"};
  std::int64_t consultations = remaining >= 3 && m_random.Chance(200) ? 2 : 1;
  bool annulled_first = remaining >= consultations + 2 && m_random.Chance(20);
  int payment = PickPayment(m_random);

  if (annulled_first) {
    // A consultation printed by mistake and annulled: linked to nothing.
    Document wrong = Consultation(payment, true);
    m_writer.Emit(wrong);
  }
  std::vector<Document> tables;
  for (std::int64_t i = 0; i < consultations; ++i) {
    Document consultation = Consultation(payment, false);
    m_writer.Emit(consultation);
    tables.push_back(std::move(consultation));
  }

  Document sale = NewDocument(kCodes[m_random.Weighted(kSaleCodes)]);
  for (const Document& consultation : tables) {
    sale.lines.insert(sale.lines.end(), consultation.lines.begin(), consultation.lines.end());
  }
  sale.party = ClosingSaleParty(sale.code);
  sale.code = m_sales.SaleCode(sale.code);
  sale.payment = payment;
  m_writer.Emit(sale);
  for (const Document& consultation : tables) {
    m_writer.Settle({{"CM", consultation.number}, {sale.code.c_str(), sale.number}},
                    consultation.total_cents, sale.day);
    ++m_summary.consultation_links;
  }
  m_sales.Remember(sale);
}

Document DemoTableService::Consultation(int payment, bool annulled) {
  static constexpr int kLineCounts[] = {15, 25, 25, 15, 12, 8};
  Document consultation = NewDocument("CM");
  consultation.lines = m_lines.MakeLines(LineContext::Table, kLineCounts);
  consultation.annulled = annulled;
  consultation.payment = payment;
  return consultation;
}

// An invoice goes to a registered customer or to someone named only by a
// taxpayer number; a ticket or simplified invoice to whoever sat there.
Party DemoTableService::ClosingSaleParty(const std::string& code) {
  if (code == "FA") {
    if (m_random.Chance(600)) return m_customers.AnyCustomer();
    Party party = m_customers.ConsumerParty(1000);
    party.customer = 0;
    return party;
  }
  return m_customers.ConsumerParty(code == "FS" ? 400 : 80);
}

}  // namespace varnel::demo
