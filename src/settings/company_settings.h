// The ten company values the system remembers between runs, as the operator
// typed them (untrimmed, unvalidated). A default-constructed value holds what
// a missing settings file gives: taxpayer number 999999990, name "?", and so
// on. Field names are those of the window's fields that show them.
#pragma once

#include <string>

#include "section/export_request.h"

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

// Puts the ten company values into a request, as the window's fields give
// them to a run.
inline void ApplyCompany(ExportRequest& request, const CompanySettings& company) {
  request.companyID = company.companyID;
  request.companyName = company.companyName;
  request.buildingNumber = company.buildingNumber;
  request.streetName = company.streetName;
  request.addressDetail = company.addressDetail;
  request.city = company.city;
  request.postalCode1 = company.postalCode1;
  request.postalCode2 = company.postalCode2;
  request.estabelecimento = company.estabelecimento;
  request.taxCountryRegion = company.taxCountryRegion;
}

}  // namespace varnel
