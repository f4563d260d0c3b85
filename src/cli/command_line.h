// The headless exporter's command line. Its contract is stable: other tools
// call it for scheduled and unattended exports.
//
//   varnel-export --output FILE [--workdir DIR] [--from YYYY-MM-DD --to YYYY-MM-DD]
//                 [--type normal|resumido] [--region continente|madeira|acores|0|1|2]
//                 [--series none|A..Z|0..26] [--saft-version 1.03_01|1.04_01]
//                 [--report FILE] [--status FILE] [--no-verify] [--statistics]
//                 [--public-key [VERSION=]FILE]... [--help]
//   varnel-export --verify FILE [--report FILE] [--status FILE] [--public-key [VERSION=]FILE]...
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "base/saft_type.h"
#include "base/saft_version.h"
#include "base/signature_key_file.h"
#include "base/tax_region.h"

namespace varnel {

struct CommandLine {
  bool help = false;
  bool statistics = false;  // print the number of statements run at the end
  std::string output;
  std::string workdir;
  std::optional<DateTime> from;
  std::optional<DateTime> to;
  SaftType saft_type = SaftType::Resumido;  // the window's default
  std::optional<TaxRegion> region;          // default: the stored region
  std::optional<int> series;      // default: the point-of-sale option
  std::optional<SaftVersion> saft_version;  // default: by the period's first day
  std::string report;             // the verifier's report as JSON, when given
  std::string status;             // the exit status and its meaning, written there at the end
  std::string verify;             // an existing audit file to verify, no export
  bool no_verify = false;         // export without reading the file back
  // --public-key: the producer's key per version, over Varnel.ini's ones.
  std::vector<SignatureKeyFile> public_keys;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises UsageError with a one-line reason for anything it cannot accept.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// "{YYYY-MM}" in the output, report and status names becomes the year and
// month of the period's first day, so a scheduled export names its files by
// the month it exports: "SAFT-{YYYY-MM}.xml" gives "SAFT-2026-11.xml" and no
// month's file replaces the one before.
inline constexpr std::string_view kPeriodPlaceholder = "{YYYY-MM}";
void NameFilesByPeriod(CommandLine& line, DateTime first_day);

const char* UsageText();

}  // namespace varnel
