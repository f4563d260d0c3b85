// RSA signatures with PKCS#1 v1.5 padding over the SHA-1 digest of a message,
// the scheme of the tax authority's rules for certified invoicing programs,
// for the demo generator's documents. Portable C++ (64-bit words, Montgomery
// multiplication, the private key in its Chinese-remainder form), so the
// Linux and Windows builds sign with the same bytes; the scheme itself is
// deterministic. Not hardened against timing: it signs made-up documents
// with a key that is public anyway.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace varnel::tools {

// A private key's numbers as big-endian hexadecimal text.
struct RsaPrivateKeyText {
  std::string_view modulus;       // n = p q
  std::string_view prime1;        // p
  std::string_view prime2;        // q
  std::string_view exponent1;     // d mod (p - 1)
  std::string_view exponent2;     // d mod (q - 1)
  std::string_view coefficient;   // q^-1 mod p
};

class RsaSigner {
 public:
  explicit RsaSigner(const RsaPrivateKeyText& key);
  ~RsaSigner();
  RsaSigner(const RsaSigner&) = delete;
  RsaSigner& operator=(const RsaSigner&) = delete;

  // The signature of message's bytes, as many bytes as the modulus has.
  std::vector<unsigned char> Sign(std::string_view message) const;

 private:
  struct Numbers;
  std::unique_ptr<Numbers> m_numbers;
};

}  // namespace varnel::tools
