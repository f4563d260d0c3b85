// Helpers of the verifier's tests: a report as text for failure messages,
// the one finding of a severity whose message holds a part, and the
// verification of bytes written to a fresh file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/test_paths.h"
#include "verify/audit_file_verifier.h"

namespace varnel::testing {

inline std::string Describe(const VerificationReport& report) {
  std::string text;
  for (const Finding& f : report.findings) {
    const char* severity = f.severity == FindingSeverity::Error     ? "E"
                           : f.severity == FindingSeverity::Warning ? "W"
                                                                    : "N";
    text += std::string(severity) + " [" + f.section + "] " + f.document + ": " + f.message + "\n";
  }
  return text;
}

// The one finding of that severity whose message contains `part`.
inline const Finding* FindOne(const VerificationReport& report, FindingSeverity severity, const std::string& part) {
  const Finding* found = nullptr;
  for (const Finding& f : report.findings) {
    if (f.severity != severity || f.message.find(part) == std::string::npos) continue;
    EXPECT_EQ(found, nullptr) << "twice: " << part << "\n" << Describe(report);
    found = &f;
  }
  EXPECT_NE(found, nullptr) << "missing: " << part << "\n" << Describe(report);
  return found;
}

inline VerificationReport VerifyBytes(const std::string& bytes, const VerificationOptions& options = {}) {
  TempDir dir;
  WriteFileBytes(dir / "a.xml", bytes);
  return VerifyAuditFile(dir / "a.xml", options);
}

}  // namespace varnel::testing
