// The amounts of one document as its lines and totals are read, and the rules
// that tie them together, the same for every kind of document (invoices,
// stock movements, working documents, receipts):
//   - a line's value is its CreditAmount, or minus its DebitAmount; its tax
//     is TaxPercentage of its taxable base (its TaxBase when it has one, as
//     stamp duty lines do, whose amounts are 0; otherwise its amount), or its
//     TaxAmount, on the line's side;
//   - a document stands on the side its lines sum to: a credit note or a
//     refund through a receipt sums to the debit side and still writes
//     positive totals, which the schema asks of every total;
//   - NetTotal is the lines' value (one cent of tolerance), TaxPayable their
//     tax (one cent, and half a cent more for each further line with tax,
//     since programs round each line's tax), GrossTotal NetTotal + TaxPayable
//     (one cent);
//   - a settlement discount may be deducted from GrossTotal, and the tax on
//     it from TaxPayable (a receipt's Settlement is the sum of its lines');
//   - a withholding tax stands beside the totals and cannot exceed GrossTotal;
//   - a foreign currency's CurrencyAmount times ExchangeRate (or divided by
//     it, as some programs write the rate) gives GrossTotal, within the
//     rounding of the rate as written;
//   - lines whose value and tax have opposite signs (a receipt settling an
//     invoice and a credit note of other rates) cannot be written coherently
//     with positive totals: one warning naming the document, and the totals
//     checked as the lines' absolute sums.
#pragma once

#include <optional>
#include <string>

#include "verify/audit_sections.h"
#include "verify/decimal_amount.h"
#include "verify/finding_list.h"

namespace varnel::verify {

// One line of a document as read.
struct LineState {
  std::optional<DecimalAmount> debit;
  std::optional<DecimalAmount> credit;
  std::optional<DecimalAmount> tax_base;
  std::optional<DecimalAmount> unit_price;
  std::optional<DecimalAmount> quantity;
  std::optional<DecimalAmount> settlement;
  bool has_tax = false;
  bool has_tax_type = false;
  std::string tax_type;
  std::string tax_region;
  std::string tax_code;
  std::optional<DecimalAmount> tax_percentage;
  std::optional<DecimalAmount> tax_amount;
  bool unreadable_tax = false;
  std::optional<std::string> exemption_reason;
  std::optional<std::string> exemption_code;
  bool has_references = false;

  // Credit positive, debit negative.
  DecimalAmount Value() const;
  // 1 written as CreditAmount, -1 as DebitAmount, 0 neither.
  int Side() const;
};

// The tax a line carries, credit side positive, and the base it was taken
// on; no tax when the line has no Tax or its values are unreadable;
// overflow when TaxPercentage of the base cannot be computed.
struct LineTax {
  std::optional<DecimalAmount> tax;
  DecimalAmount base;
  bool overflow = false;
};
LineTax TaxOfLine(const LineState& line);

enum class DocumentSide { None, Credit, Debit };

struct DocumentAmounts {
  DecimalAmount credit;
  DecimalAmount debit;
  DecimalAmount tax;  // credit side positive
  int lines_with_tax = 0;
  DecimalAmount line_settlement;  // the lines' SettlementAmount
  bool has_line_settlement = false;
  std::optional<DecimalAmount> tax_payable;
  std::optional<DecimalAmount> net_total;
  std::optional<DecimalAmount> gross_total;
  DecimalAmount settlement;  // DocumentTotals/Settlement/SettlementAmount
  bool has_settlement = false;
  DecimalAmount withholding;  // WithholdingTax/WithholdingTaxAmount
  bool has_withholding = false;
  std::optional<DecimalAmount> currency_amount;
  std::optional<DecimalAmount> exchange_rate;
  int exchange_rate_decimals = 0;

  void AddLine(const LineState& line, const LineTax& tax);
};

// The document's totals against its lines, its settlement, withholding and
// currency; findings go to findings under section and number. Returns the
// side the lines sum to.
DocumentSide CheckDocumentAmounts(const DocumentAmounts& amounts, SectionId section, const std::string& number,
                                  FindingList& findings);

}  // namespace varnel::verify
