// The signature fields of a demo document: the signed number ("FT A/12",
// "TV A/3" for a ticket), the 172-character base64 hash of a 1024-bit RSA
// signature and its key version in hashcontrol. Two in a hundred documents
// were never signed (hashcontrol "0", no hash) and two in a hundred were
// signed without a series letter ("FT /12"): the exporter builds the number
// for both.
#pragma once

#include <cstdint>
#include <string>

#include "tools/demo_random.h"

namespace varnel::demo {

struct DemoSignature {
  std::string signed_number;
  std::string hash;
  std::string hash_control;
};

// series_index 1 to 26 names the letter "A" to "Z".
DemoSignature SignDemoDocument(DemoRandom& random, const std::string& code, std::int64_t number,
                               int series_index);

}  // namespace varnel::demo
