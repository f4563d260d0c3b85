// A verification with the signature chain: VerifyAuditFile on the caller's
// thread and, beside it, the signature pass on a thread of its own over the
// same file; the signature findings follow the verifier's. "Abortar" during
// the verifier's pass stops both; while the signature pass is still running
// after the verifier's, the caller's progress keeps being told (so a window
// keeps handling input) and may stop it too.
#pragma once

#include <filesystem>

#include "verify/audit_file_verifier.h"
#include "verify/signature_chain.h"

namespace varnel {

VerificationReport VerifyAuditFileAndSignatures(const std::filesystem::path& file, const VerificationOptions& options,
                                                verify::SignatureChainSetup signatures,
                                                VerificationProgress* progress = nullptr);

}  // namespace varnel
