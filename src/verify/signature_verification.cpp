// The verifier's pass and the signature pass side by side: the signature
// thread starts first so both read the file at once; while it still runs
// after the verifier's pass, the caller's progress is told the documents
// counted, so a window keeps answering and "Abortar" still works.
#include "verify/signature_verification.h"

#include <numeric>
#include <utility>

#include "verify/signature_pass.h"

namespace varnel {

VerificationReport VerifyAuditFileAndSignatures(const std::filesystem::path& file, const VerificationOptions& options,
                                                verify::SignatureChainSetup signatures,
                                                VerificationProgress* progress) {
  verify::SignatureCheckThread signature_pass(file, std::move(signatures));
  VerificationReport report = VerifyAuditFile(file, options, progress);
  if (!report.completed) return report;  // stopped: the signature pass stops with it
  const auto& types = report.summary.documents_by_type;
  const int documents =
      std::accumulate(types.begin(), types.end(), 0, [](int sum, const auto& type) { return sum + type.second; });
  verify::SignatureCheckResult result = signature_pass.Await([progress, documents] {
    if (progress == nullptr) return false;
    progress->documentsChecked(documents);
    return progress->aborted();
  });
  if (!result.completed) {
    report.completed = false;
    report.findings.push_back({FindingSeverity::Note, "Ficheiro", "",
                               "Verificação interrompida antes do fim da verificação das assinaturas"});
    return report;
  }
  for (Finding& finding : result.findings) report.findings.push_back(std::move(finding));
  return report;
}

}  // namespace varnel
