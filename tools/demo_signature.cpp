// Draws the signature of a demo document: one draw decides whether and how
// it was signed, then the hash is filled from 64-bit draws, ten base64
// characters from each, to 171 characters and a closing "=". The hash is
// made up; nothing checks it against a key.
#include "tools/demo_signature.h"

namespace varnel::demo {

namespace {

// The number prefix of a document code, as the signed numbers carry it.
std::string NumberPrefix(const std::string& code) { return code == "TK" ? "TV" : code; }

}  // namespace

DemoSignature SignDemoDocument(DemoRandom& random, const std::string& code, std::int64_t number,
                               int series_index) {
  static constexpr char kBase64[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  DemoSignature signature;
  std::string prefix = NumberPrefix(code);
  std::uint64_t kind = random.Below(1000);
  if (kind < 20) {
    // Never signed: the exporter builds the number and writes Hash 0.
    signature.hash_control = "0";
    return signature;
  }
  if (kind < 40) {
    // Signed without a series letter: the exporter builds the number.
    signature.signed_number = prefix + " /" + std::to_string(number);
  } else {
    signature.signed_number =
        prefix + " " + static_cast<char>('A' + series_index - 1) + "/" + std::to_string(number);
  }
  // 128 bytes of RSA signature in base64: 171 characters and one "=".
  signature.hash.reserve(172);
  while (signature.hash.size() < 171) {
    std::uint64_t bits = random.Next();
    for (int i = 0; i < 10 && signature.hash.size() < 171; ++i, bits >>= 6) {
      signature.hash += kBase64[bits & 63];
    }
  }
  signature.hash += '=';
  signature.hash_control = "1";
  return signature;
}

}  // namespace varnel::demo
