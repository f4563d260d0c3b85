// Writes the demo working directory: database, data link, the two settings
// files and the demo's public key. Each file is written whole and checked; a failure raises
// FileError naming the file.
#include "tools/demo_workdir.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "base/errors.h"
#include "base/windows1252.h"
#include "posdb/data_link.h"
#include "tools/demo_signing_key.h"

namespace varnel::demo {

namespace {

void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw FileError("Cannot write the file " + path.string() + ".");
}

void RemoveIfPresent(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) throw FileError("Cannot remove the file " + path.string() + ": " + error.message() + ".");
}

}  // namespace

std::string Windows1252FromUtf8(std::string_view utf8) {
  // The settings files hold our own texts only: a character the code page
  // lacks (which would come back as something else) is a mistake here.
  std::string bytes = ToWindows1252(utf8);
  if (Windows1252ToUtf8(bytes) != utf8) throw std::invalid_argument("a character outside Windows-1252");
  return bytes;
}

std::string DataLinkFileBytes(std::string_view database_name) {
  return varnel::DataLinkFileBytes("Provider=SQLite;Data Source=" + std::string(database_name));
}

std::string PosSettingsBytes(int series_index) {
  return "[OPCOES]\r\nSerie de numeracao=" + std::to_string(series_index) + "\r\n";
}

std::string OwnSettingsBytes(const DemoCompany& company) {
  std::string text = "[Company Info]\r\n";
  auto key = [&](const char* name, std::string_view value) {
    text += name;
    text += '=';
    text += value;
    text += "\r\n";
  };
  key("CompanyID", company.company_id);
  key("CompanyName", company.company_name);
  key("BuildingNumber", company.building_number);
  key("StreetName", company.street_name);
  key("AddressDetail", company.address_detail);
  key("City", company.city);
  key("PostalCode1", company.postal_code1);
  key("PostalCode2", company.postal_code2);
  key("Estabelecimento", company.establishment);
  key("TaxCountryRegion", std::to_string(company.tax_country_region));
  return Windows1252FromUtf8(text);
}

std::string DemoAtcudSettingsBytes(int series_index) {
  if (series_index < 1 || series_index > 26) return "";
  const std::string series(1, static_cast<char>('A' + series_index - 1));
  std::string text = "\r\n[ATCUD]\r\n";
  for (const char* type : {"FA", "FS", "FT", "NC", "TV", "VD", "CM", "RC"}) {
    text += std::string(type) + " " + series + "=DEMO" + type + series + "01\r\n";
  }
  return text;
}

std::string DemoSignatureSettingsBytes() {
  return "\r\n[Assinaturas]\r\n" + std::to_string(kDemoKeyVersion) + "=" + kDemoPublicKeyName + "\r\n";
}

DemoDatabaseSummary WriteDemoWorkingDirectory(const std::filesystem::path& directory,
                                              const DemoDatabaseOptions& options) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    throw FileError("Cannot create the folder " + directory.string() + ": " + error.message() + ".");
  }
  const std::filesystem::path database = directory / kDemoDatabaseName;
  const std::filesystem::path partial = directory / (std::string(kDemoDatabaseName) + ".partial");
  RemoveIfPresent(partial);
  RemoveIfPresent(partial.string() + "-journal");

  DemoDatabaseSummary summary;
  try {
    summary = WriteDemoDatabase(partial, options);
  } catch (...) {
    std::filesystem::remove(partial, error);
    throw;
  }
  // A journal left beside an older file would be rolled into the new one.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) RemoveIfPresent(database.string() + suffix);
  std::filesystem::rename(partial, database, error);
  if (error) {
    throw FileError("Cannot rename " + partial.string() + " to " + database.string() + ": " +
                    error.message() + ".");
  }

  WriteWholeFile(directory / kDataLinkName, DataLinkFileBytes(kDemoDatabaseName));
  WriteWholeFile(directory / kPosSettingsName, PosSettingsBytes(options.series_index));
  WriteWholeFile(directory / kOwnSettingsName,
                 OwnSettingsBytes(Company()) + (options.atcud_codes ? DemoAtcudSettingsBytes(options.series_index) : "") +
                     DemoSignatureSettingsBytes());
  WriteWholeFile(directory / kDemoPublicKeyName, std::string(DemoPublicKeyPem()));
  return summary;
}

}  // namespace varnel::demo
