// SHA-1 of a byte string, for the demo's signer: the digest that RSA
// signatures of the tax authority's rules cover. Portable C++, so the Linux
// and the Windows builds of the demo generator sign with the same bytes.
#pragma once

#include <array>
#include <string_view>

namespace varnel::tools {

std::array<unsigned char, 20> Sha1Digest(std::string_view bytes);

}  // namespace varnel::tools
