// Capped collection of findings.
#include "verify/finding_list.h"

namespace varnel::verify {

void FindingList::Add(FindingKind kind, FindingSeverity severity, std::string section, std::string document,
                      std::string message) {
  const std::size_t k = static_cast<std::size_t>(kind);
  ++m_counts[k];
  if (m_counts[k] <= kMaxPerKind) {
    m_findings.push_back(Finding{severity, std::move(section), std::move(document), std::move(message)});
    return;
  }
  // The closing line takes the gravest severity among those left out.
  if (m_counts[k] == kMaxPerKind + 1 || severity < m_omitted[k].severity) {
    m_omitted[k] = Omitted{severity, std::move(section)};
  }
}

std::vector<Finding> FindingList::Take() {
  for (std::size_t k = 0; k < m_counts.size(); ++k) {
    if (m_counts[k] <= kMaxPerKind) continue;
    const std::size_t left_out = m_counts[k] - kMaxPerKind;
    m_findings.push_back(Finding{m_omitted[k].severity, m_omitted[k].section, "",
                                 "Mais " + std::to_string(left_out) +
                                     " ocorrências do mesmo tipo não listadas (mostradas as primeiras " +
                                     std::to_string(kMaxPerKind) + ")"});
  }
  m_counts.fill(0);
  return std::move(m_findings);
}

}  // namespace varnel::verify
