// Writes the demo working directory: database, data link and the two
// settings files. Each file is written whole and checked; a failure raises
// FileError naming the file.
#include "tools/demo_workdir.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "export/errors.h"

namespace varnel::demo {

namespace {

// The characters Windows-1252 puts at bytes 0x80 to 0x9F (0 where undefined).
constexpr char32_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

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
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    auto byte = static_cast<unsigned char>(utf8[i]);
    char32_t code = 0;
    std::size_t length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : 4;
    if (i + length > utf8.size()) throw std::invalid_argument("incomplete UTF-8 text");
    code = length == 1 ? byte : length == 2 ? (byte & 0x1F) : length == 3 ? (byte & 0x0F) : (byte & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
      out += static_cast<char>(code);
      continue;
    }
    bool found = false;
    for (int k = 0; k < 32 && !found; ++k) {
      if (kHighBlock[k] != 0 && kHighBlock[k] == code) {
        out += static_cast<char>(0x80 + k);
        found = true;
      }
    }
    if (!found) throw std::invalid_argument("a character outside Windows-1252");
  }
  return out;
}

std::string DataLinkFileBytes(std::string_view database_name) {
  std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\nProvider=SQLite;Data Source=";
  text += database_name;
  text += "\r\n";
  std::string bytes = "\xFF\xFE";  // UTF-16LE byte-order mark
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      throw std::invalid_argument("the data link holds ASCII names only");
    }
    bytes += c;
    bytes += '\0';
  }
  return bytes;
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
  WriteWholeFile(directory / kOwnSettingsName, OwnSettingsBytes(Company()));
  return summary;
}

}  // namespace varnel::demo
