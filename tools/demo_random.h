// The demo generator's source of chance: SplitMix64 with our own range
// mapping, so one seed gives the same sequence on every compiler and standard
// library (the standard distributions do not promise that). Not for secrets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace varnel::demo {

class DemoRandom {
 public:
  explicit DemoRandom(std::uint64_t seed) : m_state(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [0, bound), bound > 0; rejection keeps it unbiased.
  std::uint64_t Below(std::uint64_t bound) {
    std::uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
    std::uint64_t value;
    do {
      value = Next();
    } while (value >= limit);
    return value % bound;
  }

  // Uniform in [low, high].
  std::int64_t Between(std::int64_t low, std::int64_t high) {
    return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low) + 1));
  }

  // True with the chance of per_mille in a thousand.
  bool Chance(int per_mille) { return static_cast<int>(Below(1000)) < per_mille; }

  // An index into weights, each chosen in proportion to its weight; the
  // weights must not all be 0.
  std::size_t Weighted(std::span<const int> weights) {
    std::uint64_t sum = 0;
    for (int weight : weights) sum += static_cast<std::uint64_t>(weight);
    std::uint64_t pick = Below(sum);
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (pick < static_cast<std::uint64_t>(weights[i])) return i;
      pick -= static_cast<std::uint64_t>(weights[i]);
    }
    return weights.size() - 1;
  }

  // One of items (not empty), each as likely as the others; one draw.
  template <typename T>
  const T& Pick(std::span<const T> items) {
    return items[static_cast<std::size_t>(Below(items.size()))];
  }

 private:
  std::uint64_t m_state;
};

}  // namespace varnel::demo
