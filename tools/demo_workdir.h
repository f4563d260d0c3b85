// The demo working directory, laid out as on the point-of-sale workstation:
// the database file, the data link file "Korvel.UDL" leading to it (UTF-16LE
// with byte-order mark, as Windows writes data links), the point-of-sale
// settings ".\Korvel.ini" with the series option, and the exporter's own
// ".\Varnel.ini" with the company data and the demo's public key in
// [Assinaturas], next to it as "chave-publica-demo.pem". Both settings files are Windows-1252
// with CR LF line ends. Files of the same names are replaced; the database is
// written under a temporary name first, so a failed run leaves no half file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "tools/demo_catalogue.h"
#include "tools/demo_database.h"

namespace varnel::demo {

inline constexpr const char* kDemoDatabaseName = "korvel.db";
inline constexpr const char* kDataLinkName = "Korvel.UDL";
inline constexpr const char* kPosSettingsName = "Korvel.ini";
inline constexpr const char* kOwnSettingsName = "Varnel.ini";
inline constexpr const char* kDemoPublicKeyName = "chave-publica-demo.pem";

// The bytes of a data link to the embedded database file database_name
// (relative names are taken from the working directory).
std::string DataLinkFileBytes(std::string_view database_name);
// [OPCOES] with "Serie de numeracao" = series_index.
std::string PosSettingsBytes(int series_index);
// [Company Info] with the ten company keys.
std::string OwnSettingsBytes(const DemoCompany& company);
// A blank line, then [ATCUD] with a made-up validation code ("DEMOFTA01") for
// every document type the demo issues in the series of series_index, so a
// 1.04_01 export of the demo carries ATCUDs.
std::string DemoAtcudSettingsBytes(int series_index);

// A blank line, then [Assinaturas] naming the demo's public key file as the
// producer's key of the demo key's version.
std::string DemoSignatureSettingsBytes();

// UTF-8 text as Windows-1252 bytes; raises std::invalid_argument for a
// character the code page lacks (the settings files hold only our own texts).
std::string Windows1252FromUtf8(std::string_view utf8);

DemoDatabaseSummary WriteDemoWorkingDirectory(const std::filesystem::path& directory,
                                              const DemoDatabaseOptions& options);

}  // namespace varnel::demo
