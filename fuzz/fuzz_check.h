// The one check of the fuzz targets: an invariant that does not hold prints
// what was expected and aborts, which libFuzzer reports as a crash and
// saves the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace varnel::fuzz {

inline void Require(bool holds, std::string_view what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

inline std::string_view AsText(const unsigned char* data, std::size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace varnel::fuzz
