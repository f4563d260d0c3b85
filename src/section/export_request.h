// The inputs of one export run: the values of the window's data panel, taken
// once when the run starts. Field names are those of the window's controls.
#pragma once

#include <string>

#include "base/date_time.h"

namespace varnel {

struct ExportRequest {
  std::string companyID;        // as typed, not trimmed
  std::string companyName;
  std::string streetName;
  std::string addressDetail;
  std::string buildingNumber;
  std::string postalCode1;
  std::string postalCode2;
  std::string city;
  std::string estabelecimento;  // at most 20 characters
  DateTime datai;               // first day of the period (date part used)
  DateTime dataf;               // last day of the period (date part used)
  std::string ficheiro;         // output path as typed, not trimmed
  int taxCountryRegion = 0;     // 0 Continente, 1 Madeira, 2 Acores, -1 none
  int saftType = 1;             // 0 Normal, 1 Resumido
  int fserienum = 0;            // 0 no series, 1..26 the letters A..Z, -1 none
  std::string vs = "Versão 6.5.1 Korvel";  // the version label
};

}  // namespace varnel
