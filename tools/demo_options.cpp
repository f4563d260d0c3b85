// Reads the command line of varnel-demo-db into the generator's options:
// --out, a period given by both --from and --to (or the month before today),
// --documents and --seed, each checked; a wrong one raises UsageError.
#include "tools/demo_options.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

namespace varnel::demo {

const char* const kDemoUsage =
    "Usage: varnel-demo-db --out DIR [--from YYYY-MM-DD --to YYYY-MM-DD] [--documents N] [--seed S]\n"
    "                      [--atcud-codes] [--unsigned N] [--without-series-letter N] [--tickets]\n"
    "Writes a demo Korvel point-of-sale working directory into DIR: the database korvel.db\n"
    "(replaced if present), Korvel.UDL, Korvel.ini, Varnel.ini and the demo's public key\n"
    "chave-publica-demo.pem (its documents are signed with a demo key pair, never for real use).\n"
    "  --from, --to   the period, both days included (default: the whole previous month)\n"
    "  --documents N  number of documents (default 300)\n"
    "  --seed S       seed of the generator; the same options give the same database (default 1)\n"
    "  --atcud-codes  also write made-up ATCUD validation codes for the demo's series\n"
    "                 into Varnel.ini, so a 1.04_01 export carries ATCUDs\n"
    "  --unsigned N   documents in a thousand the point of sale never signed (default 0)\n"
    "  --without-series-letter N\n"
    "                 documents in a thousand signed under a number stored without its\n"
    "                 series letter, \"FT /12\" (default 20)\n"
    "  --tickets      counter sales as tickets (TK) and cash sales (VD), as before 2013,\n"
    "                 whatever the period (from 2013 on they are simplified invoices, FS)\n";

namespace {

template <typename Integer>
std::optional<Integer> ReadNumber(std::string_view text) {
  Integer value{};
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int64_t ReadDay(std::string_view option, std::string_view text) {
  std::optional<CivilDate> date = ParseIsoDate(text);
  if (!date || date->year < 2000) {
    throw UsageError(std::string(option) + " needs a day from 2000 on, written YYYY-MM-DD, not \"" +
                     std::string(text) + "\".");
  }
  return DayNumber(*date);
}

}  // namespace

DemoCommandLine ParseDemoCommandLine(std::span<const std::string_view> arguments,
                                     const CivilDate& today) {
  DemoCommandLine command;
  command.database.documents = kDefaultDocuments;
  std::optional<std::int64_t> first_day;
  std::optional<std::int64_t> last_day;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view option = arguments[i];
    if (option == "--help" || option == "-h") {
      command.help = true;
      return command;
    }
    if (option == "--atcud-codes") {
      command.database.atcud_codes = true;
      continue;
    }
    if (option == "--tickets") {
      command.database.legacy_tickets = true;
      continue;
    }
    if (option != "--out" && option != "--from" && option != "--to" && option != "--documents" &&
        option != "--seed" && option != "--unsigned" && option != "--without-series-letter") {
      throw UsageError("Unknown option \"" + std::string(option) + "\".");
    }
    if (i + 1 >= arguments.size()) throw UsageError(std::string(option) + " needs a value.");
    std::string_view value = arguments[++i];
    if (option == "--out") {
      if (value.empty()) throw UsageError("--out needs a folder name.");
      command.out = std::filesystem::path(std::string(value));
    } else if (option == "--from") {
      first_day = ReadDay(option, value);
    } else if (option == "--to") {
      last_day = ReadDay(option, value);
    } else if (option == "--documents") {
      std::optional<std::int64_t> count = ReadNumber<std::int64_t>(value);
      if (!count || *count < 1 || *count > kMaximumDocuments) {
        throw UsageError("--documents needs a whole number from 1 to " +
                         std::to_string(kMaximumDocuments) + ", not \"" + std::string(value) + "\".");
      }
      command.database.documents = *count;
    } else if (option == "--unsigned" || option == "--without-series-letter") {
      std::optional<int> share = ReadNumber<int>(value);
      if (!share || *share > 1000) {
        throw UsageError(std::string(option) + " needs a whole number from 0 to 1000, not \"" + std::string(value) +
                         "\".");
      }
      (option == "--unsigned" ? command.database.unsigned_per_thousand
                              : command.database.without_series_letter_per_thousand) = *share;
    } else {
      std::optional<std::uint64_t> seed = ReadNumber<std::uint64_t>(value);
      if (!seed) {
        throw UsageError("--seed needs a whole number from 0 to 18446744073709551615, not \"" +
                         std::string(value) + "\".");
      }
      command.database.seed = *seed;
    }
  }
  if (command.out.empty()) throw UsageError("--out DIR is required.");
  if (command.database.unsigned_per_thousand + command.database.without_series_letter_per_thousand > 1000) {
    throw UsageError("--unsigned and --without-series-letter together cannot pass 1000.");
  }
  if (first_day.has_value() != last_day.has_value()) {
    throw UsageError("--from and --to go together.");
  }
  if (first_day) {
    if (*last_day < *first_day) throw UsageError("--to is before --from.");
    command.database.period = {*first_day, *last_day};
  } else {
    command.database.period = PreviousMonth(today);
  }
  return command;
}

}  // namespace varnel::demo
