// The chain's setup put into the verifier's options for the one call.
#include "verify/signature_verification.h"

namespace varnel {

VerificationReport VerifyAuditFileAndSignatures(const std::filesystem::path& file, const VerificationOptions& options,
                                                const verify::SignatureChainSetup& signatures,
                                                VerificationProgress* progress) {
  VerificationOptions with_signatures = options;
  with_signatures.signatures = &signatures;
  return VerifyAuditFile(file, with_signatures, progress);
}

}  // namespace varnel
