// Writes the counter sales, company invoices and credit notes of the demo
// period. A credit note negates the quantities and amounts of the lines it
// credits; when it credits the only line of a sale, of whole units, one unit
// comes back. A credit note for an invoice still open is settled with it,
// or closes it when it credits the whole remaining amount.
#include "tools/demo_sales.h"

#include <utility>
#include <vector>

#include "tools/demo_catalogue.h"

namespace varnel::demo {

DemoSales::DemoSales(const DemoDatabaseOptions& options, DemoRandom& random,
                     DemoDocumentWriter& writer, DemoSaleLines& lines, DemoCustomers& customers,
                     DemoReceipts& receipts)
    : m_options(options),
      m_random(random),
      m_writer(writer),
      m_lines(lines),
      m_customers(customers),
      m_receipts(receipts) {}

void DemoSales::Remember(const Document& sale) {
  if (sale.annulled || sale.payment == kPaymentLeftOut || sale.has_withholding) return;
  m_recent_sales.push_back(sale);
  if (m_recent_sales.size() > 64) m_recent_sales.pop_front();
}

std::string DemoSales::SaleCode(const std::string& code) const {
  if ((code == "TK" || code == "VD") && IsPresentDay(m_options)) return "FS";
  return code;
}

// The draws are the same in every period (the code drawn decides the
// party's chances); only the code written differs.
void DemoSales::WriteCounterSale() {
  static constexpr int kLineCounts[] = {50, 35, 15};
  static constexpr int kSaleCodes[] = {70, 15, 8, 7};  // TK, FS, VD, FT
  static constexpr const char* kCodes[] = {"TK", "FS", "VD", "FT"};
  Document sale = NewDocument(kCodes[m_random.Weighted(kSaleCodes)]);
  sale.lines = m_lines.MakeLines(LineContext::Counter, kLineCounts);
  sale.party = m_customers.ConsumerParty(sale.code == "FS" ? 400 : sale.code == "FT" ? 500 : 80);
  if (sale.code == "FT" && m_random.Chance(400)) sale.party = m_customers.AnyCustomer();
  sale.payment = PickPayment(m_random);
  if (IsStaffMeal(sale)) {
    sale.payment = kPaymentLeftOut;  // an internal ticket in every period
  } else {
    sale.code = SaleCode(sale.code);
  }
  sale.annulled = m_random.Chance(15);
  m_writer.Emit(sale);
  Remember(sale);
}

// Staff meals: tickets with no one named, now and then, and on every tenth
// day of the period at least once.
bool DemoSales::IsStaffMeal(const Document& sale) {
  if (sale.code != "TK" || sale.party.customer > 1 || sale.party.taxpayer) return false;
  std::int64_t day = m_writer.NextDocumentDay();
  bool staff_day = (day - m_options.period.first_day) % 10 == 9 && day != m_last_staff_meal_day;
  if (!staff_day && !m_random.Chance(20)) return false;
  m_last_staff_meal_day = day;
  return true;
}

void DemoSales::WriteCompanyInvoice() {
  static constexpr int kLineCounts[] = {35, 35, 20, 10};
  Document invoice = NewDocument("FA");
  invoice.party = m_customers.AnyCompanyCustomer();
  invoice.lines = m_lines.MakeLines(LineContext::Invoice, kLineCounts);
  std::int64_t withheld = 0;
  for (const SaleLine& line : invoice.lines) {
    if (line.product == kRoomRentalProduct) {
      withheld += DivideRounded(line.net_raw * kWithholdingPercent, 100 * 100);
    }
  }
  if (withheld != 0) invoice.lines.push_back(DemoSaleLines::WithholdingLine(withheld));
  bool on_credit = m_random.Chance(700);
  invoice.payment = on_credit ? kPaymentOnCredit : PickPayment(m_random);
  invoice.annulled = !on_credit && m_random.Chance(15);
  m_writer.Emit(invoice);
  if (on_credit) m_receipts.AddOpenInvoice(invoice);
  Remember(invoice);
}

bool DemoSales::WriteCreditNote() {
  if (m_recent_sales.empty()) return false;
  std::size_t which = PickSaleToCredit();
  Document original = std::move(m_recent_sales[which]);
  m_recent_sales.erase(m_recent_sales.begin() + static_cast<std::ptrdiff_t>(which));

  Document note = CreditLines(original);
  OpenInvoice* open = original.code == "FA" ? m_receipts.FindOpenInFull(original.number) : nullptr;
  note.annulled = open == nullptr && m_random.Chance(30);
  m_writer.Emit(note);
  if (open != nullptr) {
    if (-note.total_cents < open->remaining_cents) {
      open->credit_notes.push_back({note.number, note.total_cents, note.net_raw});
    } else {
      // Credited in full: nothing is left for a receipt to settle.
      m_receipts.Close(original.number);
    }
  }
  return true;
}

// Any recent sale; now and then an invoice still waiting for its receipt.
std::size_t DemoSales::PickSaleToCredit() {
  std::size_t which = static_cast<std::size_t>(m_random.Below(m_recent_sales.size()));
  if (m_random.Chance(400)) {
    for (std::size_t i = 0; i < m_recent_sales.size(); ++i) {
      const Document& sale = m_recent_sales[i];
      if (sale.code == "FA" && sale.payment == kPaymentOnCredit &&
          m_receipts.IsOpenInFull(sale.number)) {
        return i;
      }
    }
  }
  return which;
}

// A credit note for the last lines of original (all but the first, at most).
Document DemoSales::CreditLines(const Document& original) {
  Document note = NewDocument("NC");
  note.party = original.party;
  note.payment = original.payment;
  std::size_t count = original.lines.size();
  std::size_t credited = count == 1 ? 1 : static_cast<std::size_t>(m_random.Between(1, count - 1));
  for (std::size_t i = 0; i < credited; ++i) {
    SaleLine line = original.lines[count - 1 - i];
    if (count == 1 && line.quantity_milli >= 2000 && line.quantity_milli % 1000 == 0) {
      // One unit of the only line comes back.
      line.quantity_milli = 1000;
      line.discount_cents = 0;
      line.total_cents = line.unit_cents;
      line.net_raw = DivideRounded(line.total_cents * 10000, 100 + line.vat);
    }
    line.quantity_milli = -line.quantity_milli;
    line.discount_cents = -line.discount_cents;
    line.total_cents = -line.total_cents;
    line.net_raw = -line.net_raw;
    note.lines.push_back(std::move(line));
  }
  return note;
}

}  // namespace varnel::demo
