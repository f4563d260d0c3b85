// The content rules of the audit file, applied as its elements close.
//
// Signs: a sales line's value is its CreditAmount, or minus its DebitAmount;
// a credit note (NC) carries debit lines and positive totals, so its totals
// are compared with the lines' value turned round. Working documents and
// payments compare their totals with credit minus debit. Tax on a line is
// its amount times TaxPercentage / 100, or its TaxAmount. GrossTotal is
// NetTotal + TaxPayable; a withholding tax is stated beside the totals and
// does not enter them.
#include "verify/content_checks.h"

#include <algorithm>

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

std::string Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

bool IsDocument(Element element) {
  return element == Element::Invoice || element == Element::WorkDocument || element == Element::Payment;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Difference(DecimalAmount written, DecimalAmount computed) { return (computed - written).Text(); }

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

const char* StatusDateName(SectionId section) {
  switch (section) {
    case SectionId::SalesInvoices: return "InvoiceStatusDate";
    case SectionId::WorkingDocuments: return "WorkStatusDate";
    default: return "PaymentStatusDate";
  }
}

const char* DateName(SectionId section) {
  switch (section) {
    case SectionId::SalesInvoices: return "InvoiceDate";
    case SectionId::WorkingDocuments: return "WorkDate";
    default: return "TransactionDate";
  }
}

}  // namespace

const char* SectionName(SectionId section) {
  switch (section) {
    case SectionId::Header: return "Header";
    case SectionId::MasterFiles: return "MasterFiles";
    case SectionId::SalesInvoices: return "SalesInvoices";
    case SectionId::MovementOfGoods: return "MovementOfGoods";
    case SectionId::WorkingDocuments: return "WorkingDocuments";
    case SectionId::Payments: return "Payments";
    case SectionId::None: break;
  }
  return "Ficheiro";
}

ContentChecks::ContentChecks(const SchemaVersion* version, FindingList& findings, VerificationSummary& summary)
    : m_version(version != nullptr ? version : &KnownSchemaVersions().front()),
      m_findings(findings),
      m_summary(summary),
      m_version_rules(*m_version, findings) {
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

ContentChecks::SectionState& ContentChecks::CurrentSectionState() {
  switch (m_section) {
    case SectionId::WorkingDocuments: return m_working;
    case SectionId::Payments: return m_payments;
    default: return m_sales;
  }
}

DocumentNumberIndex* ContentChecks::CurrentIndex() {
  switch (m_section) {
    case SectionId::SalesInvoices: return &m_invoice_numbers;
    case SectionId::WorkingDocuments: return &m_work_numbers;
    case SectionId::Payments: return &m_payment_numbers;
    default: return nullptr;
  }
}

std::optional<DecimalAmount> ContentChecks::Amount(const char* element_name) {
  auto amount = DecimalAmount::Parse(m_text);
  if (!amount) {
    AddForDocument(FindingKind::Amounts, FindingSeverity::Error,
                   std::string(element_name) + " " + Quoted(Trimmed(m_text)) + " não é um valor decimal legível");
  }
  return amount;
}

// ---------------------------------------------------------------------------
// The element stream

void ContentChecks::StartElement(Element element) {
  m_stack.push_back(element);
  m_text.clear();
  m_collect_text = HoldsValue(element);
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
    case Element::Invoice:
    case Element::WorkDocument:
    case Element::Payment:
      if (Up(1) == Element::SalesInvoices || Up(1) == Element::WorkingDocuments || Up(1) == Element::Payments) {
        StartDocument();
      }
      break;
    case Element::Line:
      if (m_document.active && IsDocument(Up(1))) m_line = LineState{};
      break;
    case Element::Tax:
      if (m_document.active && Up(1) == Element::Line) m_line.has_tax = true;
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
    case SectionId::WorkingDocuments:
    case SectionId::Payments:
      if (!m_document.active) {
        // The section's own control totals.
        SectionState& state = CurrentSectionState();
        if (element == Element::NumberOfEntries) {
          state.declared_entries = Trimmed(m_text);
          state.has_entries = true;
        }
        if (element == Element::TotalDebit) state.declared_debit = Amount("TotalDebit");
        if (element == Element::TotalCredit) state.declared_credit = Amount("TotalCredit");
      } else if (parent == Element::Line || Up(1) == Element::Line) {
        if (m_version_rules.active()) m_version_rules.Value(element, parent, m_text);
        LineValue(element, parent);
      } else {
        if (m_version_rules.active()) m_version_rules.Value(element, parent, m_text);
        DocumentValue(element, parent);
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
    case Element::Line:
      if (m_document.active && IsDocument(Up(0))) EndLine();
      break;
    case Element::Invoice:
    case Element::WorkDocument:
    case Element::Payment:
      if (m_document.active) EndDocument();
      break;
    case Element::Header:
    case Element::MasterFiles:
    case Element::MovementOfGoods:
      m_section = SectionId::None;
      break;
    case Element::SalesInvoices:
    case Element::WorkingDocuments:
    case Element::Payments:
      EndSection(m_section);
      m_section = SectionId::None;
      break;
    default: break;
  }
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
    default: break;
  }
}

void ContentChecks::MasterValue(Element element, Element parent) {
  const bool record = parent == Element::Customer || parent == Element::Supplier;
  if (record && (element == Element::CustomerID || element == Element::SupplierID)) m_code = Trimmed(m_text);
  if (record && (element == Element::CustomerTaxID || element == Element::SupplierTaxID)) m_tax_id = Trimmed(m_text);
  if (element == Element::Country && parent == Element::BillingAddress) m_country = Trimmed(m_text);
  if (element == Element::ProductCode && parent == Element::Product && !m_products.insert(Trimmed(m_text)).second) {
    Add(FindingKind::MasterDuplicate, FindingSeverity::Error,
        "ProductCode " + Quoted(Trimmed(m_text)) + " repetido nos produtos");
  }
  if (parent == Element::TaxTableEntry) {
    if (element == Element::TaxType) m_entry_type = Trimmed(m_text);
    if (element == Element::TaxCountryRegion) m_entry_region = Trimmed(m_text);
    if (element == Element::TaxCode) m_entry_code = Trimmed(m_text);
  }
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
  m_version_rules.StartDocument();
}

void ContentChecks::DocumentValue(Element element, Element parent) {
  DocumentState& d = m_document;
  if (IsDocument(parent)) {
    switch (element) {
      case Element::InvoiceNo:
      case Element::DocumentNumber:
      case Element::PaymentRefNo: d.number = Trimmed(m_text); break;
      case Element::Hash:
        d.has_hash = true;
        d.hash = Trimmed(m_text);
        break;
      case Element::HashControl: d.has_hash_control = !Trimmed(m_text).empty(); break;
      case Element::InvoiceDate:
      case Element::WorkDate:
      case Element::TransactionDate: d.date = Trimmed(m_text); break;
      case Element::InvoiceType:
      case Element::WorkType:
      case Element::PaymentType: d.type = Trimmed(m_text); break;
      case Element::SystemEntryDate: d.system_entry = Trimmed(m_text); break;
      case Element::CustomerID: d.customer = Trimmed(m_text); break;
      default: break;
    }
    return;
  }
  if (parent == Element::DocumentStatus) {
    if (element == Element::InvoiceStatus || element == Element::WorkStatus || element == Element::PaymentStatus) {
      d.status = Trimmed(m_text);
    }
    if (element == Element::InvoiceStatusDate || element == Element::WorkStatusDate ||
        element == Element::PaymentStatusDate) {
      d.has_status_date = !Trimmed(m_text).empty();
    }
    return;
  }
  if (parent == Element::DocumentTotals && IsDocument(Up(1))) {
    if (element == Element::TaxPayable) d.tax_payable = Amount("TaxPayable");
    if (element == Element::NetTotal) d.net_total = Amount("NetTotal");
    if (element == Element::GrossTotal) d.gross_total = Amount("GrossTotal");
  }
}

void ContentChecks::LineValue(Element element, Element parent) {
  LineState& line = m_line;
  if (parent == Element::Line) {
    switch (element) {
      case Element::DebitAmount: line.debit = Amount("DebitAmount"); break;
      case Element::CreditAmount: line.credit = Amount("CreditAmount"); break;
      case Element::ProductCode: {
        ++m_product_code_lines;
        const std::string code = Trimmed(m_text);
        if (m_has_products && !m_products.contains(code) &&
            std::find(m_document.missing_products.begin(), m_document.missing_products.end(), code) ==
                m_document.missing_products.end()) {
          m_document.missing_products.push_back(code);
          ++m_product_reference_findings;
          AddForDocument(FindingKind::ProductReference, FindingSeverity::Error,
                         "ProductCode " + Quoted(code) + " não consta dos produtos (MasterFiles)");
        }
        break;
      }
      default: break;
    }
    return;
  }
  if (parent == Element::Tax) {
    switch (element) {
      case Element::TaxType: line.tax_type = Trimmed(m_text); break;
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
      auto key = std::make_pair(m_section, std::string(parts->series));
      m_order_references[std::move(key)].push_back(parts->number);
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
  DecimalAmount value;  // credit positive
  if (line.credit) {
    d.credit += *line.credit;
    value = *line.credit;
  }
  if (line.debit) {
    d.debit += *line.debit;
    value -= *line.debit;
  }
  if (m_version_rules.active()) {
    m_version_rules.EndLine(SectionName(m_section), d.number, d.lines, line.has_tax,
                            line.tax_percentage ? line.tax_percentage : line.tax_amount);
  }
  if (!line.has_tax) return;
  const std::string key = line.tax_type + "|" + line.tax_region + "|" + line.tax_code;
  if (!m_tax_entries.contains(key) &&
      std::find(d.missing_taxes.begin(), d.missing_taxes.end(), key) == d.missing_taxes.end()) {
    d.missing_taxes.push_back(key);
    AddForDocument(FindingKind::TaxReference, FindingSeverity::Error,
                   "Imposto " + line.tax_type + "/" + line.tax_region + "/" + line.tax_code + " da linha " +
                       std::to_string(d.lines) + " não consta da tabela de impostos (TaxTable)");
  }
  std::optional<DecimalAmount> tax;
  if (line.tax_percentage) {
    tax = DecimalAmount::PercentOf(value, *line.tax_percentage);
    if (!tax) {
      AddForDocument(FindingKind::Amounts, FindingSeverity::Error,
                     "O imposto da linha " + std::to_string(d.lines) + " (" + value.Text() + " a " +
                         line.tax_percentage->Text() + "%) excede o que se pode calcular");
    }
  } else if (line.tax_amount) {
    tax = value < DecimalAmount() ? -*line.tax_amount : *line.tax_amount;
  }
  if (tax) d.tax += *tax;
  if (m_section == SectionId::SalesInvoices && d.status != "A" && !line.unreadable_tax) {
    const std::string rate = line.tax_percentage ? line.tax_percentage->Text() : "";
    VatSums& sums = m_vat[VatKey{line.tax_region, line.tax_code, rate}];
    sums.taxable += value;
    if (tax) sums.vat += *tax;
  }
}

void ContentChecks::EndDocument() {
  DocumentState& d = m_document;
  d.active = false;
  ++m_documents;
  SectionState& section = CurrentSectionState();
  ++section.documents;
  const bool annulled = d.status == "A";
  if (!annulled) {
    section.debit += d.debit;
    section.credit += d.credit;
  }
  if (!d.type.empty()) {
    ++m_summary.documents_by_type[d.type];
    if (annulled) ++m_summary.annulled_by_type[d.type];
  }

  if (m_version_rules.active()) m_version_rules.EndDocument(SectionName(m_section), d.number, d.type, d.date);

  // Numbering.
  if (DocumentNumberIndex* index = CurrentIndex(); index != nullptr && !index->Add(d.number)) {
    ++m_unnumbered_documents;
    AddForDocument(FindingKind::Numbering, FindingSeverity::Warning,
                   "Número de documento " + Quoted(d.number) + " sem série e número (\"TIPO SÉRIE/NÚMERO\")");
  }

  // Totals against the lines.
  const bool credit_note = m_section == SectionId::SalesInvoices && d.type == "NC";
  const DecimalAmount lines_value = credit_note ? d.debit - d.credit : d.credit - d.debit;
  const DecimalAmount lines_tax = credit_note ? -d.tax : d.tax;
  const DecimalAmount cent = OneCent();
  if (d.net_total && (*d.net_total - lines_value).Abs() > cent) {
    AddForDocument(FindingKind::DocumentTotals, FindingSeverity::Error,
                   "NetTotal " + d.net_total->Text() + " difere da soma das linhas " + lines_value.Text() +
                       " (diferença " + Difference(*d.net_total, lines_value) + ")");
  }
  if (d.tax_payable && (*d.tax_payable - lines_tax).Abs() > cent) {
    AddForDocument(FindingKind::DocumentTotals, FindingSeverity::Error,
                   "TaxPayable " + d.tax_payable->Text() + " difere do imposto das linhas " + lines_tax.Text() +
                       " (diferença " + Difference(*d.tax_payable, lines_tax) + ")");
  }
  if (d.gross_total && d.net_total && d.tax_payable) {
    const DecimalAmount expected = *d.net_total + *d.tax_payable;
    if ((*d.gross_total - expected).Abs() > cent) {
      AddForDocument(FindingKind::DocumentTotals, FindingSeverity::Error,
                     "GrossTotal " + d.gross_total->Text() + " difere de NetTotal + TaxPayable " + expected.Text() +
                         " (diferença " + Difference(*d.gross_total, expected) + ")");
    }
  }

  // Customer.
  if (!m_customers.contains(d.customer)) {
    ++m_customer_reference_findings;
    AddForDocument(FindingKind::CustomerReference, FindingSeverity::Error,
                   "CustomerID " + Quoted(d.customer) + " não consta dos clientes (MasterFiles)");
  }

  // Dates.
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

  // Signature: the payments of this version carry none.
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

void ContentChecks::EndSection(SectionId section) {
  SectionState& state = CurrentSectionState();
  const std::string documents = std::to_string(state.documents);
  if (!state.has_entries || state.declared_entries != documents) {
    Add(FindingKind::ControlTotals, FindingSeverity::Error,
        "NumberOfEntries " + (state.has_entries ? state.declared_entries : std::string("em falta")) +
            " difere do número de documentos " + documents);
  }
  if (state.declared_debit && *state.declared_debit != state.debit) {
    Add(FindingKind::ControlTotals, FindingSeverity::Error,
        "TotalDebit " + state.declared_debit->Text() + " difere da soma das linhas " + state.debit.Text() +
            " (diferença " + Difference(*state.declared_debit, state.debit) + ")");
  }
  if (state.declared_credit && *state.declared_credit != state.credit) {
    Add(FindingKind::ControlTotals, FindingSeverity::Error,
        "TotalCredit " + state.declared_credit->Text() + " difere da soma das linhas " + state.credit.Text() +
            " (diferença " + Difference(*state.declared_credit, state.credit) + ")");
  }
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

void ContentChecks::ReportReferencesToDocuments() {
  // Order references: to working documents of this file.
  std::map<SectionId, std::uint64_t> absent;
  std::map<SectionId, std::vector<std::string>> examples;
  for (const auto& [key, numbers] : m_order_references) {
    for (const std::uint32_t number : numbers) {
      if (m_work_numbers.Contains(key.second, number)) continue;
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
  for (const auto& [section, count] : absent) {
    std::string list;
    for (const std::string& example : examples[section]) list += (list.empty() ? "" : ", ") + Quoted(example);
    m_findings.Add(FindingKind::OrderReference, FindingSeverity::Warning, SectionName(section), "",
                   std::to_string(count) +
                       " referências OrderReferences/OriginatingON não correspondem a nenhum documento de "
                       "WorkingDocuments do ficheiro (por exemplo " +
                       list + ")");
  }
  // Payment lines: to invoices and credit notes, which may be of an earlier
  // period.
  if (m_payment_references_absent > 0) {
    std::string list;
    for (const std::string& example : m_payment_reference_examples) list += (list.empty() ? "" : ", ") + Quoted(example);
    m_findings.Add(FindingKind::PaymentReference, FindingSeverity::Note, "Payments", "",
                   std::to_string(m_payment_references_absent) +
                       " linhas de recibos liquidam documentos que não constam de SalesInvoices (podem ser de "
                       "outro período; por exemplo " +
                       list + ")");
  }
}

void ContentChecks::Finish(const VerificationOptions& options) {
  m_section = SectionId::None;
  ReportReferencesToDocuments();
  if (m_version_rules.active()) m_version_rules.Finish();

  const bool summarized_file = summarized();
  if (summarized_file != options.summarized_type_expected && (m_has_products || m_product_code_lines > 0)) {
    Add(FindingKind::Version, FindingSeverity::Warning,
        summarized_file ? "O ficheiro não tem lista de produtos (tipo Resumido) mas foi pedido o tipo Normal"
                        : "O ficheiro tem lista de produtos (tipo Normal) mas foi pedido o tipo Resumido");
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
