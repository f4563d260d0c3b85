// Checks a document's signature with the producer's public key: RSA with
// PKCS#1 v1.5 padding over the SHA-1 digest of the signed text, the scheme of
// the tax authority's rules for certified invoicing programs. The key comes
// as PEM text, either a SubjectPublicKeyInfo ("BEGIN PUBLIC KEY", what the
// producer registers with the tax authority) or a bare PKCS#1 key ("BEGIN RSA
// PUBLIC KEY"). Linux uses OpenSSL's libcrypto, Windows the system's CNG; both
// give the same verdicts, since the scheme is deterministic.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace varnel::platform {

class RsaPublicKey {
 public:
  // The first public key of pem, or null with reason set (Portuguese, a few
  // words: why the text is not a usable RSA public key).
  static std::unique_ptr<RsaPublicKey> FromPem(std::string_view pem, std::string& reason);

  ~RsaPublicKey();
  RsaPublicKey(const RsaPublicKey&) = delete;
  RsaPublicKey& operator=(const RsaPublicKey&) = delete;

  // Whether signature is this key's signature of message's bytes. A key
  // keeps one verification context and reuses it, so one thread at a time
  // may call this; it never throws.
  bool Verify(std::string_view message, std::span<const unsigned char> signature);

  // The modulus' size in bits (1024 for the keys of the rules).
  int bits() const;

 private:
  struct Handles;  // the platform's own, in its implementation file
  explicit RsaPublicKey(std::unique_ptr<Handles> handles);
  std::unique_ptr<Handles> m_handles;
};

}  // namespace varnel::platform
