// The audit file verifier: reads a finished SAF-T (PT) file back from disk,
// ours or another program's, and says what is wrong with it, in Portuguese,
// document by document: its bytes in the encoding it declares, the official
// schema (compiled in) and the assertions it carries, the control totals and
// each document's totals recomputed from the lines, references to the master
// files, taxpayer numbers, numbering gaps and duplicates, dates and
// signatures (with the producer's public keys, the signature chain itself,
// its RSA checks on a thread of their own fed by the same pass); and it adds
// up a VAT summary. One streaming pass; memory holds sets of codes and
// document numbers, nothing per line.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/currency.h"

namespace varnel {

namespace verify {
struct SignatureChainSetup;
}

enum class FindingSeverity { Error, Warning, Note };

struct Finding {
  FindingSeverity severity = FindingSeverity::Error;
  // "Ficheiro", "Header", "MasterFiles", "SalesInvoices", "MovementOfGoods",
  // "WorkingDocuments" or "Payments".
  std::string section;
  // The document's number (InvoiceNo, DocumentNumber, PaymentRefNo), or "".
  std::string document;
  // Portuguese, one line, with the values compared.
  std::string message;
};

// One line of the VAT summary: the sales documents that are not annulled,
// credit notes subtracted, per tax region, tax code and rate.
struct VatSummaryRow {
  std::string region;      // TaxCountryRegion: "PT", "PT-AC", "PT-MA", ...
  std::string tax_code;    // TaxCode: "NOR", "INT", "RED", "ISE", ...
  std::string percentage;  // the rate as a decimal text ("23.00"); "" for a tax amount
  Currency taxable;
  Currency vat;
  Currency gross;
};

struct VerificationSummary {
  std::vector<VatSummaryRow> vat;
  // InvoiceType, MovementType, WorkType or PaymentType ("RC", "RG") ->
  // documents of the file, annulled ones included.
  std::map<std::string, int> documents_by_type;
  std::map<std::string, int> annulled_by_type;
};

struct VerificationReport {
  std::vector<Finding> findings;
  VerificationSummary summary;
  // false when the check was stopped (abort); what was found so far stays.
  bool completed = false;

  int errors() const;
  int warnings() const;
};

// The caller's side of a running verification; every call comes on the
// caller's thread, from inside VerifyAuditFile.
class VerificationProgress {
 public:
  virtual ~VerificationProgress() = default;
  // The documents checked so far; called every 50 documents or so.
  virtual void documentsChecked(int count) = 0;
  // Polled at the same moments; true stops the check.
  virtual bool aborted() = 0;
};

struct VerificationOptions {
  // The Resumido type was asked for. A file without a product list is taken
  // for the Resumido type whatever is asked; asked for Normal, such a file is
  // a warning.
  bool summarized_type_expected = false;
  // Let libxml2 also check the schema's identity constraints (unique numbers
  // and codes, CustomerID and ProductCode key references). Off by default:
  // libxml2 holds a table entry per line for them, about 0.4 bytes of memory
  // per byte of file (50 MB for a 120 MB file) and a quarter of the
  // validation time, while the verifier's own reference, duplicate and
  // numbering checks cover the same rules with flat memory and name the
  // document. The rest of the schema is validated either way.
  bool schema_key_constraints = false;
  // Validate against the schema on a second thread, in a pass of its own
  // over the file (libxml2's push parser with the validator plugged in),
  // while this thread does the other checks. On two idle cores the schema's
  // cost overlaps the rest (10-20 % less wall time); it costs half as much
  // processor time again, and on a busy machine it is slower, so the single
  // pass is the default. Either way every callback of VerificationProgress
  // comes on the caller's thread.
  bool schema_on_second_thread = false;
  // The signature chain: null leaves signatures to the Hash's form. Given,
  // every signed document of SalesInvoices, MovementOfGoods and
  // WorkingDocuments is checked with the keys it names (without keys, one
  // note says the signatures were not verified), and the chain's findings
  // follow the others. It must outlive the call.
  const verify::SignatureChainSetup* signatures = nullptr;
};

// Verifies the audit file at `file`. Never throws for anything about the
// file: a file that cannot be read or parsed gives error findings.
VerificationReport VerifyAuditFile(const std::filesystem::path& file, const VerificationOptions& options,
                                   VerificationProgress* progress = nullptr);

}  // namespace varnel
