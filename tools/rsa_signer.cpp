// The signer's arithmetic. Numbers are little-endian vectors of 64-bit words.
// Per prime, a Montgomery context (the prime's negated inverse modulo 2^64
// and R^2 mod p, with R = 2^(64 k)) turns every reduction into
// multiplications; the signature is m^d mod n by the Chinese remainder
// theorem: m1 = m^dP mod p, m2 = m^dQ mod q, h = qInv (m1 - m2) mod p,
// s = m2 + h q.
#include "tools/rsa_signer.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

#include "tools/sha1_digest.h"

namespace varnel::tools {

namespace {

using Words = std::vector<std::uint64_t>;
using Wide = unsigned __int128;

Words FromHex(std::string_view hex) {
  Words words((hex.size() + 15) / 16, 0);
  for (std::size_t i = 0; i < hex.size(); ++i) {
    const char c = hex[hex.size() - 1 - i];
    const int value = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c - 'A' + 10;
    words[i / 16] |= static_cast<std::uint64_t>(value) << (4 * (i % 16));
  }
  return words;
}

// a <=> b over the first `size` words (missing words are 0).
int Compare(const Words& a, const Words& b, std::size_t size) {
  for (std::size_t i = size; i-- > 0;) {
    const std::uint64_t x = i < a.size() ? a[i] : 0;
    const std::uint64_t y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// a -= b, where a >= b; returns a.
Words& Subtract(Words& a, const Words& b) {
  std::uint64_t borrow = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const std::uint64_t y = i < b.size() ? b[i] : 0;
    const Wide difference = static_cast<Wide>(a[i]) - y - borrow;
    a[i] = static_cast<std::uint64_t>(difference);
    borrow = static_cast<std::uint64_t>(difference >> 64) != 0 ? 1 : 0;
  }
  return a;
}

// a += b, where the sum fits in a's words; returns a.
Words& Add(Words& a, const Words& b) {
  Wide carry = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    carry += static_cast<Wide>(a[i]) + (i < b.size() ? b[i] : 0);
    a[i] = static_cast<std::uint64_t>(carry);
    carry >>= 64;
  }
  return a;
}

// 2^bits mod m, one bit at a time (done once per prime).
Words PowerOfTwoMod(std::size_t bits, const Words& m) {
  Words r(m.size() + 1, 0);
  r[0] = 1;
  for (std::size_t i = 0; i < bits; ++i) {
    std::uint64_t carry = 0;
    for (std::uint64_t& word : r) {
      const std::uint64_t next = word >> 63;
      word = (word << 1) | carry;
      carry = next;
    }
    if (Compare(r, m, r.size()) >= 0) Subtract(r, m);
  }
  r.resize(m.size());
  return r;
}

class Montgomery {
 public:
  static constexpr std::size_t kMaxWords = 32;  // primes of up to 2048 bits

  explicit Montgomery(Words modulus) : m_modulus(std::move(modulus)), m_size(m_modulus.size()) {
    if (m_size == 0 || m_size > kMaxWords || m_modulus[0] % 2 == 0) {
      throw std::invalid_argument("a prime of the key is not an odd number of at most 2048 bits");
    }
    std::uint64_t inverse = 1;  // Newton's iteration for m[0]^-1 mod 2^64
    for (int i = 0; i < 6; ++i) inverse *= 2 - m_modulus[0] * inverse;
    m_negated_inverse = ~inverse + 1;
    m_r_squared = PowerOfTwoMod(128 * m_size, m_modulus);
  }

  // a b R^-1 mod m, for a and b below m.
  Words Multiply(const Words& a, const Words& b) const {
    Words product(m_size);
    MultiplyInto(a, b, product);
    return product;
  }

  // The same into out (of m's size; it may be a or b), without allocating:
  // the exponentiation's inner step.
  void MultiplyInto(const Words& a, const Words& b, Words& out) const {
    std::uint64_t t[kMaxWords + 2] = {};
    for (std::size_t i = 0; i < m_size; ++i) {
      Wide carry = 0;
      for (std::size_t j = 0; j < m_size; ++j) {
        carry += static_cast<Wide>(a[j]) * b[i] + t[j];
        t[j] = static_cast<std::uint64_t>(carry);
        carry >>= 64;
      }
      carry += t[m_size];
      t[m_size] = static_cast<std::uint64_t>(carry);
      t[m_size + 1] = static_cast<std::uint64_t>(carry >> 64);
      const std::uint64_t factor = t[0] * m_negated_inverse;
      carry = (static_cast<Wide>(factor) * m_modulus[0] + t[0]) >> 64;
      for (std::size_t j = 1; j < m_size; ++j) {
        carry += static_cast<Wide>(factor) * m_modulus[j] + t[j];
        t[j - 1] = static_cast<std::uint64_t>(carry);
        carry >>= 64;
      }
      carry += t[m_size];
      t[m_size - 1] = static_cast<std::uint64_t>(carry);
      t[m_size] = t[m_size + 1] + static_cast<std::uint64_t>(carry >> 64);
    }
    bool at_least_m = t[m_size] != 0;
    for (std::size_t i = m_size; !at_least_m && i-- > 0;) {
      if (t[i] != m_modulus[i]) {
        at_least_m = t[i] > m_modulus[i];
        break;
      }
      if (i == 0) at_least_m = true;  // equal to m
    }
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < m_size; ++i) {
      const Wide difference = static_cast<Wide>(t[i]) - (at_least_m ? m_modulus[i] : 0) - borrow;
      out[i] = static_cast<std::uint64_t>(difference);
      borrow = static_cast<std::uint64_t>(difference >> 64) != 0 ? 1 : 0;
    }
  }

  // value mod m, for a value of at most twice m's words: high R + low.
  Words Reduce(const Words& value) const {
    Words low(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(std::min(value.size(), m_size)));
    Words high(value.size() > m_size ? value.begin() + static_cast<std::ptrdiff_t>(m_size) : value.end(), value.end());
    low.resize(m_size, 0);
    high.resize(m_size, 0);
    while (Compare(low, m_modulus, m_size) >= 0) Subtract(low, m_modulus);
    while (Compare(high, m_modulus, m_size) >= 0) Subtract(high, m_modulus);
    Words sum = Multiply(high, m_r_squared);  // high R mod m
    sum.push_back(0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < m_size; ++i) {
      const Wide total = static_cast<Wide>(sum[i]) + low[i] + carry;
      sum[i] = static_cast<std::uint64_t>(total);
      carry = static_cast<std::uint64_t>(total >> 64);
    }
    sum[m_size] = carry;
    if (Compare(sum, m_modulus, m_size + 1) >= 0) Subtract(sum, m_modulus);
    sum.resize(m_size);
    return sum;
  }

  // base^exponent mod m, four exponent bits at a time.
  Words Power(const Words& base, const Words& exponent) const {
    Words one(m_size, 0);
    one[0] = 1;
    std::array<Words, 16> table;
    table[0] = Multiply(one, m_r_squared);
    table[1] = Multiply(base, m_r_squared);
    for (std::size_t i = 2; i < table.size(); ++i) table[i] = Multiply(table[i - 1], table[1]);
    Words result = table[0];
    for (std::size_t nibble = exponent.size() * 16; nibble-- > 0;) {
      for (int square = 0; square < 4; ++square) MultiplyInto(result, result, result);
      MultiplyInto(result, table[(exponent[nibble / 16] >> (4 * (nibble % 16))) & 15], result);
    }
    return Multiply(result, one);
  }

  const Words& modulus() const { return m_modulus; }
  const Words& r_squared() const { return m_r_squared; }

 private:
  Words m_modulus;
  std::size_t m_size;
  std::uint64_t m_negated_inverse = 0;
  Words m_r_squared;
};

// The PKCS#1 v1.5 encoding of message's SHA-1 digest, size bytes long, as
// a number: 00 01 FF...FF 00, the digest's algorithm identifier, the digest.
Words EncodedDigest(std::string_view message, std::size_t size) {
  static constexpr unsigned char kSha1Prefix[] = {0x30, 0x21, 0x30, 0x09, 0x06, 0x05, 0x2b, 0x0e,
                                                  0x03, 0x02, 0x1a, 0x05, 0x00, 0x04, 0x14};
  const std::array<unsigned char, 20> digest = Sha1Digest(message);
  std::vector<unsigned char> bytes(size, 0xFF);
  bytes[0] = 0x00;
  bytes[1] = 0x01;
  const std::size_t tail = sizeof kSha1Prefix + digest.size();
  bytes[size - tail - 1] = 0x00;
  std::copy(std::begin(kSha1Prefix), std::end(kSha1Prefix), bytes.end() - static_cast<std::ptrdiff_t>(tail));
  std::copy(digest.begin(), digest.end(), bytes.end() - static_cast<std::ptrdiff_t>(digest.size()));
  Words number((size + 7) / 8, 0);
  for (std::size_t i = 0; i < size; ++i) number[i / 8] |= static_cast<std::uint64_t>(bytes[size - 1 - i]) << (8 * (i % 8));
  return number;
}

}  // namespace

struct RsaSigner::Numbers {
  Words modulus;
  std::size_t size = 0;  // bytes of the modulus
  Montgomery p;
  Montgomery q;
  Words exponent1;
  Words exponent2;
  Words coefficient;
};

RsaSigner::RsaSigner(const RsaPrivateKeyText& key)
    : m_numbers(new Numbers{FromHex(key.modulus), (key.modulus.size() + 1) / 2, Montgomery(FromHex(key.prime1)),
                            Montgomery(FromHex(key.prime2)), FromHex(key.exponent1), FromHex(key.exponent2),
                            FromHex(key.coefficient)}) {
  if (m_numbers->p.modulus().size() * 2 != m_numbers->modulus.size() ||
      m_numbers->q.modulus().size() != m_numbers->p.modulus().size()) {
    throw std::invalid_argument("the primes must have half the modulus' 64-bit words each");
  }
}

RsaSigner::~RsaSigner() = default;

std::vector<unsigned char> RsaSigner::Sign(std::string_view message) const {
  const Numbers& key = *m_numbers;
  const Words encoded = EncodedDigest(message, key.size);
  const Words m1 = key.p.Power(key.p.Reduce(encoded), key.exponent1);
  const Words m2 = key.q.Power(key.q.Reduce(encoded), key.exponent2);
  // m1 - m2 mod p, as m1 - m2 or m1 + (p - m2 mod p)
  const Words m2_mod_p = key.p.Reduce(m2);
  Words difference = m1;
  if (Compare(m1, m2_mod_p, m1.size()) >= 0) {
    Subtract(difference, m2_mod_p);
  } else {
    Words complement = key.p.modulus();
    Add(difference, Subtract(complement, m2_mod_p));
  }
  const Words h = key.p.Multiply(key.p.Multiply(key.coefficient, difference), key.p.r_squared());
  const std::size_t half = h.size();
  Words signature(2 * half + 1, 0);  // m2 + h q
  for (std::size_t i = 0; i < half; ++i) {
    Wide carry = 0;
    for (std::size_t j = 0; j < half; ++j) {
      carry += static_cast<Wide>(h[i]) * key.q.modulus()[j] + signature[i + j];
      signature[i + j] = static_cast<std::uint64_t>(carry);
      carry >>= 64;
    }
    signature[i + half] = static_cast<std::uint64_t>(carry);
  }
  Add(signature, m2);
  std::vector<unsigned char> bytes(key.size);
  for (std::size_t i = 0; i < key.size; ++i) bytes[key.size - 1 - i] = static_cast<unsigned char>(signature[i / 8] >> (8 * (i % 8)));
  return bytes;
}

}  // namespace varnel::tools
