// The signature fields of a demo document: the signed number ("FT A/12",
// "TV A/3" for a ticket), the Hash and its key version in hashcontrol. The
// point of sale signs every document the audit file carries with the demo
// key (tools/demo_signing_key.h), chained per document type and series by
// the tax authority's rule: RSA with SHA-1 over the UTF-8 bytes of
// "date;system entry;number;gross total;previous Hash of the series". One
// draw per document decides how it was numbered: in the proportions of the
// options, a document was never signed (no signed number, hashcontrol "0";
// the exporter builds its number and writes Hash 0) or was signed under a
// number stored without its series letter ("FT /12": the exporter builds
// "FT A/12", the number it was signed with). Receipts and internal
// consumption (pagamento 6), which the audit file does not sign, get a
// number and no Hash.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tools/demo_database.h"
#include "tools/demo_random.h"
#include "tools/rsa_signer.h"

namespace varnel::demo {

struct DemoSignature {
  std::string signed_number;
  std::string hash;
  std::string hash_control;
};

// What a document's signature covers besides its number, as the audit file
// shows it.
struct SignedFields {
  std::int64_t day = 0;         // InvoiceDate or WorkDate
  int second = 0;               // SystemEntryDate's time of day, in seconds
  std::int64_t gross_cents = 0;  // GrossTotal
};

// "12.30", "-5.00": cents as the audit file's GrossTotal with two decimals.
std::string GrossTotalText(std::int64_t cents);

// The base64 text of bytes (with "=" padding), as a Hash is written.
std::string Base64Text(const std::vector<unsigned char>& bytes);

class DemoSigner {
 public:
  explicit DemoSigner(const DemoDatabaseOptions& options);

  // The signature fields of the next document of code; signs says whether
  // the point of sale signs it at all.
  DemoSignature Sign(DemoRandom& random, const std::string& code, std::int64_t number, bool signs,
                     const SignedFields& fields);

 private:
  int m_series_index;
  int m_unsigned_per_thousand;
  int m_without_letter_per_thousand;
  tools::RsaSigner m_signer;
  std::map<std::string, std::string> m_last_hash;  // per "prefix series"
};

}  // namespace varnel::demo
