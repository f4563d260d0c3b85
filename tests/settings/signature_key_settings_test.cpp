// The producer's keys in Varnel.ini: versions and files in the file's order,
// relative files taken from the working directory, a line that is not a
// version and a file refused with its key named.
#include "settings/signature_key_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_names.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

TEST(SignatureKeySettings, VersionsAndFilesFromTheWorkingDirectory) {
  TempDir dir;
  EXPECT_TRUE(SignatureKeySettings(dir.path()).Load().empty());
  const std::filesystem::path absolute = dir / "chaves" / "v2.pem";
  WriteFileBytes(dir / "Varnel.ini",
                 "[Company Info]\r\nCompanyID=500000000\r\n"
                 "[ASSINATURAS]\r\n"
                 "; the producer's first key pair\r\n"
                 "1 = chave-publica.pem\r\n"
                 "2=\"" + Utf8FromPath(absolute) + "\"\r\n");
  const std::vector<SignatureKeyFile> expected = {{1, Utf8FromPath(dir / "chave-publica.pem")},
                                                  {2, Utf8FromPath(absolute)}};
  EXPECT_EQ(SignatureKeySettings(dir.path()).Load(), expected);
}

TEST(SignatureKeySettings, ALineThatIsNotAVersionAndAFileIsRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"um=chave.pem", "Versão de chave inválida em Varnel.ini, secção [Assinaturas], chave \"um\""},
      {"0=chave.pem", "Versão de chave inválida em Varnel.ini, secção [Assinaturas], chave \"0\""},
      {"1.1=chave.pem", "Versão de chave inválida em Varnel.ini, secção [Assinaturas], chave \"1.1\""},
      {"1=", "Falta o ficheiro da chave pública em Varnel.ini, secção [Assinaturas], chave \"1\"."},
  };
  for (const auto& [line, message] : cases) {
    TempDir dir;
    WriteFileBytes(dir / "Varnel.ini", std::string("[Assinaturas]\r\n") + line + "\r\n");
    try {
      SignatureKeySettings(dir.path()).Load();
      ADD_FAILURE() << line << " was accepted";
    } catch (const SettingsValueError& error) {
      EXPECT_EQ(std::string(error.what()).rfind(message, 0), 0u) << error.what();
    }
  }
}

}  // namespace
}  // namespace varnel
