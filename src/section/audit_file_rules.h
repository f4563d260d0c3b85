// What differs between the two SAF-T (PT) versions the writers produce, in
// one table: the root namespace, the lengths texts are cut to, the elements
// one version has and the other lacks, the consultation documents' work type.
// The writers ask this table (through SectionContext::fileRules) and never
// test the version themselves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "base/saft_version.h"

namespace varnel {

struct AuditFileRules {
  SaftVersion version;
  std::string_view namespace_uri;  // AuditFile's xmlns and schemaLocation
  // Header CompanyAddress: StreetName and AddressDetail.
  std::size_t company_street_length;
  std::size_t company_address_length;
  // AddressDetail of customer and supplier records.
  std::size_t record_address_length;
  // CustomerTaxID and SupplierTaxID.
  std::size_t tax_id_length;
  // HashControl: written on every document, cut to this length; else only
  // where the signature rule stores one.
  bool hash_control_always;
  std::size_t hash_control_length;
  // ATCUD after InvoiceNo, DocumentNumber and PaymentRefNo.
  bool atcud;
  // TaxExemptionCode after every TaxExemptionReason.
  bool exemption_code;
  // ProductDescription and the line's Description: at least this many
  // characters (a shorter text is completed with ".").
  std::size_t description_min_length;
  // WorkType of the table-consultation documents.
  std::string_view consultation_work_type;
  // The Tax block of a payment line only on receipts of the cash VAT
  // scheme (PaymentType RC); other receipts (RG) carry none.
  bool payment_tax_only_for_cash_vat;
};

const AuditFileRules& RulesForVersion(SaftVersion version);

// A ProductDescription or line Description: text cut to length characters
// and escaped, a text shorter than the version's minimum completed with "."
// first, so "X" becomes "X." and keeps its one character in front.
std::string DescriptionText(const AuditFileRules& rules, std::string_view text, std::size_t length);

}  // namespace varnel
