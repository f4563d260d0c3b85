// The verifier's result as the headless exporter gives it: the findings and
// the VAT summary as text lines on standard error, and, with --report, the
// same as a JSON document for scripts (findings with severity, section,
// document and message; the VAT summary; the document counts).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "verify/audit_file_verifier.h"

namespace varnel {

// The text lines: a count line, one line per finding (errors, then warnings,
// then notes, each in the order found), the VAT summary with a total row and
// the documents per type.
void PrintVerification(std::FILE* stream, const VerificationReport& report);

// The report as JSON (UTF-8).
std::string VerificationJson(const VerificationReport& report);

// Writes VerificationJson to path; false, with the reason in error, when the
// file cannot be written.
bool WriteVerificationJson(const std::filesystem::path& path, const VerificationReport& report, std::string& error);

}  // namespace varnel
