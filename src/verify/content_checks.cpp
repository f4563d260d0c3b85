// The content rules of the audit file, applied as its elements close; the
// arithmetic of a document is in document_amounts, the control totals in
// section_totals, the schema's assertions in schema_assertions, the rules of
// numbers and types across the file in document_type_checks and the
// version's own rules in version_rule_checks.
//
// Signs: a line's value is its CreditAmount, or minus its DebitAmount. Tax on
// a line is TaxPercentage of its base, or its TaxAmount. A document's totals
// are positive whichever side its lines sum to (credit notes, refunds).
#include "verify/content_checks.h"

#include <algorithm>

#include "base/ascii_text.h"
#include "verify/queued_signature_chain.h"
#include "verify/taxpayer_number.h"

namespace varnel::verify {

namespace {

constexpr std::size_t kMaxExamples = 5;

// "YYYY-MM-DD" at the start of text as YYYYMMDD; nullopt when it is not one.
std::optional<int> DayNumber(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  int value = 0;
  for (const std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

std::string Trimmed(std::string_view text) { return std::string(TrimWhiteSpace(text)); }

// The section whose documents the element is, under its section element.
SectionId DocumentSection(Element element, Element parent) {
  if (element == Element::Invoice && parent == Element::SalesInvoices) return SectionId::SalesInvoices;
  if (element == Element::StockMovement && parent == Element::MovementOfGoods) return SectionId::MovementOfGoods;
  if (element == Element::WorkDocument && parent == Element::WorkingDocuments) return SectionId::WorkingDocuments;
  if (element == Element::Payment && parent == Element::Payments) return SectionId::Payments;
  return SectionId::None;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsBase64(std::string_view text) {
  std::size_t padding = 0;
  for (const char c : text) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
                        c == '/';
    if (c == '=') {
      ++padding;
      continue;
    }
    if (!letter || padding > 0) return false;  // nothing after the padding
  }
  return padding <= 2 && text.size() % 4 == 0;
}

std::string ExampleList(const std::vector<std::string>& examples) {
  std::string list;
  for (const std::string& example : examples) list += (list.empty() ? "" : ", ") + Quoted(example);
  return list;
}

}  // namespace

ContentChecks::ContentChecks(const SchemaVersion* version, FindingList& findings, VerificationSummary& summary,
                             QueuedSignatureChain* signatures)
    : m_version(version != nullptr ? version : &KnownSchemaVersions().front()),
      m_findings(findings),
      m_summary(summary),
      m_signatures(signatures),
      m_version_rules(*m_version, findings),
      m_assertions(findings),
      m_type_checks(findings) {
  m_stack.reserve(16);
}

Element ContentChecks::Up(std::size_t levels) const {
  return levels < m_stack.size() ? m_stack[m_stack.size() - 1 - levels] : Element::Other;
}

void ContentChecks::Add(FindingKind kind, FindingSeverity severity, std::string message) {
  m_findings.Add(kind, severity, SectionName(m_section), "", std::move(message));
}

void ContentChecks::AddForDocument(FindingKind kind, FindingSeverity severity, std::string message) {
  m_findings.Add(kind, severity, SectionName(m_section), m_document.number, std::move(message));
}

SectionTotals* ContentChecks::CurrentTotals() {
  switch (m_section) {
    case SectionId::SalesInvoices: return &m_sales;
    case SectionId::MovementOfGoods: return &m_movements;
    case SectionId::WorkingDocuments: return &m_working;
    case SectionId::Payments: return &m_payments;
    default: return nullptr;
  }
}

DocumentNumberIndex* ContentChecks::CurrentIndex() {
  switch (m_section) {
    case SectionId::SalesInvoices: return &m_invoice_numbers;
    case SectionId::MovementOfGoods: return &m_movement_numbers;
    case SectionId::WorkingDocuments: return &m_work_numbers;
    case SectionId::Payments: return &m_payment_numbers;
    default: return nullptr;
  }
}

std::optional<DecimalAmount> ContentChecks::Amount(const char* element_name) {
  auto amount = DecimalAmount::Parse(m_text);
  if (!amount) {
    m_findings.Add(FindingKind::Amounts, FindingSeverity::Error, SectionName(m_section),
                   m_document.active ? m_document.number : std::string(),
                   std::string(element_name) + " " + Quoted(Trimmed(m_text)) + " não é um valor decimal legível");
  }
  return amount;
}

// ---------------------------------------------------------------------------
// The element stream

void ContentChecks::StartElement(Element element) {
  m_stack.push_back(element);
  m_text.clear();
  // Line values that only some files need are not read in the others: a
  // line's UnitPrice serves the 1.04_01 assertions, its Quantity the stock
  // movements' control total.
  m_collect_text = HoldsValue(element) &&
                   (element != Element::UnitPrice || m_version->assertions) &&
                   (element != Element::Quantity || m_section == SectionId::MovementOfGoods);
  switch (element) {
    case Element::Header: m_section = SectionId::Header; break;
    case Element::MasterFiles: m_section = SectionId::MasterFiles; break;
    case Element::SalesInvoices: m_section = SectionId::SalesInvoices; break;
    case Element::MovementOfGoods: m_section = SectionId::MovementOfGoods; break;
    case Element::WorkingDocuments: m_section = SectionId::WorkingDocuments; break;
    case Element::Payments: m_section = SectionId::Payments; break;
    case Element::Customer:
    case Element::Supplier:
      m_code.clear();
      m_tax_id.clear();
      m_country.clear();
      break;
    case Element::TaxTableEntry:
      m_entry_type.clear();
      m_entry_region.clear();
      m_entry_code.clear();
      break;
    case Element::Account: m_account = AccountState{}; break;
    case Element::Invoice:
    case Element::StockMovement:
    case Element::WorkDocument:
    case Element::Payment:
      if (!m_document.active && DocumentSection(element, Up(1)) != SectionId::None) StartDocument();
      break;
    case Element::Line:
      if (m_document.active && m_stack.size() == m_document.depth + 1) m_line = LineState{};
      break;
    case Element::Tax:
      if (m_document.active && m_stack.size() == m_document.depth + 2 && Up(1) == Element::Line) m_line.has_tax = true;
      break;
    case Element::References:
      if (m_document.active && m_stack.size() == m_document.depth + 2 && Up(1) == Element::Line) {
        m_line.has_references = true;
      }
      break;
    case Element::Product:
      if (Up(1) == Element::MasterFiles) m_has_products = true;
      break;
    default: break;
  }
}

void ContentChecks::Text(std::string_view text) { m_text.append(text); }

void ContentChecks::EndElement() {
  if (m_stack.empty()) return;
  const Element element = m_stack.back();
  m_stack.pop_back();
  m_collect_text = false;
  if (HoldsValue(element)) {
    EndValue(element, Up(0));
  } else {
    EndContainer(element);
  }
}

void ContentChecks::EndValue(Element element, Element parent) {
  switch (m_section) {
    case SectionId::Header:
      if (parent == Element::Header) HeaderValue(element);
      break;
    case SectionId::MasterFiles: MasterValue(element, parent); break;
    case SectionId::SalesInvoices:
    case SectionId::MovementOfGoods:
    case SectionId::WorkingDocuments:
    case SectionId::Payments:
      if (!m_document.active) {
        SectionValue(element);
      } else if (DocumentLevel() == 0) {
        DocumentValue(element);
      } else if (DocumentLevel() == 1 && parent == Element::Line) {
        LineValue(element);
      } else if (DocumentLevel() == 2 && Up(1) == Element::Line) {
        LinePartValue(element, parent);
      } else {
        DocumentPartValue(element, parent);
      }
      break;
    default: break;
  }
}

void ContentChecks::EndContainer(Element element) {
  switch (element) {
    case Element::Customer:
      if (m_section != SectionId::MasterFiles) break;
      if (!m_customers.insert(m_code).second) {
        Add(FindingKind::MasterDuplicate, FindingSeverity::Error, "CustomerID " + Quoted(m_code) + " repetido nos clientes");
      }
      CheckTaxpayer(m_tax_id, m_country, "CustomerTaxID", m_code, false);
      break;
    case Element::Supplier:
      if (m_section != SectionId::MasterFiles) break;
      if (!m_suppliers.insert(m_code).second) {
        Add(FindingKind::MasterDuplicate, FindingSeverity::Error,
            "SupplierID " + Quoted(m_code) + " repetido nos fornecedores");
      }
      CheckTaxpayer(m_tax_id, m_country, "SupplierTaxID", m_code, false);
      break;
    case Element::TaxTableEntry:
      m_tax_entries.insert(m_entry_type + "|" + m_entry_region + "|" + m_entry_code);
      break;
    case Element::Account:
      if (m_section == SectionId::MasterFiles && Up(0) == Element::GeneralLedgerAccounts && m_version->assertions) {
        m_assertions.EndAccount(m_account);
      }
      break;
    case Element::Line:
      if (m_document.active && m_stack.size() == m_document.depth) EndLine();
      break;
    case Element::Invoice:
    case Element::StockMovement:
    case Element::WorkDocument:
    case Element::Payment:
      if (m_document.active && m_stack.size() + 1 == m_document.depth) EndDocument();
      break;
    case Element::Header:
    case Element::MasterFiles:
      m_section = SectionId::None;
      break;
    case Element::SalesInvoices:
    case Element::MovementOfGoods:
    case Element::WorkingDocuments:
    case Element::Payments:
      EndSection(m_section);
      m_section = SectionId::None;
      break;
    default: break;
  }
}

// The section's own control totals, before its documents.
void ContentChecks::SectionValue(Element element) {
  SectionTotals* totals = CurrentTotals();
  if (totals == nullptr) return;
  switch (element) {
    case Element::TotalDebit: Amount("TotalDebit"); break;
    case Element::TotalCredit: Amount("TotalCredit"); break;
    case Element::TotalQuantityIssued: Amount("TotalQuantityIssued"); break;
    default: break;
  }
  totals->Declare(element, m_text);
}

// ---------------------------------------------------------------------------
// Header and master files

void ContentChecks::HeaderValue(Element element) {
  const std::string value = Trimmed(m_text);
  switch (element) {
    case Element::AuditFileVersion:
      if (value != m_version->label) {
        Add(FindingKind::Version, FindingSeverity::Error,
            "AuditFileVersion " + Quoted(value) + " não corresponde ao espaço de nomes do ficheiro (versão " +
                std::string(m_version->label) + ")");
      }
      break;
    case Element::TaxRegistrationNumber: CheckTaxpayer(value, "PT", "TaxRegistrationNumber", "", true); break;
    case Element::StartDate:
      m_start_text = value;
      m_start_date = DayNumber(value);
      break;
    case Element::EndDate:
      m_end_text = value;
      m_end_date = DayNumber(value);
      break;
    case Element::SoftwareCertificateNumber:
      if (m_signatures != nullptr) m_signatures->SetCertificateNumber(value);
      break;
    default: break;
  }
}

void ContentChecks::MasterValue(Element element, Element parent) {
  if (parent == Element::Customer || parent == Element::Supplier || parent == Element::BillingAddress) {
    RecordValue(element, parent);
  } else if (element == Element::ProductCode && parent == Element::Product) {
    if (!m_products.insert(Trimmed(m_text)).second) {
      Add(FindingKind::MasterDuplicate, FindingSeverity::Error,
          "ProductCode " + Quoted(Trimmed(m_text)) + " repetido nos produtos");
    }
  } else if (parent == Element::TaxTableEntry) {
    if (element == Element::TaxType) m_entry_type = Trimmed(m_text);
    if (element == Element::TaxCountryRegion) m_entry_region = Trimmed(m_text);
    if (element == Element::TaxCode) m_entry_code = Trimmed(m_text);
  } else if (parent == Element::Account) {
    if (element == Element::AccountID) m_account.id = Trimmed(m_text);
    if (element == Element::GroupingCategory) m_account.grouping_category = Trimmed(m_text);
    if (element == Element::GroupingCode) m_account.has_grouping_code = true;
    if (element == Element::TaxonomyCode) m_account.has_taxonomy_code = true;
  }
}

void ContentChecks::RecordValue(Element element, Element parent) {
  if (parent == Element::BillingAddress) {
    if (element == Element::Country) m_country = Trimmed(m_text);
    return;
  }
  if (element == Element::CustomerID || element == Element::SupplierID) m_code = Trimmed(m_text);
  if (element == Element::CustomerTaxID || element == Element::SupplierTaxID) m_tax_id = Trimmed(m_text);
}

void ContentChecks::CheckTaxpayer(const std::string& number, const std::string& country, const char* what,
                                  const std::string& code, bool company) {
  // A foreign customer's or supplier's number follows its own country's
  // rules; only Portuguese ones (and those of unknown country) are checked.
  if (!company && country != "PT" && country != "Desconhecido" && !country.empty()) return;
  const std::string owner = company ? std::string("da empresa") : "de " + code;
  switch (CheckTaxpayerNumber(number)) {
    case TaxpayerNumberCheck::Valid: return;
    case TaxpayerNumberCheck::BadCheckDigit:
      Add(FindingKind::TaxpayerNumber, FindingSeverity::Error,
          std::string(what) + " " + number + " " + owner + ": dígito de controlo errado (esperado " +
              ExpectedCheckDigit(number) + ")");
      return;
    case TaxpayerNumberCheck::NotANumber:
      Add(FindingKind::TaxpayerNumber, company ? FindingSeverity::Error : FindingSeverity::Warning,
          std::string(what) + " " + Quoted(number) + " " + owner + " não é um número de contribuinte de 9 dígitos");
      return;
  }
}

// ---------------------------------------------------------------------------
// Documents

void ContentChecks::StartDocument() {
  m_document = DocumentState{};
  m_document.active = true;
  m_document.depth = m_stack.size();
  m_version_rules.StartDocument();
  m_assertions.StartDocument();
}

// A value that is the document's own child.
void ContentChecks::DocumentValue(Element element) {
  DocumentState& d = m_document;
  switch (element) {
    case Element::InvoiceNo:
    case Element::DocumentNumber:
    case Element::PaymentRefNo: d.number = Trimmed(m_text); break;
    case Element::ATCUD: m_version_rules.Value(element, m_text); break;
    case Element::Hash:
      d.has_hash = true;
      d.hash = Trimmed(m_text);
      break;
    case Element::HashControl:
      d.has_hash_control = !Trimmed(m_text).empty();
      d.hash_control = m_text;
      break;
    case Element::InvoiceDate:
    case Element::MovementDate:
    case Element::WorkDate:
    case Element::TransactionDate: d.date = Trimmed(m_text); break;
    case Element::InvoiceType:
    case Element::MovementType:
    case Element::WorkType:
    case Element::PaymentType: d.type = Trimmed(m_text); break;
    case Element::SystemEntryDate: d.system_entry = Trimmed(m_text); break;
    case Element::CustomerID:
      d.customer = Trimmed(m_text);
      d.has_customer = true;
      break;
    case Element::SupplierID:
      d.supplier = Trimmed(m_text);
      d.has_supplier = true;
      break;
    default: break;
  }
}

// A value deeper in the document, outside its lines: its status, totals,
// settlement, currency and withholding.
void ContentChecks::DocumentPartValue(Element element, Element parent) {
  DocumentState& d = m_document;
  DocumentAmounts& a = d.amounts;
  const std::size_t level = DocumentLevel();
  if (level == 1 && parent == Element::DocumentStatus) {
    if (element == Element::InvoiceStatus || element == Element::MovementStatus ||
        element == Element::WorkStatus || element == Element::PaymentStatus) {
      d.status = Trimmed(m_text);
    }
    if (element == Element::SourceBilling) d.source_billing = Trimmed(m_text);
    if (element == Element::InvoiceStatusDate || element == Element::MovementStatusDate ||
        element == Element::WorkStatusDate || element == Element::PaymentStatusDate) {
      d.has_status_date = !Trimmed(m_text).empty();
    }
  } else if (level == 1 && parent == Element::DocumentTotals) {
    if (element == Element::TaxPayable) a.tax_payable = Amount("TaxPayable");
    if (element == Element::NetTotal) a.net_total = Amount("NetTotal");
    if (element == Element::GrossTotal) {
      a.gross_total = Amount("GrossTotal");
      d.gross_total = m_text;
    }
  } else if (level == 1 && parent == Element::WithholdingTax && element == Element::WithholdingTaxAmount) {
    if (const auto amount = Amount("WithholdingTaxAmount")) a.withholding += *amount;
    a.has_withholding = true;
  } else if (level == 2 && Up(1) == Element::DocumentTotals && parent == Element::Settlement &&
             element == Element::SettlementAmount) {
    if (const auto amount = Amount("SettlementAmount")) a.settlement += *amount;
    a.has_settlement = true;
  } else if (level == 2 && Up(1) == Element::DocumentTotals && parent == Element::Currency) {
    if (element == Element::CurrencyAmount) a.currency_amount = Amount("CurrencyAmount");
    if (element == Element::ExchangeRate) {
      a.exchange_rate = Amount("ExchangeRate");
      a.exchange_rate_decimals = DecimalAmount::DecimalsWritten(m_text);
    }
  }
}

// A value that is a line's own child.
void ContentChecks::LineValue(Element element) {
  LineState& line = m_line;
  switch (element) {
    case Element::DebitAmount:
    case Element::CreditAmount:
    case Element::TaxBase:
    case Element::SettlementAmount: LineAmountValue(element); break;
    case Element::ProductCode: ProductReference(); break;
    case Element::Quantity:
      if (m_section == SectionId::MovementOfGoods) line.quantity = Amount("Quantity");
      break;
    case Element::UnitPrice:
      if (m_version->assertions) line.unit_price = DecimalAmount::Parse(m_text);
      break;
    case Element::TaxExemptionReason: line.exemption_reason = Trimmed(m_text); break;
    case Element::TaxExemptionCode: line.exemption_code = Trimmed(m_text); break;
    default: break;
  }
}

void ContentChecks::LineAmountValue(Element element) {
  LineState& line = m_line;
  switch (element) {
    case Element::DebitAmount: line.debit = Amount("DebitAmount"); break;
    case Element::CreditAmount: line.credit = Amount("CreditAmount"); break;
    case Element::TaxBase: line.tax_base = Amount("TaxBase"); break;
    case Element::SettlementAmount: line.settlement = Amount("SettlementAmount"); break;
    default: break;
  }
}

void ContentChecks::ProductReference() {
  ++m_product_code_lines;
  const std::string code = Trimmed(m_text);
  auto& missing = m_document.missing_products;
  const bool reported = std::find(missing.begin(), missing.end(), code) != missing.end();
  if (!m_has_products || m_products.contains(code) || reported) return;
  missing.push_back(code);
  ++m_product_reference_findings;
  AddForDocument(FindingKind::ProductReference, FindingSeverity::Error,
                 "ProductCode " + Quoted(code) + " não consta dos produtos (MasterFiles)");
}

// A value inside a part of a line: its Tax, an order reference, a settled
// document.
void ContentChecks::LinePartValue(Element element, Element parent) {
  LineState& line = m_line;
  if (parent == Element::Tax) {
    switch (element) {
      case Element::TaxType:
        line.tax_type = Trimmed(m_text);
        line.has_tax_type = !line.tax_type.empty();
        break;
      case Element::TaxCountryRegion: line.tax_region = Trimmed(m_text); break;
      case Element::TaxCode: line.tax_code = Trimmed(m_text); break;
      case Element::TaxPercentage:
        line.tax_percentage = Amount("TaxPercentage");
        line.unreadable_tax |= !line.tax_percentage;
        break;
      case Element::TaxAmount:
        line.tax_amount = Amount("TaxAmount");
        line.unreadable_tax |= !line.tax_amount;
        break;
      default: break;
    }
    return;
  }
  if (element != Element::OriginatingON) return;
  const std::string reference = Trimmed(m_text);
  if (parent == Element::OrderReferences) {
    const auto parts = SplitDocumentNumber(reference);
    if (parts) {
      m_order_references[std::make_pair(m_section, std::string(parts->series))].push_back(parts->number);
    } else {
      auto& examples = m_unreadable_order_references[m_section];
      if (examples.size() < kMaxExamples) examples.push_back(reference);
      ++m_unreadable_order_reference_count[m_section];
    }
  } else if (parent == Element::SourceDocumentID && m_section == SectionId::Payments) {
    if (!m_invoice_numbers.Contains(reference)) {
      if (m_payment_reference_examples.size() < kMaxExamples) m_payment_reference_examples.push_back(reference);
      ++m_payment_references_absent;
    }
  }
}

void ContentChecks::EndLine() {
  DocumentState& d = m_document;
  const LineState& line = m_line;
  ++d.lines;
  const LineTax tax = TaxOfLine(line);
  d.amounts.AddLine(line, tax);
  if (line.quantity) d.quantity += *line.quantity;
  d.has_references |= line.has_references;
  if (m_version->assertions) m_assertions.EndLine(m_section, d.number, d.lines, line);
  if (line.has_tax) LineTaxReferenceAndSummary(line, tax);
}

// The line's tax in the tax table, and in the VAT summary of the sales.
void ContentChecks::LineTaxReferenceAndSummary(const LineState& line, const LineTax& tax) {
  DocumentState& d = m_document;
  const std::string key = line.tax_type + "|" + line.tax_region + "|" + line.tax_code;
  if (!m_tax_entries.contains(key) &&
      std::find(d.missing_taxes.begin(), d.missing_taxes.end(), key) == d.missing_taxes.end()) {
    d.missing_taxes.push_back(key);
    AddForDocument(FindingKind::TaxReference, FindingSeverity::Error,
                   "Imposto " + line.tax_type + "/" + line.tax_region + "/" + line.tax_code + " da linha " +
                       std::to_string(d.lines) + " não consta da tabela de impostos (TaxTable)");
  }
  if (tax.overflow) {
    AddForDocument(FindingKind::Amounts, FindingSeverity::Error,
                   "O imposto da linha " + std::to_string(d.lines) + " (" + tax.base.Text() + " a " +
                       line.tax_percentage->Text() + "%) excede o que se pode calcular");
  }
  if (m_section == SectionId::SalesInvoices && d.status != "A" && !line.unreadable_tax) {
    const std::string rate = line.tax_percentage ? line.tax_percentage->Text() : "";
    VatSums& sums = m_vat[VatKey{line.tax_region, line.tax_code, rate}];
    sums.taxable += tax.base;
    if (tax.tax) sums.vat += *tax.tax;
  }
}

void ContentChecks::EndDocument() {
  DocumentState& d = m_document;
  d.active = false;
  ++m_documents;
  if (SectionTotals* totals = CurrentTotals()) {
    totals->AddDocument(d.status, d.amounts.debit, d.amounts.credit, static_cast<std::uint64_t>(d.lines), d.quantity);
  }
  if (!d.type.empty()) {
    ++m_summary.documents_by_type[d.type];
    if (d.status == "A") ++m_summary.annulled_by_type[d.type];
  }
  m_version_rules.EndDocument(DocumentFacts{m_section, d.number, d.type, d.date, d.has_references});
  if (m_version->assertions) {
    m_assertions.EndDocument(m_section, d.number, m_section == SectionId::Payments ? d.type : std::string());
  }
  if (DocumentNumberIndex* index = CurrentIndex(); index != nullptr && !index->Add(d.number)) {
    ++m_unnumbered_documents;
    AddForDocument(FindingKind::Numbering, FindingSeverity::Warning,
                   "Número de documento " + Quoted(d.number) + " sem série e número (\"TIPO SÉRIE/NÚMERO\")");
  }
  const DocumentSide side = CheckDocumentAmounts(d.amounts, m_section, d.number, m_findings);
  m_type_checks.EndDocument(m_section, d.number, d.type, side);
  CheckCounterpart(d);
  CheckDates(d);
  CheckSignature(d);
  if (m_signatures != nullptr) HandToSignatureChain(d);
}

// The customer a document names, or the supplier of a stock movement.
void ContentChecks::CheckCounterpart(const DocumentState& d) {
  if (d.has_supplier && !d.has_customer) {
    if (m_suppliers.contains(d.supplier)) return;
    ++m_supplier_reference_findings;
    AddForDocument(FindingKind::SupplierReference, FindingSeverity::Error,
                   "SupplierID " + Quoted(d.supplier) + " não consta dos fornecedores (MasterFiles)");
    return;
  }
  if (m_customers.contains(d.customer)) return;
  ++m_customer_reference_findings;
  AddForDocument(FindingKind::CustomerReference, FindingSeverity::Error,
                 "CustomerID " + Quoted(d.customer) + " não consta dos clientes (MasterFiles)");
}

// The document's date inside the period, its entry not before its day, its
// status dated.
void ContentChecks::CheckDates(const DocumentState& d) {
  const auto day = DayNumber(d.date);
  if (!day) {
    AddForDocument(FindingKind::Dates, FindingSeverity::Error,
                   std::string("Falta a data do documento (") + DateName(m_section) + ")");
  } else if ((m_start_date && *day < *m_start_date) || (m_end_date && *day > *m_end_date)) {
    AddForDocument(FindingKind::Dates, FindingSeverity::Error,
                   std::string(DateName(m_section)) + " " + d.date + " fora do período do ficheiro " + m_start_text +
                       " a " + m_end_text);
  }
  const auto entry_day = DayNumber(d.system_entry);
  if (!entry_day) {
    AddForDocument(FindingKind::Dates, FindingSeverity::Error, "Falta a data de registo (SystemEntryDate)");
  } else if (day && *entry_day < *day) {
    AddForDocument(FindingKind::Dates, FindingSeverity::Error,
                   "SystemEntryDate " + d.system_entry + " anterior à data do documento " + d.date);
  }
  if (!d.has_status_date) {
    AddForDocument(FindingKind::Dates, FindingSeverity::Error,
                   std::string("Falta a data do estado do documento (") + StatusDateName(m_section) + ")");
  }
}

// A Hash is "0" (unsigned) or a signature of the version's length, and a
// signed document carries HashControl. Payments carry no Hash.
void ContentChecks::CheckSignature(const DocumentState& d) {
  if (d.has_hash && d.hash != "0") {
    if (d.hash.size() != m_version->signed_hash_length || !IsBase64(d.hash)) {
      AddForDocument(FindingKind::Signature, FindingSeverity::Error,
                     "Hash com " + std::to_string(d.hash.size()) +
                         " caracteres não é uma assinatura: espera-se \"0\" ou base64 de " +
                         std::to_string(m_version->signed_hash_length) + " caracteres");
    }
    if (!d.has_hash_control) {
      AddForDocument(FindingKind::Signature, FindingSeverity::Error, "Documento assinado sem HashControl");
    }
  }
}

// The signed values of a document of the three signed sections, in the
// file's order; receipts are not signed. The document is done with, so its
// values move on.
void ContentChecks::HandToSignatureChain(DocumentState& d) {
  SignedDocument document;
  switch (m_section) {
    case SectionId::SalesInvoices: document.section = SignedSection::SalesInvoices; break;
    case SectionId::MovementOfGoods: document.section = SignedSection::MovementOfGoods; break;
    case SectionId::WorkingDocuments: document.section = SignedSection::WorkingDocuments; break;
    default: return;
  }
  document.number = std::move(d.number);
  document.date = std::move(d.date);
  document.system_entry = std::move(d.system_entry);
  document.gross_total = std::move(d.gross_total);
  document.hash = std::move(d.hash);
  document.hash_control = std::move(d.hash_control);
  document.source_billing = std::move(d.source_billing);
  m_signatures->Add(std::move(document));
}

void ContentChecks::EndSection(SectionId section) {
  if (const SectionTotals* totals = CurrentTotals()) totals->Check(section, m_findings);
  if (DocumentNumberIndex* index = CurrentIndex()) {
    index->Finish();
    ReportNumbering(section, *index);
  }
}

void ContentChecks::ReportNumbering(SectionId section, const DocumentNumberIndex& index) {
  for (const SeriesNumbering& series : index.Numbering()) {
    const std::string first = std::to_string(series.first);
    const std::string last = std::to_string(series.last);
    m_findings.Add(FindingKind::SeriesSummary, FindingSeverity::Note, SectionName(section), "",
                   "Série " + series.series + ": " + std::to_string(series.documents) + " documentos, números " +
                       first + " a " + last);
    if (series.missing_count > 0) {
      m_findings.Add(FindingKind::Numbering, FindingSeverity::Warning, SectionName(section), "",
                     "Série " + series.series + ": faltam " + std::to_string(series.missing_count) +
                         " números entre " + first + " e " + last + ": " + series.missing_text);
    }
    for (const auto& duplicate : series.duplicates) {
      ++m_duplicate_number_findings;
      m_findings.Add(FindingKind::Numbering, FindingSeverity::Error, SectionName(section),
                     series.series + "/" + std::to_string(duplicate.number),
                     "Número " + series.series + "/" + std::to_string(duplicate.number) + " repetido em " +
                         std::to_string(duplicate.times) + " documentos");
    }
  }
}

// ---------------------------------------------------------------------------
// End of the file

// Whether a document of that series and number is in any document section.
bool ContentChecks::IsInFile(const std::string& series, std::uint32_t number) const {
  return m_work_numbers.Contains(series, number) || m_movement_numbers.Contains(series, number) ||
         m_invoice_numbers.Contains(series, number);
}

void ContentChecks::ReportReferencesToDocuments() {
  // Order references: to documents of this file (working documents, stock
  // movements, invoices).
  std::map<SectionId, std::uint64_t> absent;
  std::map<SectionId, std::vector<std::string>> examples;
  for (const auto& [key, numbers] : m_order_references) {
    for (const std::uint32_t number : numbers) {
      if (IsInFile(key.second, number)) continue;
      ++absent[key.first];
      auto& list = examples[key.first];
      const std::string text = key.second + "/" + std::to_string(number);
      if (list.size() < kMaxExamples && std::find(list.begin(), list.end(), text) == list.end()) {
        list.push_back(text);
      }
    }
  }
  for (const auto& [section, count] : m_unreadable_order_reference_count) {
    absent[section] += count;
    auto& list = examples[section];
    for (const std::string& text : m_unreadable_order_references[section]) {
      if (list.size() < kMaxExamples) list.push_back(text);
    }
  }
  // A note: an order may be of an earlier period, or the customer's own
  // number in free text.
  for (const auto& [section, count] : absent) {
    m_findings.Add(FindingKind::OrderReference, FindingSeverity::Note, SectionName(section), "",
                   std::to_string(count) +
                       " referências OrderReferences/OriginatingON não correspondem a nenhum documento do ficheiro "
                       "(podem ser de outro período ou do cliente; por exemplo " + ExampleList(examples[section]) + ")");
  }
  // Payment lines: to invoices and credit notes, which may be of an earlier
  // period.
  if (m_payment_references_absent > 0) {
    m_findings.Add(FindingKind::PaymentReference, FindingSeverity::Note, "Payments", "",
                   std::to_string(m_payment_references_absent) +
                       " linhas de recibos liquidam documentos que não constam de SalesInvoices (podem ser de "
                       "outro período; por exemplo " + ExampleList(m_payment_reference_examples) + ")");
  }
}

void ContentChecks::Finish(const VerificationOptions& options) {
  m_section = SectionId::None;
  ReportReferencesToDocuments();
  m_version_rules.Finish();
  if (m_version->assertions) m_assertions.Finish();
  m_type_checks.Finish();

  // The Normal type lists every product; a Resumido file may list the
  // products its lines name, so only a missing list tells the types apart.
  if (summarized() && !options.summarized_type_expected) {
    Add(FindingKind::Version, FindingSeverity::Warning,
        "O ficheiro não tem lista de produtos (tipo Resumido) mas foi pedido o tipo Normal");
  }

  for (const auto& [key, sums] : m_vat) {
    VatSummaryRow row;
    row.region = std::get<0>(key);
    row.tax_code = std::get<1>(key);
    row.percentage = std::get<2>(key);
    row.taxable = sums.taxable.ToCurrency();
    row.vat = sums.vat.ToCurrency();
    row.gross = (sums.taxable + sums.vat).ToCurrency();
    m_summary.vat.push_back(std::move(row));
  }
}

}  // namespace varnel::verify
