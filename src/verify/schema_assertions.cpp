// The schema's assertions in code; see the header for the list. Amounts
// compare as numbers ("0.00" is 0), as the schema's typed values do.
#include "verify/schema_assertions.h"

#include "base/value_routines.h"

namespace varnel::verify {

namespace {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool TaxAmountRuleApplies(SectionId section) { return section != SectionId::MovementOfGoods; }

bool TaxBaseRulesApply(SectionId section) {
  return section == SectionId::SalesInvoices || section == SectionId::WorkingDocuments;
}

}  // namespace

void SchemaAssertions::EndAccount(const AccountState& account) {
  const std::string& category = account.grouping_category;
  const std::string name = "Conta " + account.id + " (GroupingCategory " + category + ")";
  const auto add = [this](std::string message) {
    Add(FindingKind::Assertion, SectionId::MasterFiles, "", std::move(message));
  };
  if (category == "GM" && !account.has_taxonomy_code) {
    add(name + " sem TaxonomyCode: as contas de movimento (GM) levam o código da taxonomia");
  } else if (category != "GM" && account.has_taxonomy_code) {
    add(name + " com TaxonomyCode: só as contas de movimento (GM) o levam");
  }
  const bool first_degree = category == "GR" || category == "AR";
  const bool aggregated = category == "GA" || category == "AA" || category == "GM" || category == "AM";
  if (first_degree && account.has_grouping_code) {
    add(name + " com GroupingCode: as contas de 1.º grau (GR, AR) não têm conta agregadora");
  } else if (aggregated && !account.has_grouping_code) {
    add(name + " sem GroupingCode: as contas GA, AA, GM e AM indicam a sua conta agregadora");
  } else if (!first_degree && !aggregated) {
    add(name + ": categoria sem regra de GroupingCode que a aceite");
  }
}

void SchemaAssertions::StartDocument() {
  m_lines_without_tax = 0;
  m_any_tax_type = false;
}

void SchemaAssertions::EndLine(SectionId section, const std::string& document, int line_number,
                               const LineState& line) {
  const std::string line_name = "Linha " + std::to_string(line_number);
  CheckExemption(section, document, line_name, line);
  if (TaxBaseRulesApply(section)) CheckTaxBase(section, document, line_name, line);
  if (section == SectionId::Payments) {
    if (!line.has_tax) ++m_lines_without_tax;
    m_any_tax_type |= line.has_tax_type;
  }
}

void SchemaAssertions::CheckExemption(SectionId section, const std::string& document, const std::string& line_name,
                                      const LineState& line) {
  const auto& reason = line.exemption_reason;
  const auto& code = line.exemption_code;
  if (TaxAmountRuleApplies(section) && line.tax_amount) {
    if (line.tax_amount->IsZero() && !reason) {
      Add(FindingKind::Exemption, section, document, line_name + " com TaxAmount 0 sem TaxExemptionReason");
    } else if (!line.tax_amount->IsZero() && reason) {
      Add(FindingKind::Exemption, section, document,
          line_name + " com TaxAmount " + line.tax_amount->Text() + " e motivo de isenção " + Quoted(*reason) +
              ": a isenção só cabe às linhas sem imposto");
    }
  }
  if (line.tax_percentage) {
    if (line.tax_percentage->IsZero() && !reason) {
      Add(FindingKind::Exemption, section, document,
          line_name + " de taxa 0 sem TaxExemptionReason" + (code ? "" : " nem TaxExemptionCode"));
    } else if (!line.tax_percentage->IsZero() && reason) {
      Add(FindingKind::Exemption, section, document,
          line_name + " com taxa " + line.tax_percentage->Text() + " e motivo de isenção " + Quoted(*reason) +
              ": a isenção só cabe às linhas de taxa 0");
    }
  }
  if (reason && !code) {
    Gathered& gathered = m_norms_without_code[{section, *reason}];
    if (gathered.count++ == 0) gathered.first_document = document;
  } else if (code && !reason) {
    Add(FindingKind::Exemption, section, document,
        line_name + " com TaxExemptionCode " + Quoted(*code) + " sem TaxExemptionReason");
  }
}

void SchemaAssertions::CheckTaxBase(SectionId section, const std::string& document, const std::string& line_name,
                                    const LineState& line) {
  if (!line.tax_base) return;
  if (line.unit_price && !line.unit_price->IsZero()) {
    Add(FindingKind::Assertion, section, document,
        line_name + " com TaxBase e UnitPrice " + line.unit_price->Text() +
            ": numa linha de base tributável própria o preço unitário é 0");
  }
  const auto& amount = line.credit ? line.credit : line.debit;
  if (amount && !amount->IsZero()) {
    Add(FindingKind::Assertion, section, document,
        line_name + " com TaxBase e " + (line.credit ? "CreditAmount " : "DebitAmount ") + amount->Text() +
            ": numa linha de base tributável própria o valor é 0");
  }
}

void SchemaAssertions::EndDocument(SectionId section, const std::string& document, const std::string& payment_type) {
  if (section != SectionId::Payments || payment_type != "RC") return;
  if (m_lines_without_tax > 0) {
    Add(FindingKind::PaymentTax, section, document,
        "Recibo RC (regime de IVA de caixa) com " +
            CountText(m_lines_without_tax, "linha", "linhas") + " sem Tax");
  }
  if (!m_any_tax_type) {
    Add(FindingKind::PaymentTax, section, document,
        "Recibo RC (regime de IVA de caixa) sem imposto (Tax/TaxType) em nenhuma linha: um recibo RC declara o IVA "
        "que recebe");
  }
}

void SchemaAssertions::Finish() {
  for (const auto& [key, gathered] : m_norms_without_code) {
    m_findings.Add(FindingKind::Exemption, FindingSeverity::Error, SectionName(key.first), gathered.first_document,
                   CountText(gathered.count, "linha", "linhas") + " com o motivo de isenção " + Quoted(key.second) +
                       " sem TaxExemptionCode: associe essa norma a um código M.. (Varnel.ini, secção [Isencoes], "
                       "\"norma=Mnn\")");
  }
}

}  // namespace varnel::verify
