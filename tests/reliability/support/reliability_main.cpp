// The reliability tests' own entry point: GoogleTest takes its flags first,
// then --seed=N and --cases=N set the property test's options; anything else
// is refused with a usage line, so a mistyped option never silently runs the
// defaults. (This main replaces gtest_main's: the linker takes gtest_main
// from its archive only when no main is defined.)
#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <string_view>

#include "reliability/support/reliability_options.h"

namespace varnel::testing::reliability {

PropertyOptions& Options() {
  static PropertyOptions options;
  return options;
}

namespace {

template <typename Number>
bool ReadOption(std::string_view argument, std::string_view name, Number& value) {
  if (!argument.starts_with(name)) return false;
  const std::string_view text = argument.substr(name.size());
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

}  // namespace varnel::testing::reliability

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  using varnel::testing::reliability::Options;
  using varnel::testing::reliability::ReadOption;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (ReadOption(argument, "--seed=", Options().seed)) continue;
    if (ReadOption(argument, "--cases=", Options().cases) && Options().cases >= 0) continue;
    std::fprintf(stderr, "Unknown option %s\nusage: %s [gtest flags] [--seed=N] [--cases=N]\n", argv[i], argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
