// Options of the reliability tests, read from their own command line once
// GoogleTest has taken its flags: --seed=N (first case seed) and --cases=N
// (how many hostile databases the property test builds). CI runs the
// defaults; scripts/property.sh passes a seed and many more cases.
#pragma once

#include <cstdint>

namespace varnel::testing::reliability {

struct PropertyOptions {
  std::uint64_t seed = 20160131;
  int cases = 48;
};

PropertyOptions& Options();

}  // namespace varnel::testing::reliability
