// The inputs of one export run: the values of the window's data panel, taken
// once when the run starts. Field names are those of the window's controls.
#pragma once

#include <string>

#include "base/company.h"
#include "base/date_time.h"
#include "base/product_version.h"
#include "base/saft_version.h"
#include "base/series_index.h"

namespace varnel {

struct ExportRequest {
  Company company;              // as typed, not trimmed
  DateTime datai;               // first day of the period (date part used)
  DateTime dataf;               // last day of the period (date part used)
  std::string ficheiro;         // output path as typed, not trimmed
  int saftType = 1;             // 0 Normal, 1 Resumido
  SeriesIndex fserienum;        // the document series, or nothing chosen
  std::string vs = std::string(kVersionLabel);  // the version label
  SaftVersion saftVersion = SaftVersion::k1_03_01;  // the file's SAF-T (PT) version
  bool verify = true;           // read the finished file back and verify it
};

}  // namespace varnel
