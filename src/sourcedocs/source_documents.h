// The three sections of SourceDocuments, each an object that owns its
// queries for the whole run (so each statement is prepared once and re-run
// per document) and closes them when it goes. Each offers countDocuments
// (asked by the run before SourceDocuments is written; leaves no query open)
// and its writer. The sections leave the run by the context's abort exit
// when they find the abort flag inside a document; at a document boundary
// they end normally.
#pragma once

#include <vector>

#include "base/exemption_codes.h"
#include "posdb/pos_database.h"
#include "sourcedocs/control_totals.h"
#include "sourcedocs/exemption_reasons.h"
#include "sourcedocs/invoice_lines.h"

namespace varnel {

class SectionContext;
struct InvoiceDocument;

// The rules an ExemptionReasons object gives TaxExemptionCodes by: the
// request's, where the version has the element; null otherwise.
const std::vector<ExemptionCodeRule>* ExemptionCodeRules(const SectionContext& context);

// Table-consultation documents ("CM"), one WorkDocument each.
class WorkingDocumentsSection {
 public:
  explicit WorkingDocumentsSection(SectionContext& context);

  int countDocuments();
  // Binds the period and opens the consultation query; the sales invoices
  // open it with their own tables.
  void OpenDocumentQuery();
  // "<WorkingDocuments>" to "</WorkingDocuments>" at level 2.
  void Write();

 private:
  void WriteWorkDocument(ExemptionReasons& exemptions, ControlTotals& totals);
  void WriteLines(const std::string& tax_point_date, ExemptionReasons& exemptions, LineSums& sums);

  SectionContext& m_context;
  PosQuery m_q_consultas;
  PosQuery m_q_venCM;
};

// Sales documents (TK, VD, FA, FS, FT, NC), one Invoice each.
class SalesInvoicesSection {
 public:
  explicit SalesInvoicesSection(SectionContext& context);

  int countDocuments();
  // "<SalesInvoices>" to "</SalesInvoices>" at level 2. The period's sales
  // tables are opened together: the compensations, the documents, then the
  // following section's consultations.
  void Write(WorkingDocumentsSection& following);

 private:
  void WriteInvoice(ExemptionReasons& exemptions, ControlTotals& totals);

  SectionContext& m_context;
  PosQuery m_q_comp;
  PosQuery m_q_doc;
  InvoiceLines m_lines;
};

// Receipts ("RC"), one Payment each; written only when the period has one.
class PaymentsSection {
 public:
  explicit PaymentsSection(SectionContext& context);
  ~PaymentsSection();

  int countDocuments();
  // "<Payments>" to "</Payments>" at level 2.
  void Write();

 private:
  struct Queries;
  void WritePayment(ControlTotals& totals);
  // with_tax: the lines carry Tax (always in 1.03_01; in 1.04_01 only on a
  // receipt of the cash VAT scheme, PaymentType RC).
  void WriteLines(std::int64_t receipt_number, bool with_tax, LineSums& sums);

  SectionContext& m_context;
  std::unique_ptr<Queries> m_queries;
};

}  // namespace varnel
