// One document series' validation code, the first part of the ATCUD every
// document of the series carries in a 1.04_01 audit file ("<code>-<number>").
// The export request carries the list the settings file holds; the settings
// layer reads and writes it.
#pragma once

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

// The code for the series of a document of type, ignoring letter case as the
// settings file does; nullptr when codes holds none.
const AtcudSeriesCode* FindAtcudSeriesCode(const std::vector<AtcudSeriesCode>& codes, std::string_view type,
                                           std::string_view series);

}  // namespace varnel
