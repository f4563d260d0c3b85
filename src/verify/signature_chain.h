// The signature chain of an audit file. A certified program signs every
// document it issues with its private key: RSA over the UTF-8 bytes of
// "date;system entry date;number;gross total;previous Hash", where the
// previous Hash is that of the document before it in the same document type
// and series (empty for the series' first). This checker takes the signed
// documents of SalesInvoices, MovementOfGoods and WorkingDocuments in the
// file's order and checks each Hash with the producer's public key of the
// version its HashControl names, chaining per series. It keeps per series
// only the last Hash and the failures not yet closed by a document that
// verifies, so its memory does not grow with the file.
//
// What it reports (Portuguese findings, capped like the verifier's own):
//   - an error per document whose signature does not verify, naming it and
//     the text checked; a series that fails from one document to its end is
//     one error with that document and the count;
//   - a warning per series with documents of this program left unsigned
//     (Hash "0", SourceBilling "P") in a file of a certified program;
//   - a note when there is no key at all, one per key version without a key,
//     and one per series whose first document could not be checked because
//     its previous document is neither in the file nor given;
//   - HashControl forms of integrated ("I") and recovered ("M") documents,
//     which the program did not sign and the chain leaves out.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verify/audit_file_verifier.h"

namespace varnel {

class SignatureKeys;

namespace verify {

enum class SignedSection { SalesInvoices, MovementOfGoods, WorkingDocuments };

// "SalesInvoices", "MovementOfGoods" or "WorkingDocuments".
const char* SignedSectionName(SignedSection section);

// The values of one document that its signature covers or names, as the
// file writes them (text in UTF-8).
struct SignedDocument {
  SignedSection section = SignedSection::SalesInvoices;
  std::string number;          // InvoiceNo or DocumentNumber, exactly as written
  std::string date;            // InvoiceDate, MovementDate or WorkDate
  std::string system_entry;    // SystemEntryDate
  std::string gross_total;     // GrossTotal as written
  std::string hash;            // Hash
  std::optional<std::string> hash_control;  // HashControl, when the document has one
  std::string source_billing;  // "P", "I" or "M"; "" when the file has none
};

// The series a document is chained in: its section and its number's text
// before the last "/" ("FT A" of "FT A/12").
std::string SignatureSeriesKey(SignedSection section, std::string_view number);

// The signed document just before the first one of a series in the file, as
// the point-of-sale database holds it.
struct PreviousSignature {
  std::string document;  // its number ("FT A/11"), for the messages
  std::string hash;
};

struct SignatureChainSetup {
  // Null or empty: nothing is verified, and one note says so.
  const SignatureKeys* keys = nullptr;
  // Per SignatureSeriesKey: the document before the series' first in the file.
  std::map<std::string, PreviousSignature> previous;
  // True when previous comes from the database the file was exported from:
  // a series it does not name has no signed document before its first in
  // the file, which therefore starts the chain. False for a file checked on
  // its own: a series' first document is checked only when it starts the
  // chain (its number is 1, or it verifies without a previous Hash);
  // otherwise one note says it could not be.
  bool previous_from_database = false;
};

// The amount with two decimals and "." (1302 -> "1302.00", "12.345" ->
// "12.35", halves away from zero); nothing when it is not a decimal number.
std::optional<std::string> TwoDecimals(std::string_view amount);

// The text a document's signature covers, with previous_hash at its end.
std::string SignedText(const SignedDocument& document, std::string_view previous_hash);

class SignatureChain {
 public:
  explicit SignatureChain(SignatureChainSetup setup);
  ~SignatureChain();
  SignatureChain(const SignatureChain&) = delete;
  SignatureChain& operator=(const SignatureChain&) = delete;

  // The Header's SoftwareCertificateNumber ("0" or absent: not certified).
  void SetCertificateNumber(std::string_view number);
  // The next document of the file, in its order.
  void Add(const SignedDocument& document);
  // The findings, once every document has been added. Call once.
  std::vector<Finding> Finish();

  std::uint64_t signatures_checked() const { return m_checked; }
  std::uint64_t signatures_verified() const { return m_verified; }

 private:
  struct Series;
  struct Failure;

  Series& SeriesOf(const SignedDocument& document);
  void CheckSigned(Series& series, const SignedDocument& document, const std::string& hash);
  void Verify(Series& series, const SignedDocument& document, int version, const std::string& hash);
  void CheckOtherOrigin(const SignedDocument& document);
  void CloseFailures(Series& series);
  void ReportOpenFailures(Series& series);
  void ReportSeries(Series& series);
  void ReportKeys();
  void AddDocumentError(SignedSection section, std::string document, std::string message);
  void Add(FindingSeverity severity, std::string section, std::string document, std::string message);

  SignatureChainSetup m_setup;
  std::string m_certificate;
  std::map<std::string, std::unique_ptr<Series>> m_series;
  std::vector<Finding> m_findings;
  std::size_t m_document_errors = 0;        // per-document errors made
  std::size_t m_document_errors_left = 0;   // ... and left out past the cap

  struct VersionCount {
    std::uint64_t documents = 0;
    std::string first;
    std::uint64_t verified = 0;
    std::uint64_t failed = 0;
  };
  std::map<int, VersionCount> m_versions;  // per key version named by the documents
  std::uint64_t m_signed = 0;              // documents with a signature
  std::uint64_t m_checked = 0;             // signatures checked with a key
  std::uint64_t m_verified = 0;
};

}  // namespace verify
}  // namespace varnel
