// The rules that name a document in the audit file: the document-type mapping of sales codes, the document number rule (stored
// signed number or a number built from prefix, series letter and numero) and
// the signature rule (which Hash and HashControl lines a document gets).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/series_index.h"
#include "section/audit_file_rules.h"
#include "section/schema_generation.h"

namespace varnel {

class XmlLineWriter;

struct DocumentType {
  std::string number_prefix;  // TK -> TV, FA -> FA, FS -> FS, other -> itself
  std::string invoice_type;   // TK -> TV, FA -> FT, FS -> FS, other -> itself
};
DocumentType MapDocumentType(std::string_view trimmed_doc);

// The stored signed number when it is usable (not empty, holds a "/" that is
// not its first character, and no blank stands just before the first "/");
// otherwise prefix + " " + series letter + "/" + numero. The result is not
// escaped: the caller escapes it with the line.
std::string DocumentNumber(std::string_view signed_number, std::string_view prefix,
                           SeriesIndex series, std::int64_t numero);

// Writes the Hash line and, when the rule says so, the HashControl line.
// Where the version writes HashControl on every document, it is the stored
// value (cut to the version's length) beside a stored Hash, "0" otherwise.
void WriteSignature(XmlLineWriter& writer, SchemaGeneration generation,
                    std::string_view signed_number, SeriesIndex series,
                    std::string_view hash, std::string_view hash_control, const AuditFileRules& rules);

class SectionContext;

// The document's number line (InvoiceNo, DocumentNumber, PaymentRefNo), and
// right after it, where the version has one, its ATCUD from the request's
// codes. number is not escaped yet.
void WriteDocumentNumber(SectionContext& context, std::string_view tag, const std::string& number);

}  // namespace varnel
