// The documents of a finished audit file as the comparison with the database
// reads them back: for every Invoice, WorkDocument and Payment, its number and
// what it is worth (GrossTotal, less the withholding of an invoice). The file
// is the one this program wrote, one element per line, so a plain pass over
// its lines finds them; nothing but the current document is held, and the
// file is read in fixed-size blocks, so memory stays flat whatever its size.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/currency.h"

namespace varnel {

// The section a document stands in; its letter starts the document's key.
enum class DocumentSection : char { Sales = 'S', Working = 'W', Payments = 'P' };

struct FileDocument {
  DocumentSection section = DocumentSection::Sales;
  std::string number;  // InvoiceNo, DocumentNumber or PaymentRefNo, bytes as written
  // GrossTotal less WithholdingTaxAmount; none when the document has no
  // GrossTotal or one that is not an amount.
  std::optional<Currency> worth;
  std::optional<Currency> withholding;  // WithholdingTaxAmount, when written
};

// An amount as the file writes it: an optional "-", digits, and up to four
// decimals after "." (further decimals only when they are zeros). None
// otherwise, or beyond fourteen integer digits.
std::optional<Currency> ParseFileAmount(std::string_view text);

// Calls each with every document of the file, in file order, at its closing
// tag. Raises std::runtime_error (in Portuguese) when the file cannot be read.
void ReadAuditFileDocuments(const std::filesystem::path& file,
                            const std::function<void(const FileDocument&)>& each);

}  // namespace varnel
