// Reading "Korvel.UDL": its encodings, quoting, the providers it may name and
// the errors for a missing file, no settings and an unknown provider.
#include "posdb/data_link.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "posdb/pos_database.h"
#include "support/test_database.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::DataLinkFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// Runs body with the working directory set to folder, and puts it back.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& folder) : m_saved(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~WorkingDirectory() { std::filesystem::current_path(m_saved); }

 private:
  std::filesystem::path m_saved;
};

ConnectionDescription ReadBytes(const TempDir& folder, const std::string& bytes) {
  const auto path = folder / "Korvel.UDL";
  WriteFileBytes(path, bytes);
  return ReadDataLinkFile(path);
}

TEST(DataLink, InitStringPairsAreUnquoted) {
  const auto pairs = ParseInitString(
      "Provider=SQLOLEDB.1; Password=\"a;b\"\"c\" ;User ID='sa';Initial Catalog = Korvel ;"
      "Extended Properties={DSN=x;UID=y};Persist Security Info=True;fragment;Data Source=HOST\\SQLEXPRESS");
  EXPECT_EQ(pairs.at("provider"), "SQLOLEDB.1");
  EXPECT_EQ(pairs.at("password"), "a;b\"c");
  EXPECT_EQ(pairs.at("user id"), "sa");
  EXPECT_EQ(pairs.at("initial catalog"), "Korvel");
  EXPECT_EQ(pairs.at("extended properties"), "DSN=x;UID=y");
  EXPECT_EQ(pairs.at("data source"), "HOST\\SQLEXPRESS");
  EXPECT_EQ(pairs.count("fragment"), 0u);
}

TEST(DataLink, ReadsSqlServerFromUtf16AndEightBitFiles) {
  TempDir folder;
  const std::string init =
      "Provider=SQLOLEDB.1;Password=p\xC3\xA1ss;Persist Security Info=True;User ID=sa;"
      "Initial Catalog=Korvel;Data Source=CAIXA1\\SQLEXPRESS";
  const auto wide = ReadBytes(folder, DataLinkFileBytes(init));
  EXPECT_EQ(wide.kind, ConnectionDescription::Kind::SqlServer);
  EXPECT_EQ(wide.provider, "SQLOLEDB.1");
  EXPECT_EQ(wide.server, "CAIXA1\\SQLEXPRESS");
  EXPECT_EQ(wide.database, "Korvel");
  EXPECT_EQ(wide.user, "sa");
  EXPECT_EQ(wide.password, "p\xC3\xA1ss");
  EXPECT_FALSE(wide.trusted_connection);

  // The same file saved as 8-bit Windows-1252 text, and as UTF-8 with a mark.
  const auto ansi = ReadBytes(folder, "[oledb]\r\n; comment\r\n" + std::string("Provider=SQLOLEDB.1;Password=p\xE1ss;"
                                                                                  "User ID=sa;Data Source=CAIXA1\r\n"));
  EXPECT_EQ(ansi.password, "p\xC3\xA1ss");
  EXPECT_EQ(ansi.server, "CAIXA1");
  const auto utf8 = ReadBytes(folder, "\xEF\xBB\xBF[oledb]\n" + init + "\n");
  EXPECT_EQ(utf8.password, "p\xC3\xA1ss");

  for (const char* provider : {"SQLNCLI11", "MSOLEDBSQL", "sqloledb"}) {
    SCOPED_TRACE(provider);
    const auto other = ReadBytes(folder, DataLinkFileBytes(std::string("Provider=") + provider +
                                                           ";Integrated Security=SSPI;Data Source=srv,1433"));
    EXPECT_EQ(other.kind, ConnectionDescription::Kind::SqlServer);
    EXPECT_TRUE(other.trusted_connection);
    EXPECT_EQ(other.server, "srv,1433");
  }
}

TEST(DataLink, ReadsTheEmbeddedDatabaseRelativeToTheWorkingDirectory) {
  TempDir folder;
  std::filesystem::create_directory(folder / "dados");
  const auto description = [&] {
    WorkingDirectory inside(folder.path());
    return ReadBytes(folder, DataLinkFileBytes("Provider=SQLite;Data Source=dados\\korvel.db"));
  }();
  EXPECT_EQ(description.kind, ConnectionDescription::Kind::Sqlite);
  EXPECT_EQ(description.database_file, folder.path() / "dados" / "korvel.db");
}

TEST(DataLink, ReadsARawOdbcConnection) {
  TempDir folder;
  const auto with_string = ReadBytes(
      folder, DataLinkFileBytes("Provider=MSDASQL.1;Extended Properties=\"DRIVER={SQLite3};Database=x.db;PWD=s\""));
  EXPECT_EQ(with_string.kind, ConnectionDescription::Kind::Odbc);
  EXPECT_EQ(with_string.odbc_connection_string, "DRIVER={SQLite3};Database=x.db;PWD=s");
  EXPECT_EQ(with_string.password, "s");
  const auto with_dsn = ReadBytes(folder, DataLinkFileBytes("Provider=MSDASQL;Data Source=Korvel;User ID=u;Password=p"));
  EXPECT_EQ(with_dsn.odbc_connection_string, "DSN=Korvel;UID=u;PWD=p;");
}

TEST(DataLink, FailuresSayWhatIsWrongWithoutThePassword) {
  TempDir folder;
  auto message_of = [&](const std::string& bytes) {
    try {
      ReadBytes(folder, bytes);
    } catch (const DataLinkError& error) {
      return std::string(error.what());
    }
    return std::string("no error");
  };
  const std::string path = (folder / "Korvel.UDL").string();
  EXPECT_EQ(message_of(DataLinkFileBytes("Provider=Microsoft.Jet.OLEDB.4.0;Password=segredo;Data Source=x.mdb")),
            "The data link file \"" + path +
                "\" names the provider \"Microsoft.Jet.OLEDB.4.0\", which this program cannot use.");
  EXPECT_EQ(message_of("[oledb]\r\n; only a comment\r\n"),
            "The data link file \"" + path + "\" holds no connection settings.");
  EXPECT_EQ(message_of(DataLinkFileBytes("Password=segredo;Data Source=x")),
            "The data link file \"" + path + "\" names no provider.");
  EXPECT_EQ(message_of(DataLinkFileBytes("Provider=SQLite")),
            "The data link file \"" + path + "\" names no database file (Data Source).");

  try {
    ReadDataLinkFile(folder / "Missing.UDL");
    FAIL() << "no error";
  } catch (const DataLinkError& error) {
    EXPECT_EQ(std::string(error.what()),
              "The data link file \"" + (folder / "Missing.UDL").string() + "\" does not exist.");
  }
  // PosDatabase reports the same errors from Connect.
  PosDatabase database;
  EXPECT_THROW(database.Connect(folder / "Missing.UDL"), DataLinkError);
  EXPECT_FALSE(database.IsConnected());
}

TEST(DataLink, MasksPasswordsInConnectionTexts) {
  EXPECT_EQ(MaskPasswords("DRIVER={FreeTDS};SERVER=x;UID=sa;PWD={a;b}}c};APP=V"),
            "DRIVER={FreeTDS};SERVER=x;UID=sa;PWD=***;APP=V");
  EXPECT_EQ(MaskPasswords("Provider=SQLOLEDB;Password=\"x;y\";User ID=sa"), "Provider=SQLOLEDB;Password=***;User ID=sa");
  EXPECT_EQ(MaskPasswords("pwd=abc"), "pwd=***");
}

}  // namespace
}  // namespace varnel
