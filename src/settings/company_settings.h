// The company values as the settings file keeps them: the Company of a
// request, with the defaults a missing settings file gives (taxpayer number
// 999999990, name "?", and so on).
#pragma once

#include "base/company.h"

namespace varnel {

// What a missing file, section or key gives, key by key.
inline Company DefaultCompanySettings() {
  Company company;
  company.companyID = "999999990";
  company.companyName = "?";
  company.buildingNumber = "S/N";
  company.streetName = "S/N";
  company.addressDetail = "?";
  company.city = "?";
  company.postalCode1 = "0000";
  company.postalCode2 = "000";
  company.taxCountryRegion = TaxRegion::Continente;
  return company;
}

}  // namespace varnel
