// The demo's key pair: DEMO ONLY, NEVER FOR REAL USE. Its private half is
// printed in tools/demo_signing_key.cpp for anyone to read, so a signature
// made with it proves nothing; it exists so the demo point-of-sale database
// carries a real signature chain that the verifier can check end to end.
// The public half, in PEM, is what the demo's working directory gets as the
// producer's key (version 1).
#pragma once

#include <string_view>

#include "tools/rsa_signer.h"

namespace varnel::demo {

// The key version documents signed with the demo key name in HashControl.
inline constexpr int kDemoKeyVersion = 1;

// The private key (1024 bits, public exponent 65537).
const tools::RsaPrivateKeyText& DemoPrivateKey();

// The public key as a SubjectPublicKeyInfo in PEM, with a final line break.
std::string_view DemoPublicKeyPem();

}  // namespace varnel::demo
