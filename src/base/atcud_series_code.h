// One document series' validation code, the first part of the ATCUD every
// document of the series carries in a 1.04_01 audit file ("<code>-<number>").
// The export request carries the list the settings file holds; the settings
// layer reads and writes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

struct AtcudSeriesCode {
  std::string type;    // the document type, "FT", "FS", "NC", "CM", "RC" ...
  std::string series;  // the series as the document number shows it, "A"
  std::string code;    // the validation code
};

// A validation code is at least 8 characters, each an ASCII letter or digit.
bool IsValidValidationCode(std::string_view code);

// The parts of a document number "FT A/15": the type before the first blank,
// the series between it and the last "/", the sequence number after that
// "/"; nothing when the number lacks any of them or the sequence number is
// not made of digits.
struct DocumentSeriesParts {
  std::string_view type;
  std::string_view series;
  std::string_view sequence;
};
std::optional<DocumentSeriesParts> SplitDocumentSeries(std::string_view document_number);

// The ATCUD of a document numbered document_number: its series' validation
// code, "-" and its sequence number ("AAJFJMVNTN-15"); "0" when codes hold
// none for its type and series or the number cannot be split.
std::string Atcud(std::string_view document_number, const std::vector<AtcudSeriesCode>& codes);

// The code for the series of a document of type, ignoring letter case as the
// settings file does; nullptr when codes holds none.
const AtcudSeriesCode* FindAtcudSeriesCode(const std::vector<AtcudSeriesCode>& codes, std::string_view type,
                                           std::string_view series);

}  // namespace varnel
