// Maps the ten company values to their keys, in the order they are read and
// written: CompanyID, CompanyName, BuildingNumber, StreetName, AddressDetail,
// City, PostalCode1, PostalCode2, Estabelecimento, TaxCountryRegion; and the
// last export's folder under its own section.
#include "settings/settings_store.h"

#include <array>
#include <string>
#include <utility>

#include "base/value_routines.h"

namespace varnel {

namespace {

struct TextKey {
  std::string_view key;
  std::string Company::*field;
};

// The nine text keys; TaxCountryRegion, an integer, follows them.
constexpr std::array<TextKey, 9> kTextKeys{{
    {"CompanyID", &Company::companyID},
    {"CompanyName", &Company::companyName},
    {"BuildingNumber", &Company::buildingNumber},
    {"StreetName", &Company::streetName},
    {"AddressDetail", &Company::addressDetail},
    {"City", &Company::city},
    {"PostalCode1", &Company::postalCode1},
    {"PostalCode2", &Company::postalCode2},
    {"Estabelecimento", &Company::estabelecimento},
}};

constexpr std::string_view kTaxCountryRegionKey = "TaxCountryRegion";

}  // namespace

SettingsStore::SettingsStore(std::filesystem::path directory)
    : m_file(std::move(directory), std::string(kFileName)) {}

Company SettingsStore::Load() const {
  const Company defaults = DefaultCompanySettings();
  Company settings;
  for (const TextKey& text_key : kTextKeys) {
    settings.*text_key.field = m_file.ReadString(kSection, text_key.key, defaults.*text_key.field);
  }
  // Kept as a number: one that does not read as an integer gives 0, one
  // outside the list's choices nothing chosen.
  const std::string region =
      m_file.ReadString(kSection, kTaxCountryRegionKey, IntText(TaxRegionNumber(defaults.taxCountryRegion)));
  settings.taxCountryRegion = TaxRegionOfNumber(ReadInteger(region).value_or(0));
  return settings;
}

void SettingsStore::Save(const Company& settings) {
  for (const TextKey& text_key : kTextKeys) {
    m_file.WriteString(kSection, text_key.key, settings.*text_key.field);
  }
  m_file.WriteString(kSection, kTaxCountryRegionKey, IntText(TaxRegionNumber(settings.taxCountryRegion)));
}

std::string SettingsStore::LoadLastFolder() const { return m_file.ReadString(kExportSection, kLastFolderKey, ""); }

void SettingsStore::SaveLastFolder(std::string_view folder) {
  m_file.WriteString(kExportSection, kLastFolderKey, folder);
}

}  // namespace varnel
