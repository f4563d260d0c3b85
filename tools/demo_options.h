// The command line of varnel-demo-db:
//   varnel-demo-db --out DIR [--from YYYY-MM-DD --to YYYY-MM-DD] [--documents N] [--seed S]
//                  [--atcud-codes] [--unsigned N] [--without-series-letter N] [--tickets]
// Without a period the whole calendar month before today is taken; without a
// count, 300 documents; without a seed, seed 1. Anything else raises
// UsageError with a sentence saying what is wrong.
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "base/errors.h"
#include "tools/demo_calendar.h"
#include "tools/demo_database.h"

namespace varnel::demo {

class UsageError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

struct DemoCommandLine {
  bool help = false;
  std::filesystem::path out;
  DemoDatabaseOptions database;
};

inline constexpr std::int64_t kDefaultDocuments = 300;
inline constexpr std::int64_t kMaximumDocuments = 50'000'000;

extern const char* const kDemoUsage;

// arguments excludes the program name; today decides the default period.
DemoCommandLine ParseDemoCommandLine(std::span<const std::string_view> arguments,
                                     const CivilDate& today);

}  // namespace varnel::demo
