// Comparing a section's declared control totals with its documents' sums.
#include "verify/section_totals.h"

#include <algorithm>

#include "base/ascii_text.h"

namespace varnel::verify {

namespace {

std::string Trimmed(std::string_view text) { return std::string(TrimWhiteSpace(text)); }

DecimalAmount Whole(std::uint64_t count) { return DecimalAmount::FromWhole(static_cast<std::int64_t>(count)); }

bool Matches(DecimalAmount declared, int decimals, DecimalAmount sum) {
  return declared == sum || declared == sum.Rounded(std::max(2, decimals));
}

}  // namespace

void SectionTotals::Declare(Element element, std::string_view text) {
  Declared* declared = nullptr;
  switch (element) {
    case Element::NumberOfEntries: declared = &m_entries; break;
    case Element::TotalDebit: declared = &m_debit; break;
    case Element::TotalCredit: declared = &m_credit; break;
    case Element::NumberOfMovementLines: declared = &m_movement_lines; break;
    case Element::TotalQuantityIssued: declared = &m_quantity; break;
    default: return;
  }
  declared->present = true;
  declared->text = Trimmed(text);
  declared->value = DecimalAmount::Parse(text);
  declared->decimals = DecimalAmount::DecimalsWritten(declared->text);
}

void SectionTotals::AddDocument(std::string_view status, DecimalAmount debit, DecimalAmount credit,
                                std::uint64_t lines, DecimalAmount quantity) {
  ++m_documents;
  if (status == "A") return;
  for (Sums* sums : {&m_counted, status == "F" ? &m_billed : nullptr}) {
    if (sums == nullptr) continue;
    sums->debit += debit;
    sums->credit += credit;
    sums->quantity += quantity;
    sums->lines += lines;
  }
}

void SectionTotals::Check(SectionId section, FindingList& findings) const {
  if (section == SectionId::MovementOfGoods) {
    CheckCount("NumberOfMovementLines", m_movement_lines, m_counted.lines, m_billed.lines,
               "do número de linhas dos documentos não anulados", section, findings);
    CheckAmount("TotalQuantityIssued", m_quantity, m_counted.quantity, m_billed.quantity,
                "da soma das quantidades das linhas", section, findings);
    return;
  }
  const std::string documents = std::to_string(m_documents);
  if (!m_entries.present || !m_entries.value || *m_entries.value != Whole(m_documents)) {
    findings.Add(FindingKind::ControlTotals, FindingSeverity::Error, SectionName(section), "",
                 "NumberOfEntries " + (m_entries.present ? m_entries.text : std::string("em falta")) +
                     " difere do número de documentos " + documents);
  }
  CheckAmount("TotalDebit", m_debit, m_counted.debit, m_billed.debit, "da soma das linhas", section, findings);
  CheckAmount("TotalCredit", m_credit, m_counted.credit, m_billed.credit, "da soma das linhas", section, findings);
}

void SectionTotals::CheckAmount(const char* name, const Declared& declared, DecimalAmount counted,
                                DecimalAmount billed, const char* what, SectionId section,
                                FindingList& findings) const {
  if (!declared.value) return;
  if (Matches(*declared.value, declared.decimals, counted) ||
      (!billed.IsZero() && Matches(*declared.value, declared.decimals, counted - billed))) {
    return;
  }
  findings.Add(FindingKind::ControlTotals, FindingSeverity::Error, SectionName(section), "",
               std::string(name) + " " + declared.value->Text() + " difere " + what + " " + counted.Text() +
                   " (diferença " + (counted - *declared.value).Text() + ")");
}

void SectionTotals::CheckCount(const char* name, const Declared& declared, std::uint64_t counted,
                               std::uint64_t billed, const char* what, SectionId section,
                               FindingList& findings) const {
  if (!declared.present) return;
  if (declared.value &&
      (*declared.value == Whole(counted) || (billed > 0 && *declared.value == Whole(counted - billed)))) {
    return;
  }
  findings.Add(FindingKind::ControlTotals, FindingSeverity::Error, SectionName(section), "",
               std::string(name) + " " + declared.text + " difere " + what + " " + std::to_string(counted));
}

}  // namespace varnel::verify
