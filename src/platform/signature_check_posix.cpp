// Linux: OpenSSL's libcrypto. The PEM text is read by the generic decoder
// (both key structures), and one verification context, set once for PKCS#1
// v1.5 with SHA-1, checks every signature against a digest made per message.
// Whatever OpenSSL leaves in this thread's error queue is cleared, so a
// failed check never shows up in a later, unrelated one.
#include "platform/signature_check.h"

#include <openssl/decoder.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>

namespace varnel::platform {

namespace {

struct KeyDeleter {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextDeleter {
  void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
struct DecoderDeleter {
  void operator()(OSSL_DECODER_CTX* decoder) const { OSSL_DECODER_CTX_free(decoder); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, ContextDeleter>;
using Decoder = std::unique_ptr<OSSL_DECODER_CTX, DecoderDeleter>;

Key DecodePublicKey(std::string_view pem) {
  EVP_PKEY* key = nullptr;
  Decoder decoder(OSSL_DECODER_CTX_new_for_pkey(&key, "PEM", nullptr, "RSA", OSSL_KEYMGMT_SELECT_PUBLIC_KEY,
                                                nullptr, nullptr));
  if (!decoder) return nullptr;
  const auto* data = reinterpret_cast<const unsigned char*>(pem.data());
  std::size_t left = pem.size();
  if (OSSL_DECODER_from_data(decoder.get(), &data, &left) != 1) return nullptr;
  return Key(key);
}

}  // namespace

struct RsaPublicKey::Handles {
  Key key;
  KeyContext verifier;
};

std::unique_ptr<RsaPublicKey> RsaPublicKey::FromPem(std::string_view pem, std::string& reason) {
  auto handles = std::make_unique<Handles>();
  handles->key = DecodePublicKey(pem);
  if (!handles->key || EVP_PKEY_is_a(handles->key.get(), "RSA") != 1) {
    ERR_clear_error();
    reason = "não contém uma chave pública RSA em formato PEM";
    return nullptr;
  }
  handles->verifier.reset(EVP_PKEY_CTX_new(handles->key.get(), nullptr));
  if (!handles->verifier || EVP_PKEY_verify_init(handles->verifier.get()) != 1 ||
      EVP_PKEY_CTX_set_rsa_padding(handles->verifier.get(), RSA_PKCS1_PADDING) != 1 ||
      EVP_PKEY_CTX_set_signature_md(handles->verifier.get(), EVP_sha1()) != 1) {
    ERR_clear_error();
    reason = "a chave não serve para verificar assinaturas RSA com SHA-1";
    return nullptr;
  }
  return std::unique_ptr<RsaPublicKey>(new RsaPublicKey(std::move(handles)));
}

RsaPublicKey::RsaPublicKey(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}

RsaPublicKey::~RsaPublicKey() = default;

bool RsaPublicKey::Verify(std::string_view message, std::span<const unsigned char> signature) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digest_size = 0;
  const bool verified =
      EVP_Digest(message.data(), message.size(), digest, &digest_size, EVP_sha1(), nullptr) == 1 &&
      EVP_PKEY_verify(m_handles->verifier.get(), signature.data(), signature.size(), digest, digest_size) == 1;
  if (!verified) ERR_clear_error();
  return verified;
}

int RsaPublicKey::bits() const { return EVP_PKEY_get_bits(m_handles->key.get()); }

}  // namespace varnel::platform
