// The producer's public keys, one per key version, that the signature check
// verifies documents with: a document whose HashControl is "2" is checked
// with key 2. Each key is read from its PEM file when the run starts, so a
// file that cannot be read or holds no RSA public key stops the run before
// anything is written, with a Portuguese message naming the file. The keys
// live as long as the run; one thread at a time verifies with them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/signature_key_file.h"

namespace varnel::platform {
class RsaPublicKey;
}

namespace varnel {

// A key file that cannot be read or parsed; the text names the file.
class SignatureKeyError : public VarnelError {
 public:
  using VarnelError::VarnelError;
};

class SignatureKeys {
 public:
  SignatureKeys();
  ~SignatureKeys();
  SignatureKeys(SignatureKeys&&) noexcept;
  SignatureKeys& operator=(SignatureKeys&&) noexcept;

  // Reads every file in its order (a relative path from the working
  // directory); a later file of the same version replaces an earlier one.
  // Raises SignatureKeyError for the first file that fails.
  static SignatureKeys Load(const std::vector<SignatureKeyFile>& files);

  // Adds the key in pem for version; source names it in messages (the file
  // as shown to the operator). Raises SignatureKeyError when pem holds no
  // RSA public key.
  void Add(int version, std::string_view pem, const std::string& source);

  bool empty() const { return m_keys.empty(); }
  // The key of version, or null when there is none.
  platform::RsaPublicKey* Find(int version) const;
  // The file the key of version came from ("" when there is none).
  std::string Source(int version) const;

 private:
  struct Entry {
    std::unique_ptr<platform::RsaPublicKey> key;
    std::string source;
  };
  std::map<int, Entry> m_keys;
};

}  // namespace varnel
