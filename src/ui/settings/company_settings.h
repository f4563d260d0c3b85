// The ten company values the system remembers between runs, as the operator
// typed them (untrimmed, unvalidated). A default-constructed value holds what
// a missing settings file gives: taxpayer number 999999990, name "?", and so
// on. Field names are those of the window's fields that show them.
#pragma once

#include <string>

namespace varnel {

struct CompanySettings {
  std::string companyID = "999999990";
  std::string companyName = "?";
  std::string buildingNumber = "S/N";
  std::string streetName = "S/N";
  std::string addressDetail = "?";
  std::string city = "?";
  std::string postalCode1 = "0000";
  std::string postalCode2 = "000";
  std::string estabelecimento;
  int taxCountryRegion = 0;  // 0 Continente, 1 Madeira, 2 Acores, -1 none

  friend bool operator==(const CompanySettings&, const CompanySettings&) = default;
};

}  // namespace varnel
