// Text and JSON forms of the verifier's report. The text lists the findings
// errors first, then warnings, then notes (each in the order found), as the
// windows do; its VAT summary writes every amount with its four decimals and
// a total row, for a technician comparing with the file. The JSON keeps the
// findings in the order found and writes amounts as the file writes them
// (Currency's text), so a script compares them exactly.
#include "cli/verification_report.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <system_error>

#include "base/file_names.h"
#include "base/value_routines.h"

namespace varnel {

namespace {

const char* SeverityText(FindingSeverity severity) {
  switch (severity) {
    case FindingSeverity::Error: return "ERRO";
    case FindingSeverity::Warning: return "AVISO";
    case FindingSeverity::Note: return "NOTA";
  }
  return "";
}

const char* SeverityKey(FindingSeverity severity) {
  switch (severity) {
    case FindingSeverity::Error: return "error";
    case FindingSeverity::Warning: return "warning";
    case FindingSeverity::Note: return "note";
  }
  return "";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

int Notes(const VerificationReport& report) {
  int notes = 0;
  for (const Finding& finding : report.findings) notes += finding.severity == FindingSeverity::Note;
  return notes;
}

// "5467.8392", "382.9000", "-0.0050": every amount with its four decimals.
std::string FourDecimals(Currency value) {
  const std::int64_t raw = value.raw();
  const std::uint64_t magnitude =
      raw < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  return (raw < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

void PrintVatRow(std::FILE* stream, const std::string& region, const std::string& code,
                 const std::string& rate, Currency taxable, Currency vat, Currency gross) {
  std::fprintf(stream, "  %-7s %-6s %8s %16s %14s %16s\n", region.c_str(), code.c_str(), rate.c_str(),
               FourDecimals(taxable).c_str(), FourDecimals(vat).c_str(), FourDecimals(gross).c_str());
}

void PrintSummary(std::FILE* stream, const VerificationSummary& summary) {
  if (!summary.vat.empty()) {
    std::fprintf(stream, "Resumo do IVA (documentos de venda não anulados, notas de crédito deduzidas):\n");
    std::fprintf(stream, "  %-7s %-6s %8s %16s %14s %16s\n", "Região", "Código", "Taxa", "Base tributável", "IVA",
                 "Total");
    Currency taxable;
    Currency vat;
    Currency gross;
    for (const VatSummaryRow& row : summary.vat) {
      PrintVatRow(stream, row.region, row.tax_code, row.percentage, row.taxable, row.vat, row.gross);
      taxable += row.taxable;
      vat += row.vat;
      gross += row.gross;
    }
    PrintVatRow(stream, "Total", "", "", taxable, vat, gross);
  }
  std::string counts;
  for (const auto& [type, count] : summary.documents_by_type) {
    if (!counts.empty()) counts += ", ";
    counts += type + " " + IntText(count);
    const auto annulled = summary.annulled_by_type.find(type);
    if (annulled != summary.annulled_by_type.end() && annulled->second > 0) {
      counts += " (" + IntText(annulled->second) + " anulados)";
    }
  }
  if (!counts.empty()) std::fprintf(stream, "Documentos: %s\n", counts.c_str());
}

}  // namespace

void PrintVerification(std::FILE* stream, const VerificationReport& report) {
  const std::string counts = CountText(report.errors(), "erro", "erros") + ", " +
                             CountText(report.warnings(), "aviso", "avisos") + ", " +
                             CountText(Notes(report), "nota", "notas");
  std::fprintf(stream, "Verificação: %s%s\n", counts.c_str(), report.completed ? "" : " (interrompida)");
  std::vector<Finding> ordered = report.findings;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
  for (const Finding& finding : ordered) {
    std::string line = std::string(SeverityText(finding.severity)) + " " + finding.section;
    if (!finding.document.empty()) line += " " + finding.document;
    line += ": " + finding.message;
    std::fprintf(stream, "%s\n", line.c_str());
  }
  PrintSummary(stream, report.summary);
}

std::string VerificationJson(const VerificationReport& report) {
  std::string json = "{\n  \"completed\": " + std::string(report.completed ? "true" : "false") +
                     ",\n  \"errors\": " + IntText(report.errors()) + ",\n  \"warnings\": " +
                     IntText(report.warnings()) + ",\n  \"findings\": [";
  for (std::size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& finding = report.findings[i];
    json += std::string(i == 0 ? "\n" : ",\n") + "    {\"severity\": " + JsonString(SeverityKey(finding.severity)) +
            ", \"section\": " + JsonString(finding.section) + ", \"document\": " + JsonString(finding.document) +
            ", \"message\": " + JsonString(finding.message) + "}";
  }
  json += report.findings.empty() ? "],\n" : "\n  ],\n";
  json += "  \"vat_summary\": [";
  for (std::size_t i = 0; i < report.summary.vat.size(); ++i) {
    const VatSummaryRow& row = report.summary.vat[i];
    json += std::string(i == 0 ? "\n" : ",\n") + "    {\"region\": " + JsonString(row.region) +
            ", \"tax_code\": " + JsonString(row.tax_code) + ", \"percentage\": " + JsonString(row.percentage) +
            ", \"taxable\": " + JsonString(CurrText(row.taxable)) + ", \"vat\": " + JsonString(CurrText(row.vat)) +
            ", \"gross\": " + JsonString(CurrText(row.gross)) + "}";
  }
  json += report.summary.vat.empty() ? "],\n" : "\n  ],\n";
  json += "  \"documents_by_type\": {";
  bool first = true;
  for (const auto& [type, count] : report.summary.documents_by_type) {
    json += std::string(first ? "" : ", ") + JsonString(type) + ": " + IntText(count);
    first = false;
  }
  json += "}\n}\n";
  return json;
}

bool WriteVerificationJson(const std::filesystem::path& path, const VerificationReport& report, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << VerificationJson(report);
  out.close();
  if (out) return true;
  error = "não foi possível escrever o relatório \"" + DisplayPath(path) + "\"";
  return false;
}

}  // namespace varnel
