// Parsing of the headless exporter's options; every value is checked here so
// a bad call fails before anything is connected or written.
#include "cli/command_line.h"

#include "base/ascii_text.h"

#include <stdexcept>

#include "base/series_index.h"
#include "base/value_routines.h"

namespace varnel {

namespace {

DateTime ParseDay(const std::string& option, const std::string& value) {
  const auto parsed = DateTime::ParseDatabaseText(value);
  if (value.size() != 10 || !parsed) {
    throw UsageError(option + " needs a date written YYYY-MM-DD, not \"" + value + "\"");
  }
  return *parsed;
}

TaxRegion ParseRegion(const std::string& value) {
  const std::string v = AsciiLower(value);
  if (v == "continente" || v == "0") return TaxRegion::Continente;
  if (v == "madeira" || v == "1") return TaxRegion::Madeira;
  if (v == "acores" || v == "açores" || v == "2") return TaxRegion::Acores;
  throw UsageError("--region must be continente, madeira, acores, 0, 1 or 2, not \"" + value + "\"");
}

int ParseSeries(const std::string& value) {
  const std::string v = AsciiLower(value);
  if (v == "none") return 0;
  if (v.size() == 1 && v[0] >= 'a' && v[0] <= 'z') return v[0] - 'a' + 1;
  const auto number = ReadInteger(value);
  if (number && *number >= SeriesIndex::kNoSeries && *number <= SeriesIndex::kLastLetter && value.find_first_not_of("0123456789") == std::string::npos) {
    return *number;
  }
  throw UsageError("--series must be none, a letter A to Z or a number 0 to 26, not \"" + value + "\"");
}

// "FILE" is the key of version 1; "VERSION=FILE" names the version.
SignatureKeyFile ParsePublicKey(const std::string& value) {
  const std::size_t equals = value.find('=');
  const std::string version = equals == std::string::npos ? std::string() : value.substr(0, equals);
  const bool numbered = !version.empty() && version.find_first_not_of("0123456789") == std::string::npos;
  const auto number = numbered ? ReadInteger(version) : std::nullopt;
  if (numbered && (!number || *number < 1 || *number > 999999)) {
    throw UsageError("--public-key needs a key version from 1, not \"" + version + "\"");
  }
  SignatureKeyFile key{number.value_or(1), numbered ? value.substr(equals + 1) : value};
  if (key.path.empty()) throw UsageError("--public-key needs a file name");
  return key;
}

void AddPublicKey(std::vector<SignatureKeyFile>& keys, SignatureKeyFile key) {
  for (const SignatureKeyFile& other : keys) {
    if (other.version == key.version) {
      throw UsageError("--public-key names version " + std::to_string(key.version) + " twice");
    }
  }
  keys.push_back(std::move(key));
}

SaftType ParseType(const std::string& value) {
  const std::string v = AsciiLower(value);
  if (v == "normal") return SaftType::Normal;
  if (v == "resumido") return SaftType::Resumido;
  throw UsageError("--type must be normal or resumido, not \"" + value + "\"");
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      line.help = true;
      continue;
    }
    if (option == "--statistics") {
      line.statistics = true;
      continue;
    }
    if (option == "--no-verify") {
      line.no_verify = true;
      continue;
    }
    if (option.rfind("--", 0) != 0) throw UsageError("unexpected argument \"" + option + "\"");
    if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
    const std::string& value = arguments[++i];
    if (option == "--output") {
      line.output = value;
    } else if (option == "--workdir") {
      line.workdir = value;
    } else if (option == "--from") {
      line.from = ParseDay(option, value);
    } else if (option == "--to") {
      line.to = ParseDay(option, value);
    } else if (option == "--type") {
      line.saft_type = ParseType(value);
    } else if (option == "--region") {
      line.region = ParseRegion(value);
    } else if (option == "--series") {
      line.series = ParseSeries(value);
    } else if (option == "--saft-version") {
      line.saft_version = ParseSaftVersion(value);
      if (!line.saft_version) throw UsageError("--saft-version must be 1.03_01 or 1.04_01, not \"" + value + "\"");
    } else if (option == "--report") {
      line.report = value;
    } else if (option == "--status") {
      line.status = value;
    } else if (option == "--verify") {
      line.verify = value;
    } else if (option == "--public-key") {
      AddPublicKey(line.public_keys, ParsePublicKey(value));
    } else {
      throw UsageError("unknown option " + option);
    }
  }
  if (line.help) return line;
  if (!line.verify.empty()) {
    if (!line.output.empty()) throw UsageError("--verify checks a file without exporting: leave out --output");
    return line;
  }
  if (line.output.empty()) throw UsageError("--output is required");
  if (line.from.has_value() != line.to.has_value()) throw UsageError("--from and --to go together");
  return line;
}

void NameFilesByPeriod(CommandLine& line, DateTime first_day) {
  const std::string month = DateText(first_day).substr(0, 7);
  for (std::string* name : {&line.output, &line.report, &line.status}) {
    for (auto at = name->find(kPeriodPlaceholder); at != std::string::npos;
         at = name->find(kPeriodPlaceholder, at + month.size())) {
      name->replace(at, kPeriodPlaceholder.size(), month);
    }
  }
}

const char* UsageText() {
  return "Usage: varnel-export --output FILE [options]\n"
         "       varnel-export --verify FILE [--report FILE] [--status FILE]\n"
         "                     [--public-key [VERSION=]FILE]...\n"
         "Writes the SAF-T (PT) audit file (1.03_01 or 1.04_01) of the Korvel point-of-sale\n"
         "database described by Korvel.UDL in the working directory, then reads it back and\n"
         "verifies it; --verify only verifies an existing audit file of either version.\n"
         "\n"
         "  --output FILE        the audit file (its extension becomes .xml); \"{YYYY-MM}\" in it\n"
         "                       and in the --report and --status names becomes the year and\n"
         "                       month of the period's first day (SAFT-{YYYY-MM}.xml)\n"
         "  --workdir DIR        working directory holding Korvel.UDL, Varnel.ini, Korvel.ini\n"
         "  --from YYYY-MM-DD    first day of the period (default: first day of last month)\n"
         "  --to YYYY-MM-DD      last day of the period (default: last day of last month)\n"
         "  --type TYPE          normal or resumido (default resumido)\n"
         "  --region REGION      continente, madeira, acores or 0, 1, 2 (default: Varnel.ini)\n"
         "  --series SERIES      none, A to Z or 0 to 26 (default: Korvel.ini)\n"
         "  --saft-version V     1.03_01 or 1.04_01 (default: 1.03_01 for a period that starts\n"
         "                       before 2017-07-01, 1.04_01 from that day on); 1.04_01 takes\n"
         "                       the ATCUD validation codes from Varnel.ini, section ATCUD\n"
         "                       (\"FT A=AAJFJMVNTN\"), and exemption codes from section\n"
         "                       Isencoes (\"M07L=M07\") over the shipped table\n"
         "  --report FILE        write the verifier's findings and VAT summary as JSON\n"
         "  --status FILE        when the run ends, write its exit status (first line), what\n"
         "                       it means and the errors shown, for scheduled runs\n"
         "  --verify FILE        verify an existing audit file, without exporting\n"
         "  --no-verify          export without verifying the file (for measurements)\n"
         "  --public-key [VERSION=]FILE\n"
         "                       the producer's public key (PEM) that checks the signatures of\n"
         "                       key VERSION (default 1); repeat for more versions. For an export\n"
         "                       it replaces that version's key from Varnel.ini, section\n"
         "                       Assinaturas (\"1=chave-publica.pem\"); a relative FILE is taken\n"
         "                       from the working directory. --verify uses only these keys\n"
         "  --statistics         print the number of database statements run\n"
         "  --help               this text\n"
         "\n"
         "Exit status: 0 export complete (and verified without errors); 1 a check failed or\n"
         "an error ended the export; 2 bad usage; 3 the export completed but the verifier\n"
         "found errors; 130 aborted by SIGINT or SIGTERM.\n";
}

}  // namespace varnel
