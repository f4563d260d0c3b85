// The company an audit file is written for: the ten values of the window's
// data panel, kept in the system's settings file between runs and handed to
// a run in its request. Values are as the operator typed them (untrimmed,
// unvalidated); field names are those of the window's fields that show them.
// A default-constructed value is blank; the settings file supplies its own
// defaults for missing keys.
#pragma once

#include <cstddef>
#include <string>

#include "base/tax_region.h"

namespace varnel {

// The establishment's name is cut to this many characters where it is typed
// and where it is written.
inline constexpr std::size_t kEstablishmentLength = 20;

struct Company {
  std::string companyID;        // the taxpayer number
  std::string companyName;
  std::string buildingNumber;
  std::string streetName;
  std::string addressDetail;
  std::string city;
  std::string postalCode1;
  std::string postalCode2;
  std::string estabelecimento;  // at most kEstablishmentLength characters
  TaxRegion taxCountryRegion = TaxRegion::Continente;

  friend bool operator==(const Company&, const Company&) = default;
};

}  // namespace varnel
