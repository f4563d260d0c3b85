// Windows: the system's CNG. crypt32 turns the PEM text into DER
// (CryptStringToBinaryA) and decodes it: a SubjectPublicKeyInfo is imported
// with CryptImportPublicKeyInfoEx2, a bare PKCS#1 key is decoded into CNG's
// RSA public blob and imported through the RSA provider. Each message's
// SHA-1 digest comes from the SHA-1 provider opened with the key, and
// BCryptVerifySignature checks it with PKCS#1 v1.5 padding. Every handle has
// its owner and is released in the reverse order of its opening.
#include "platform/signature_check.h"

#include <windows.h>

#include <bcrypt.h>
#include <wincrypt.h>

#include <vector>

namespace varnel::platform {

namespace {

struct AlgorithmCloser {
  void operator()(void* algorithm) const { BCryptCloseAlgorithmProvider(algorithm, 0); }
};
struct KeyDestroyer {
  void operator()(void* key) const { BCryptDestroyKey(key); }
};
struct HashDestroyer {
  void operator()(void* hash) const { BCryptDestroyHash(hash); }
};
struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};
using Algorithm = std::unique_ptr<void, AlgorithmCloser>;
using Key = std::unique_ptr<void, KeyDestroyer>;
using Hash = std::unique_ptr<void, HashDestroyer>;
using LocalMemory = std::unique_ptr<void, LocalFreer>;

bool Succeeded(NTSTATUS status) { return status >= 0; }

Algorithm OpenAlgorithm(const wchar_t* name) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, name, nullptr, 0))) return nullptr;
  return Algorithm(algorithm);
}

// The DER bytes between the PEM text's header and footer lines.
std::vector<BYTE> DerFromPem(std::string_view pem) {
  DWORD size = 0;
  const auto length = static_cast<DWORD>(pem.size());
  if (!CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return {};
  }
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem.data(), length, CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
    return {};
  }
  der.resize(size);
  return der;
}

// Decodes der as structure into memory crypt32 allocates.
LocalMemory Decode(LPCSTR structure, const std::vector<BYTE>& der, DWORD& size) {
  void* decoded = nullptr;
  size = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, structure, der.data(), static_cast<DWORD>(der.size()),
                           CRYPT_DECODE_ALLOC_FLAG, nullptr, &decoded, &size)) {
    return nullptr;
  }
  return LocalMemory(decoded);
}

Key ImportSubjectPublicKeyInfo(const std::vector<BYTE>& der) {
  DWORD size = 0;
  LocalMemory info = Decode(X509_PUBLIC_KEY_INFO, der, size);
  if (!info) return nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!CryptImportPublicKeyInfoEx2(X509_ASN_ENCODING, static_cast<CERT_PUBLIC_KEY_INFO*>(info.get()), 0, nullptr,
                                   &key)) {
    return nullptr;
  }
  return Key(key);
}

Key ImportPkcs1(const std::vector<BYTE>& der, BCRYPT_ALG_HANDLE rsa) {
  DWORD size = 0;
  LocalMemory blob = Decode(CNG_RSA_PUBLIC_KEY_BLOB, der, size);
  if (!blob || rsa == nullptr) return nullptr;
  BCRYPT_KEY_HANDLE key = nullptr;
  if (!Succeeded(BCryptImportKeyPair(rsa, nullptr, BCRYPT_RSAPUBLIC_BLOB, &key, static_cast<PUCHAR>(blob.get()),
                                     size, 0))) {
    return nullptr;
  }
  return Key(key);
}

}  // namespace

// Declared in the order of opening: the key goes before its provider.
struct RsaPublicKey::Handles {
  Algorithm rsa;
  Algorithm sha1;
  Key key;
};

std::unique_ptr<RsaPublicKey> RsaPublicKey::FromPem(std::string_view pem, std::string& reason) {
  auto handles = std::make_unique<Handles>();
  const std::vector<BYTE> der = DerFromPem(pem);
  if (der.empty()) {
    reason = "não contém uma chave pública RSA em formato PEM";
    return nullptr;
  }
  const bool pkcs1 = pem.find("BEGIN RSA PUBLIC KEY") != std::string_view::npos;
  if (pkcs1) handles->rsa = OpenAlgorithm(BCRYPT_RSA_ALGORITHM);
  handles->key = pkcs1 ? ImportPkcs1(der, handles->rsa.get()) : ImportSubjectPublicKeyInfo(der);
  if (!handles->key) {
    reason = "não contém uma chave pública RSA em formato PEM";
    return nullptr;
  }
  handles->sha1 = OpenAlgorithm(BCRYPT_SHA1_ALGORITHM);
  if (!handles->sha1) {
    reason = "o sistema não oferece SHA-1 para verificar assinaturas";
    return nullptr;
  }
  return std::unique_ptr<RsaPublicKey>(new RsaPublicKey(std::move(handles)));
}

RsaPublicKey::RsaPublicKey(std::unique_ptr<Handles> handles) : m_handles(std::move(handles)) {}

RsaPublicKey::~RsaPublicKey() = default;

bool RsaPublicKey::Verify(std::string_view message, std::span<const unsigned char> signature) {
  BCRYPT_HASH_HANDLE hash_handle = nullptr;
  if (!Succeeded(BCryptCreateHash(m_handles->sha1.get(), &hash_handle, nullptr, 0, nullptr, 0, 0))) return false;
  Hash hash(hash_handle);
  UCHAR digest[20];
  auto* bytes = reinterpret_cast<PUCHAR>(const_cast<char*>(message.data()));
  if (!Succeeded(BCryptHashData(hash_handle, bytes, static_cast<ULONG>(message.size()), 0)) ||
      !Succeeded(BCryptFinishHash(hash_handle, digest, sizeof digest, 0))) {
    return false;
  }
  BCRYPT_PKCS1_PADDING_INFO padding{BCRYPT_SHA1_ALGORITHM};
  return Succeeded(BCryptVerifySignature(m_handles->key.get(), &padding, digest, sizeof digest,
                                         const_cast<PUCHAR>(signature.data()),
                                         static_cast<ULONG>(signature.size()), BCRYPT_PAD_PKCS1));
}

// Read from the key's public blob, which every CNG (Wine's too) exports; the
// key length property is not offered for imported keys everywhere.
int RsaPublicKey::bits() const {
  ULONG size = 0;
  if (!Succeeded(BCryptExportKey(m_handles->key.get(), nullptr, BCRYPT_RSAPUBLIC_BLOB, nullptr, 0, &size, 0)) ||
      size < sizeof(BCRYPT_RSAKEY_BLOB)) {
    return 0;
  }
  std::vector<UCHAR> blob(size);
  if (!Succeeded(BCryptExportKey(m_handles->key.get(), nullptr, BCRYPT_RSAPUBLIC_BLOB, blob.data(), size, &size, 0))) {
    return 0;
  }
  return static_cast<int>(reinterpret_cast<const BCRYPT_RSAKEY_BLOB*>(blob.data())->BitLength);
}

}  // namespace varnel::platform
