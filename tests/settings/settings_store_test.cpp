// The company settings in Varnel.ini and the series option of Korvel.ini:
// defaults, integer readings, the key order and bytes of a save, and the
// point-of-sale product's 9-character view of the series.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_paths.h"
#include "settings/series_option.h"

namespace varnel {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(SettingsStore, MissingFileSectionOrKeyGivesDefaults) {
  TempDir dir;
  const SettingsStore store(dir.path());
  const Company loaded = store.Load();
  EXPECT_EQ(loaded.companyID, "999999990");
  EXPECT_EQ(loaded.companyName, "?");
  EXPECT_EQ(loaded.buildingNumber, "S/N");
  EXPECT_EQ(loaded.streetName, "S/N");
  EXPECT_EQ(loaded.addressDetail, "?");
  EXPECT_EQ(loaded.city, "?");
  EXPECT_EQ(loaded.postalCode1, "0000");
  EXPECT_EQ(loaded.postalCode2, "000");
  EXPECT_EQ(loaded.estabelecimento, "");
  EXPECT_EQ(loaded.taxCountryRegion, TaxRegion::Continente);

  WriteFileBytes(dir / "Varnel.ini", "[Elsewhere]\r\nCompanyID=123456789\r\n[Company Info]\r\nCity=Braga\r\n");
  Company expected = DefaultCompanySettings();
  expected.city = "Braga";
  EXPECT_EQ(store.Load(), expected);
}

TEST(SettingsStore, TaxCountryRegionReadsAsInteger) {
  constexpr TaxRegion kNone = TaxRegion::NothingChosen;
  const std::pair<std::string, TaxRegion> cases[] = {
      {"2", TaxRegion::Acores},      {"1", TaxRegion::Madeira},     {"0", TaxRegion::Continente},
      {"5", kNone},                  {"-1", kNone},                 {"  2  ", TaxRegion::Acores},
      {"abc", TaxRegion::Continente}, {"2x", TaxRegion::Continente}, {"", TaxRegion::Continente},
      {"99999999999", TaxRegion::Continente},
  };
  for (const auto& [text, expected] : cases) {
    TempDir dir;
    WriteFileBytes(dir / "Varnel.ini", "[Company Info]\r\nTaxCountryRegion=" + text + "\r\n");
    EXPECT_EQ(SettingsStore(dir.path()).Load().taxCountryRegion, expected) << "value \"" << text << "\"";
  }
}

// The file keeps the number the program has always written for each region.
TEST(SettingsStore, EveryRegionSavedAsItsNumberAndLoadedBack) {
  const std::pair<TaxRegion, std::string> cases[] = {
      {TaxRegion::Continente, "0"}, {TaxRegion::Madeira, "1"}, {TaxRegion::Acores, "2"}, {TaxRegion::NothingChosen, "-1"}};
  for (const auto& [region, number] : cases) {
    TempDir dir;
    SettingsStore store(dir.path());
    Company settings = DefaultCompanySettings();
    settings.taxCountryRegion = region;
    store.Save(settings);
    EXPECT_NE(ReadFileBytes(dir / "Varnel.ini").find("\r\nTaxCountryRegion=" + number + "\r\n"), std::string::npos)
        << number;
    EXPECT_EQ(store.Load().taxCountryRegion, region) << number;
  }
}

TEST(SettingsStore, SaveWritesTenKeysInOrderAndLoadsThemBack) {
  TempDir dir;
  SettingsStore store(dir.path());
  Company settings = DefaultCompanySettings();
  settings.companyID = " 503504505 ";
  settings.companyName = "Pastelaria Açoriana, Lda.";
  settings.buildingNumber = "12-A";
  settings.streetName = "Rua do Mercado";
  settings.addressDetail = "Loja 3";
  settings.city = "Ponta Delgada";
  settings.postalCode1 = "9500";
  settings.postalCode2 = "123";
  settings.estabelecimento = "Sé";
  settings.taxCountryRegion = TaxRegion::NothingChosen;
  store.Save(settings);
  EXPECT_EQ(ReadFileBytes(dir / "Varnel.ini"),
            "[Company Info]\r\n"
            "CompanyID= 503504505 \r\n"
            "CompanyName=Pastelaria A\xE7oriana, Lda.\r\n"
            "BuildingNumber=12-A\r\n"
            "StreetName=Rua do Mercado\r\n"
            "AddressDetail=Loja 3\r\n"
            "City=Ponta Delgada\r\n"
            "PostalCode1=9500\r\n"
            "PostalCode2=123\r\n"
            "Estabelecimento=S\xE9\r\n"
            "TaxCountryRegion=-1\r\n");
  Company expected = settings;
  expected.companyID = "503504505";  // the profile functions trim what they read
  EXPECT_EQ(store.Load(), expected);
}

TEST(SettingsStore, SaveKeepsOtherKeysAndRaisesOnReadOnlyFile) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[Company Info]\r\nLastUser=ana\r\nCity=Old\r\n[Janela]\r\nTop=10\r\n");
  SettingsStore store(dir.path());
  Company settings = DefaultCompanySettings();
  settings.city = "New";
  store.Save(settings);
  const std::string saved = ReadFileBytes(dir / "Varnel.ini");
  EXPECT_TRUE(saved.starts_with("[Company Info]\r\nLastUser=ana\r\nCity=New\r\nCompanyID=999999990\r\n")) << saved;
  EXPECT_TRUE(saved.ends_with("TaxCountryRegion=0\r\n[Janela]\r\nTop=10\r\n")) << saved;

  std::filesystem::permissions(dir / "Varnel.ini", std::filesystem::perms::owner_read);
  try {
    store.Save(settings);
    ADD_FAILURE() << "no SettingsWriteError raised";
  } catch (const SettingsWriteError& error) {
    EXPECT_STREQ(error.what(), "Unable to write to .\\Varnel.ini");
  }
}

TEST(SettingsStore, LastFolderHasASectionOfItsOwn) {
  TempDir dir;
  SettingsStore store(dir.path());
  EXPECT_EQ(store.LoadLastFolder(), "");
  store.Save(DefaultCompanySettings());
  store.SaveLastFolder("/srv/saft/2016 Janeiro");
  store.SaveLastFolder("/srv/saft/2016 Fevereiro");
  EXPECT_EQ(store.LoadLastFolder(), "/srv/saft/2016 Fevereiro");
  const std::string saved = ReadFileBytes(dir / "Varnel.ini");
  // The company section keeps its ten keys; the folder follows in its own.
  EXPECT_TRUE(saved.ends_with("TaxCountryRegion=0\r\n\r\n[Export]\r\nLastFolder=/srv/saft/2016 Fevereiro\r\n")) << saved;
  EXPECT_EQ(store.Load().city, DefaultCompanySettings().city);
}

TEST(SeriesOption, ReadsFirstNineCharactersAsInteger) {
  const std::pair<std::string, int> cases[] = {
      {"3", 3},
      {" 26 ", 26},
      {"27", 27},
      {"-1", -1},
      {"C", 0},
      {"", 0},
      {"123456789", 123456789},
      {"1234567890", 123456789},    // ten characters: the tenth is not seen
      {"0000000003", 0},            // "000000000"
      {"000000003x", 3},            // the stray tenth character is not seen either
  };
  for (const auto& [text, expected] : cases) {
    TempDir dir;
    WriteFileBytes(dir / "Korvel.ini", "[OPCOES]\r\nSerie de numeracao=" + text + "\r\n");
    EXPECT_EQ(ReadSeriesOption(dir.path()), expected) << "value \"" << text << "\"";
  }
}

TEST(SeriesOption, MissingFileOrKeyGivesNoSeriesAndNamesIgnoreCase) {
  TempDir dir;
  EXPECT_EQ(ReadSeriesOption(dir.path()), 0);
  WriteFileBytes(dir / "Korvel.ini", "[OPCOES]\r\nOutra=4\r\n");
  EXPECT_EQ(ReadSeriesOption(dir.path()), 0);
  std::filesystem::remove(dir / "Korvel.ini");
  WriteFileBytes(dir / "KORVEL.INI", "[opcoes]\r\nSERIE DE NUMERACAO = 4\r\n");
  EXPECT_EQ(ReadSeriesOption(dir.path()), 4);
}

}  // namespace
}  // namespace varnel
