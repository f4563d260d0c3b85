// The inputs of one export run: the values of the window's data panel, taken
// once when the run starts. Field names are those of the window's controls.
#pragma once

#include <string>
#include <vector>

#include "base/atcud_series_code.h"
#include "base/company.h"
#include "base/date_time.h"
#include "base/exemption_codes.h"
#include "base/product_version.h"
#include "base/saft_type.h"
#include "base/saft_version.h"
#include "base/series_index.h"
#include "base/signature_key_file.h"

namespace varnel {

struct ExportRequest {
  Company company;              // as typed, not trimmed
  DateTime datai;               // first day of the period (date part used)
  DateTime dataf;               // last day of the period (date part used)
  std::string ficheiro;         // output path as typed, not trimmed
  SaftType saftType = SaftType::Resumido;
  SeriesIndex fserienum;        // the document series, or nothing chosen
  std::string vs = std::string(kVersionLabel);  // the version label
  SaftVersion saftVersion = SaftVersion::k1_03_01;  // the file's SAF-T (PT) version
  bool verify = true;           // read the finished file back and verify it
  // 1.04_01 only: the series' validation codes for the ATCUD (Varnel.ini,
  // section "ATCUD"; a series without one gets "0"), and the rules that give
  // an exemption its TaxExemptionCode (the shipped ones, with Varnel.ini's
  // section "Isencoes" laid over them by the front end).
  std::vector<AtcudSeriesCode> atcudCodes;
  std::vector<ExemptionCodeRule> exemptionCodes = DefaultExemptionCodeRules();
  // The producer's public keys, one file per key version (Varnel.ini,
  // section "Assinaturas", or the command line): read before anything is
  // written, then every signature of the finished file is checked with them.
  std::vector<SignatureKeyFile> publicKeys;
};

}  // namespace varnel
