// A verification with the signature chain: VerifyAuditFile with the chain's
// setup in its options, for the callers that hold the setup by value (the
// run, the headless exporter). The verifier's own pass hands each signed
// document to the chain, whose RSA checks run beside it; the signature
// findings follow the verifier's, and "Abortar" stops both.
#pragma once

#include <filesystem>

#include "verify/audit_file_verifier.h"
#include "verify/signature_chain.h"

namespace varnel {

VerificationReport VerifyAuditFileAndSignatures(const std::filesystem::path& file, const VerificationOptions& options,
                                                const verify::SignatureChainSetup& signatures,
                                                VerificationProgress* progress = nullptr);

}  // namespace varnel
