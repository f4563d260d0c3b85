// The arithmetic of one document; see the header for the rules and their
// tolerances. Each rule has its own function and its own message.
#include "verify/document_amounts.h"

namespace varnel::verify {

namespace {

std::string Difference(DecimalAmount written, DecimalAmount computed) { return (computed - written).Text(); }

bool Close(DecimalAmount a, DecimalAmount b, DecimalAmount tolerance) { return (a - b).Abs() <= tolerance; }

// One cent, and half a cent for every further line whose tax was rounded
// on its own.
DecimalAmount TaxTolerance(int lines_with_tax) {
  const int further = lines_with_tax > 1 ? lines_with_tax - 1 : 0;
  return OneCent() + DecimalAmount::FromUnits(HalfCent().units() * further);
}

// Half a unit of the last of `decimals` decimals: what writing a value with
// that many decimals may have rounded away.
DecimalAmount HalfUnitOf(int decimals) {
  __int128 units = 5;
  for (int i = decimals; i < DecimalAmount::kDecimals - 1; ++i) units *= 10;
  return DecimalAmount::FromUnits(decimals >= DecimalAmount::kDecimals ? 0 : units);
}

// What the totals should be, from the lines: the lines' absolute value and
// tax, and the gross when it cannot be NetTotal + TaxPayable.
struct Expected {
  DecimalAmount net;
  DecimalAmount tax;
  std::optional<DecimalAmount> gross;
  DocumentSide side = DocumentSide::None;
};

class DocumentCheck {
 public:
  DocumentCheck(const DocumentAmounts& amounts, SectionId section, const std::string& number, FindingList& findings)
      : m_a(amounts), m_section(section), m_number(number), m_findings(findings) {}

  Expected Sides();
  void CheckNet(const Expected& expected);
  void CheckTax(const Expected& expected);
  void CheckGross(const Expected& expected);
  void CheckWithholding();
  void CheckCurrency();
  void CheckReceiptSettlement();

 private:
  void Add(FindingKind kind, FindingSeverity severity, std::string message) {
    m_findings.Add(kind, severity, SectionName(m_section), m_number, std::move(message));
  }
  // The settlement discount the totals may have taken off, if any.
  std::optional<DecimalAmount> Discount() const {
    if (m_a.has_settlement && !m_a.settlement.IsZero()) return m_a.settlement;
    if (m_a.has_line_settlement && !m_a.line_settlement.IsZero()) return m_a.line_settlement;
    return std::nullopt;
  }

  const DocumentAmounts& m_a;
  SectionId m_section;
  const std::string& m_number;
  FindingList& m_findings;
};

Expected DocumentCheck::Sides() {
  const DecimalAmount value = m_a.credit - m_a.debit;
  Expected expected;
  const int sign = value.Sign() != 0 ? value.Sign() : m_a.tax.Sign();
  expected.side = sign > 0 ? DocumentSide::Credit : sign < 0 ? DocumentSide::Debit : DocumentSide::None;
  const bool opposite =
      value.Abs() > OneCent() && m_a.tax.Abs() > TaxTolerance(m_a.lines_with_tax) && value.Sign() != m_a.tax.Sign();
  if (!opposite) {
    expected.net = sign < 0 ? -value : value;
    expected.tax = sign < 0 ? -m_a.tax : m_a.tax;
    return expected;
  }
  expected.net = value.Abs();
  expected.tax = m_a.tax.Abs();
  expected.gross = (value + m_a.tax).Abs();
  if (m_a.net_total && m_a.tax_payable && m_a.gross_total) {
    Add(FindingKind::Incoherent, FindingSeverity::Warning,
        "Documento não representável de forma coerente: as linhas somam " + value.Text() + " sem imposto e " +
            m_a.tax.Text() + " de imposto, valores de sinais contrários, e os totais só podem ser positivos "
            "(NetTotal " + m_a.net_total->Text() + " mais TaxPayable " + m_a.tax_payable->Text() +
            " não perfaz o GrossTotal " + m_a.gross_total->Text() + ")");
  }
  return expected;
}

void DocumentCheck::CheckNet(const Expected& expected) {
  if (!m_a.net_total || Close(*m_a.net_total, expected.net, OneCent())) return;
  Add(FindingKind::DocumentTotals, FindingSeverity::Error,
      "NetTotal " + m_a.net_total->Text() + " difere da soma das linhas " + expected.net.Text() + " (diferença " +
          Difference(*m_a.net_total, expected.net) + ")");
}

void DocumentCheck::CheckTax(const Expected& expected) {
  if (!m_a.tax_payable) return;
  const DecimalAmount tolerance = TaxTolerance(m_a.lines_with_tax);
  if (Close(*m_a.tax_payable, expected.tax, tolerance)) return;
  // A settlement discount taken off the taxable base takes its share of the
  // tax with it.
  if (const auto discount = Discount(); discount && expected.net.Sign() > 0) {
    const auto share = DecimalAmount::DividedBy(expected.net - *discount, expected.net);
    const auto discounted = share ? DecimalAmount::Times(expected.tax, *share) : std::nullopt;
    if (discounted && Close(*m_a.tax_payable, *discounted, tolerance)) return;
  }
  Add(FindingKind::DocumentTotals, FindingSeverity::Error,
      "TaxPayable " + m_a.tax_payable->Text() + " difere do imposto das linhas " + expected.tax.Text() +
          " (diferença " + Difference(*m_a.tax_payable, expected.tax) + ")");
}

void DocumentCheck::CheckGross(const Expected& expected) {
  if (!m_a.gross_total) return;
  if (expected.gross) {
    if (Close(*m_a.gross_total, *expected.gross, OneCent())) return;
    Add(FindingKind::DocumentTotals, FindingSeverity::Error,
        "GrossTotal " + m_a.gross_total->Text() + " difere da soma das linhas com imposto " + expected.gross->Text() +
            " (diferença " + Difference(*m_a.gross_total, *expected.gross) + ")");
    return;
  }
  if (!m_a.net_total || !m_a.tax_payable) return;
  const DecimalAmount sum = *m_a.net_total + *m_a.tax_payable;
  if (Close(*m_a.gross_total, sum, OneCent())) return;
  if (const auto discount = Discount(); discount && Close(*m_a.gross_total, sum - *discount, OneCent())) return;
  Add(FindingKind::DocumentTotals, FindingSeverity::Error,
      "GrossTotal " + m_a.gross_total->Text() + " difere de NetTotal + TaxPayable " + sum.Text() + " (diferença " +
          Difference(*m_a.gross_total, sum) + ")");
}

void DocumentCheck::CheckWithholding() {
  if (!m_a.has_withholding || !m_a.gross_total || m_a.withholding <= *m_a.gross_total + OneCent()) return;
  Add(FindingKind::DocumentTotals, FindingSeverity::Error,
      "Retenção na fonte (WithholdingTaxAmount) " + m_a.withholding.Text() + " superior ao GrossTotal " +
          m_a.gross_total->Text() + " do documento");
}

void DocumentCheck::CheckCurrency() {
  if (!m_a.currency_amount || !m_a.exchange_rate || !m_a.gross_total || m_a.exchange_rate->Sign() <= 0) return;
  const DecimalAmount amount = *m_a.currency_amount;
  const DecimalAmount rate = *m_a.exchange_rate;
  const DecimalAmount half_unit = HalfUnitOf(m_a.exchange_rate_decimals);
  const auto times = DecimalAmount::Times(amount, rate);
  const auto times_slack = DecimalAmount::Times(amount, half_unit);
  if (times && times_slack && Close(*m_a.gross_total, *times, OneCent() + *times_slack)) return;
  const auto divided = DecimalAmount::DividedBy(amount, rate);
  const auto divided_by_slack = divided ? DecimalAmount::Times(*divided, half_unit) : std::nullopt;
  const auto divided_slack = divided_by_slack ? DecimalAmount::DividedBy(*divided_by_slack, rate) : std::nullopt;
  if (divided && divided_slack && Close(*m_a.gross_total, *divided, OneCent() + *divided_slack)) return;
  Add(FindingKind::Currency, FindingSeverity::Warning,
      "Moeda estrangeira: CurrencyAmount " + amount.Text() + " à taxa de câmbio " + rate.Text() + " dá " +
          (times ? times->Rounded(2).Text() : std::string("?")) + " (ou " +
          (divided ? divided->Rounded(2).Text() : std::string("?")) + ", dividindo pela taxa), não o GrossTotal " +
          m_a.gross_total->Text());
}

// A receipt's Settlement is the sum of its lines' settlement discounts.
void DocumentCheck::CheckReceiptSettlement() {
  if (m_section != SectionId::Payments || !m_a.has_settlement ||
      Close(m_a.settlement, m_a.line_settlement, OneCent())) {
    return;
  }
  Add(FindingKind::DocumentTotals, FindingSeverity::Warning,
      "Settlement/SettlementAmount " + m_a.settlement.Text() + " difere da soma dos SettlementAmount das linhas " +
          m_a.line_settlement.Text());
}

}  // namespace

DecimalAmount LineState::Value() const {
  DecimalAmount value;
  if (credit) value += *credit;
  if (debit) value -= *debit;
  return value;
}

int LineState::Side() const { return credit ? 1 : debit ? -1 : 0; }

LineTax TaxOfLine(const LineState& line) {
  LineTax result;
  const bool debit_side = line.Side() < 0;
  result.base = line.tax_base ? (debit_side ? -*line.tax_base : *line.tax_base) : line.Value();
  if (!line.has_tax || line.unreadable_tax) return result;
  if (line.tax_percentage) {
    result.tax = DecimalAmount::PercentOf(result.base, *line.tax_percentage);
    result.overflow = !result.tax;
  } else if (line.tax_amount) {
    result.tax = debit_side ? -*line.tax_amount : *line.tax_amount;
  }
  return result;
}

void DocumentAmounts::AddLine(const LineState& line, const LineTax& line_tax) {
  if (line.credit) credit += *line.credit;
  if (line.debit) debit += *line.debit;
  if (line.has_tax) ++lines_with_tax;
  if (line_tax.tax) tax += *line_tax.tax;
  if (line.settlement) {
    line_settlement += *line.settlement;
    has_line_settlement = true;
  }
}

DocumentSide CheckDocumentAmounts(const DocumentAmounts& amounts, SectionId section, const std::string& number,
                                  FindingList& findings) {
  DocumentCheck check(amounts, section, number, findings);
  const Expected expected = check.Sides();
  check.CheckNet(expected);
  check.CheckTax(expected);
  check.CheckGross(expected);
  check.CheckWithholding();
  check.CheckCurrency();
  check.CheckReceiptSettlement();
  return expected.side;
}

}  // namespace varnel::verify
