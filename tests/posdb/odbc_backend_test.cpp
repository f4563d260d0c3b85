// The ODBC back end beyond the shared contract: the SQL Server driver choice
// and connection string, long wide text fetched in chunks, long driver
// messages kept whole, and messages that never carry the password. Runs
// through the real unixODBC driver manager with the SQLite ODBC driver.
#include "posdb/odbc_backend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/pos_database.h"
#include "support/driver_path.h"
#include "support/platform_facts.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::TestDatabase;

constexpr const char* kSqliteOdbcDriver = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

ConnectionDescription OdbcTo(const TestDatabase& db) {
  ConnectionDescription description;
  description.kind = ConnectionDescription::Kind::Odbc;
  description.odbc_connection_string =
      std::string("DRIVER={") + kSqliteOdbcDriver + "};Database=" + testing::DriverSidePath(db.database_file()) + ";";
  return description;
}

TEST(OdbcBackend, ChoosesTheFirstInstalledSqlServerDriver) {
  EXPECT_EQ(ChooseSqlServerDriver({"SQLite3", "FreeTDS", "ODBC Driver 17 for SQL Server"}),
            "ODBC Driver 17 for SQL Server");
  EXPECT_EQ(ChooseSqlServerDriver({"ODBC Driver 17 for SQL Server", "ODBC Driver 18 for SQL Server"}),
            "ODBC Driver 18 for SQL Server");
  if (testing::kOnWindows) {
    // Windows: the Native Client, then the driver every Windows has; no FreeTDS.
    EXPECT_EQ(ChooseSqlServerDriver({"SQL Server", "SQL Server Native Client 11.0"}), "SQL Server Native Client 11.0");
    EXPECT_EQ(ChooseSqlServerDriver({"SQLite3", "SQL Server"}), "SQL Server");
    EXPECT_EQ(ChooseSqlServerDriver({"SQLite3", "FreeTDS"}), "");
  } else {
    EXPECT_EQ(ChooseSqlServerDriver({"SQLite3", "FreeTDS"}), "FreeTDS");
    EXPECT_EQ(ChooseSqlServerDriver({"SQLite3", "SQL Server"}), "");
  }
  EXPECT_NO_THROW(InstalledOdbcDrivers());
}

TEST(OdbcBackend, BuildsTheSqlServerConnectionString) {
  ConnectionDescription description;
  description.kind = ConnectionDescription::Kind::SqlServer;
  description.server = "CAIXA\\SQLEXPRESS";
  description.database = "Korvel";
  description.user = "sa";
  description.password = "a;b}";
  EXPECT_EQ(SqlServerConnectionString(description, "ODBC Driver 18 for SQL Server"),
            "DRIVER={ODBC Driver 18 for SQL Server};SERVER=CAIXA\\SQLEXPRESS;DATABASE=Korvel;UID=sa;PWD={a;b}}};"
            "MARS_Connection=yes;TrustServerCertificate=yes;APP=Varnel;");
  description.server = "10.0.0.5,1433";
  description.trusted_connection = true;
  EXPECT_EQ(SqlServerConnectionString(description, "FreeTDS"),
            "DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=1433;DATABASE=Korvel;Trusted_Connection=yes;"
            "MARS_Connection=yes;APP=Varnel;");
  EXPECT_EQ(SqlServerConnectionString(description, "ODBC Driver 17 for SQL Server"),
            "DRIVER={ODBC Driver 17 for SQL Server};SERVER=10.0.0.5,1433;DATABASE=Korvel;Trusted_Connection=yes;"
            "MARS_Connection=yes;APP=Varnel;");
}

TEST(OdbcBackend, FetchesLongWideTextWhole) {
  if (!std::filesystem::exists(kSqliteOdbcDriver)) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
  TestDatabase db;
  // More than two chunks, accents throughout, and a character outside the
  // basic plane whose two UTF-16 halves straddle the first chunk's end.
  std::string text(1023, 'a');
  text += "\xF0\x9F\x98\x80";  // U+1F600
  for (int i = 0; i < 700; ++i) text += "ção";
  db.Exec("INSERT INTO produtos (codigo, descricao) VALUES (1, ?), (2, NULL), (3, '')", {text});

  PosDatabase database;
  database.ConnectTo(OdbcTo(db));
  PosQuery q(database, "q_prod", "SELECT codigo, descricao FROM produtos ORDER BY codigo");
  q.Open();
  ASSERT_EQ(q.RowCount(), 3);
  EXPECT_EQ(q.AsText("descricao"), text);
  q.Next();
  EXPECT_TRUE(q.IsNull("descricao"));
  q.Next();
  EXPECT_FALSE(q.IsNull("descricao"));
  EXPECT_EQ(q.AsText("descricao"), "");
}

// A driver's message reaches the error whole, with nothing after it. unixODBC
// keeps each record to 512 units (its own message store), so this is the
// longest message that the driver manager and the SQLite driver produce; the
// read-again path for messages past the first 1024-unit buffer is not reached
// through them.
TEST(OdbcBackend, LongDriverMessagesArriveWhole) {
  if (!std::filesystem::exists(kSqliteOdbcDriver)) GTEST_SKIP() << "the SQLite ODBC driver is not installed";
  TestDatabase db;
  PosDatabase database;
  database.ConnectTo(OdbcTo(db));
  PosQuery q(database, "q_long", "SELECT * FROM \"" + std::string(3000, 't') + "\"");
  try {
    q.Open();
    FAIL() << "opened";
  } catch (const DatabaseError& error) {
    const std::string& message = error.driver_message();
    const std::string lead = "] [SQLite]no such table: ";
    const auto at = message.find(lead);
    ASSERT_NE(at, std::string::npos) << message;
    EXPECT_EQ(message.substr(at - 6, 6), "[HY000");
    const std::string name = message.substr(at + lead.size());
    EXPECT_GE(name.size(), 480u);
    EXPECT_EQ(name, std::string(name.size(), 't'));
    EXPECT_EQ(error.query_name(), "q_long");
  }
}

// A DRIVER value over 1000 bytes would abort the program inside unixODBC: it
// is refused with a message instead. One of 1000 bytes still reaches the
// driver manager, which answers that it cannot open the library.
TEST(OdbcBackend, RefusesADriverTooLongForTheDriverManager) {
  ConnectionDescription raw;
  raw.kind = ConnectionDescription::Kind::Odbc;
  raw.odbc_connection_string = "DRIVER={" + std::string(3000, 'd') + "};Database=pos.db;";
  try {
    OpenOdbcConnection(raw);
    FAIL() << "connected";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(error.driver_message(),
              "The ODBC connection string names a driver of 3000 bytes; the driver manager takes at most 1000.");
    EXPECT_EQ(error.backend(), "ODBC");
  }

  const std::string longest_path = "/tmp/" + std::string(992, 'd') + ".so";
  ASSERT_EQ(longest_path.size(), 1000u);
  raw.odbc_connection_string = "DRIVER={" + longest_path + "};Database=pos.db;";
  try {
    OpenOdbcConnection(raw);
    FAIL() << "connected";
  } catch (const DatabaseError& error) {
    const std::string& message = error.driver_message();
    EXPECT_EQ(message.find("takes at most"), std::string::npos) << message;
    EXPECT_NE(message.find("Can't open lib '/tmp/ddd"), std::string::npos) << message;
  }
}

TEST(OdbcBackend, PasswordsNeverReachAMessage) {
  const std::string password = "Segredo#4471";
  ConnectionDescription raw;
  raw.kind = ConnectionDescription::Kind::Odbc;
  raw.password = password;
  raw.odbc_connection_string = "DRIVER={No Such Driver};SERVER=x;UID=sa;PWD=" + password + ";";
  try {
    OpenOdbcConnection(raw);
    FAIL() << "connected";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(std::string(error.what()).find(password), std::string::npos) << error.what();
    EXPECT_EQ(error.backend(), "ODBC");
  }

  // SQL Server through whatever driver is installed here, on a port where
  // nothing listens.
  ConnectionDescription server;
  server.kind = ConnectionDescription::Kind::SqlServer;
  server.server = "127.0.0.1,1";
  server.database = "Korvel";
  server.user = password;  // even a user name equal to the password is hidden
  server.password = password;
  try {
    PosDatabase database;
    database.ConnectTo(server);
    FAIL() << "connected";
  } catch (const DatabaseError& error) {
    EXPECT_EQ(std::string(error.what()).find(password), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace varnel
