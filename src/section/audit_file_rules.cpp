// The two versions' rules. 1.03_01's are the lengths this system has always
// cut to; 1.04_01's follow that schema's grown lengths (StreetName 200,
// AddressDetail 210, CustomerTaxID and SupplierTaxID 30, HashControl
// 70).
#include "section/audit_file_rules.h"

#include "base/value_routines.h"

namespace varnel {

namespace {

constexpr AuditFileRules k1_03_01{
    .version = SaftVersion::k1_03_01,
    .namespace_uri = "urn:OECD:StandardAuditFile-Tax:PT_1.03_01",
    .company_street_length = 90,
    .company_address_length = 90,
    .record_address_length = 60,
    .tax_id_length = 20,
    .hash_control_always = false,
    .hash_control_length = 0,
    .atcud = false,
    .exemption_code = false,
    .description_min_length = 0,
    .consultation_work_type = "DC",
    .payment_tax_only_for_cash_vat = false,
};

constexpr AuditFileRules k1_04_01{
    .version = SaftVersion::k1_04_01,
    .namespace_uri = "urn:OECD:StandardAuditFile-Tax:PT_1.04_01",
    .company_street_length = 200,
    .company_address_length = 210,
    .record_address_length = 210,
    .tax_id_length = 30,
    .hash_control_always = true,
    .hash_control_length = 70,
    .atcud = true,
    .exemption_code = true,
    .description_min_length = 2,
    .consultation_work_type = "CM",
    .payment_tax_only_for_cash_vat = true,
};

}  // namespace

const AuditFileRules& RulesForVersion(SaftVersion version) {
  return version == SaftVersion::k1_04_01 ? k1_04_01 : k1_03_01;
}

std::string DescriptionText(const AuditFileRules& rules, std::string_view text, std::size_t length) {
  const std::size_t characters = CharacterCount(text);
  if (characters >= rules.description_min_length) return XmlText(text, length);
  std::string completed(text);
  completed.append(rules.description_min_length - characters, '.');
  return XmlText(completed, length);
}

}  // namespace varnel
