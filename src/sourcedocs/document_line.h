// The Line element of every document section: sales invoices, working
// documents and payments write their lines through WriteDocumentLine, in the
// schema's order (LineNumber, the references, the product part, the amount
// as a debit or a credit, the Tax block, the exemption reason, the
// settlement). The DocumentTotals block and the customer reference rule are
// shared here too. A line is gathered whole (its queries run, its values
// converted) before its first tag is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/tax_region.h"
#include "section/audit_file_rules.h"
#include "sourcedocs/control_totals.h"
#include "sourcedocs/invoice_order_references.h"

namespace varnel {

class XmlLineWriter;

// A sale line's product part: ProductCode to Description.
struct LineProduct {
  std::string code;            // escaped
  std::string description;     // cut and escaped; also the line's Description
  Currency quantity;
  std::string unit_of_measure;  // escaped
  Currency unit_price;
  std::string tax_point_date;  // as written
};

// Which amount element a line carries. Lines of real amounts go by the
// amount's sign; the placeholder of a document without lines names its side.
enum class AmountSide { BySign, Debit, Credit };

struct LineTax {
  TaxRegion region = TaxRegion::Continente;  // the request's; nothing chosen writes no line
  std::string_view code;        // TaxCode
  std::string percentage;       // TaxPercentage, as written
};

// A payment line's SourceDocumentID: the settled document and its date.
struct SourceDocumentId {
  std::string originating_on;  // escaped
  std::string invoice_date;    // as written
};

struct DocumentLine {
  int number = 0;
  // Right after LineNumber: a sale's OrderReferences (none when null or
  // empty), a payment's SourceDocumentID.
  const std::vector<OrderReference>* order_references = nullptr;
  std::optional<SourceDocumentId> source_document;
  std::optional<LineProduct> product;
  Currency amount;  // negative: a debit of its absolute value; else a credit
  AmountSide side = AmountSide::BySign;
  // None on the lines of a 1.04_01 receipt outside the cash VAT scheme.
  std::optional<LineTax> tax;
  // A line without VAT carries its TaxExemptionReason, ready to write, and
  // in 1.04_01 its TaxExemptionCode when one is known.
  std::optional<std::string> exemption_reason;
  std::optional<std::string> exemption_code;
  Currency settlement;  // SettlementAmount (absolute, whole cents) when not 0
};

// "<Line>" to "</Line>" at the writer's level; the amount written adds to
// sums (the document's, for its section's control totals).
void WriteDocumentLine(XmlLineWriter& out, const DocumentLine& line, LineSums& sums);

// DocumentTotals with its three values, at the writer's level.
void WriteDocumentTotals(XmlLineWriter& out, Currency tax_payable, Currency net_total, Currency gross_total);

// The Line of a document without sale lines (product 0, quantity 1, every
// text "?", a zero amount on the given side, region PT and code ISE whatever
// the request says), then DocumentTotals of 0. In 1.04_01 the descriptions
// are completed to "?." and the line, of rate 0, carries the exemption of
// what is not taxed: kNotTaxedReason, code M99.
void WritePlaceholderLineAndTotals(XmlLineWriter& out, std::string_view tax_point_date, AmountSide side,
                                   const AuditFileRules& rules);
inline constexpr std::string_view kNotTaxedReason = "N\xC3\xA3o sujeito; n\xC3\xA3o tributado (ou similar)";

// CustomerID of a document: its customer when the code is 1 or more,
// otherwise the final consumer 1, the customer every file lists.
std::string CustomerReference(std::int64_t customer_code, std::string_view customer_text);

}  // namespace varnel
