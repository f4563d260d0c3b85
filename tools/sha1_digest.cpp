// SHA-1 as its standard (FIPS 180-4) defines it: the message padded to
// whole 64-byte blocks with its bit length at the end, each block mixed into
// five 32-bit words over eighty rounds.
#include "tools/sha1_digest.h"

#include <cstdint>
#include <string>

namespace varnel::tools {

namespace {

std::uint32_t RotateLeft(std::uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

void MixBlock(const unsigned char* block, std::array<std::uint32_t, 5>& state) {
  std::uint32_t words[80];
  for (int i = 0; i < 16; ++i) {
    words[i] = static_cast<std::uint32_t>(block[4 * i]) << 24 | static_cast<std::uint32_t>(block[4 * i + 1]) << 16 |
               static_cast<std::uint32_t>(block[4 * i + 2]) << 8 | static_cast<std::uint32_t>(block[4 * i + 3]);
  }
  for (int i = 16; i < 80; ++i) words[i] = RotateLeft(words[i - 3] ^ words[i - 8] ^ words[i - 14] ^ words[i - 16], 1);
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (int i = 0; i < 80; ++i) {
    std::uint32_t mixed;
    std::uint32_t constant;
    if (i < 20) {
      mixed = (b & c) | (~b & d);
      constant = 0x5A827999;
    } else if (i < 40) {
      mixed = b ^ c ^ d;
      constant = 0x6ED9EBA1;
    } else if (i < 60) {
      mixed = (b & c) | (b & d) | (c & d);
      constant = 0x8F1BBCDC;
    } else {
      mixed = b ^ c ^ d;
      constant = 0xCA62C1D6;
    }
    const std::uint32_t next = RotateLeft(a, 5) + mixed + e + constant + words[i];
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

}  // namespace

std::array<unsigned char, 20> Sha1Digest(std::string_view bytes) {
  std::array<std::uint32_t, 5> state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t offset = 0; offset < whole; offset += 64) {
    MixBlock(reinterpret_cast<const unsigned char*>(bytes.data()) + offset, state);
  }
  std::string tail(bytes.substr(whole));
  tail += '\x80';
  while (tail.size() % 64 != 56) tail += '\0';
  const std::uint64_t bit_length = static_cast<std::uint64_t>(bytes.size()) * 8;
  for (int shift = 56; shift >= 0; shift -= 8) tail += static_cast<char>((bit_length >> shift) & 0xFF);
  for (std::size_t offset = 0; offset < tail.size(); offset += 64) {
    MixBlock(reinterpret_cast<const unsigned char*>(tail.data()) + offset, state);
  }
  std::array<unsigned char, 20> digest{};
  for (int i = 0; i < 20; ++i) digest[i] = static_cast<unsigned char>(state[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

}  // namespace varnel::tools
