// The SQLite owner types shared by the demo generator and the tests: each
// way of opening a file keeps its promise (a new file never replaces one, an
// existing one is never created or, read-only, changed), failures name the
// call and the statement, single-value queries finish their statement, and a
// connection waits for another's lock only when given a busy timeout.
#include "tools/sqlite_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "support/test_paths.h"

namespace varnel::tools {
namespace {

using varnel::testing::ReadFileBytes;
using varnel::testing::TempDir;
using varnel::testing::WriteFileBytes;

constexpr int kSqliteBusy = 5;

// A file with one table t (k, v) and the rows (1, 'um') and (2, NULL).
SqliteFile SmallFile(const std::filesystem::path& path) {
  SqliteFile file(path, SqliteFile::Mode::Create);
  file.ExecuteScript(
      "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); INSERT INTO t VALUES (1, 'um'), (2, NULL)",
      "create t");
  return file;
}

TEST(SqliteFile, FailuresNameTheCallAndStatement) {
  TempDir folder;
  SqliteFile file(folder / "x.db", SqliteFile::Mode::Create);
  try {
    file.Prepare("SELECT k FROM nowhere", "missing table");
    FAIL() << "no error raised";
  } catch (const SqliteError& error) {
    EXPECT_EQ(error.call(), "sqlite3_prepare_v2");
    EXPECT_EQ(error.statement(), "missing table");
    EXPECT_EQ(std::string(error.what()),
              "no such table: nowhere (SQLite sqlite3_prepare_v2, code 1, statement missing table)");
  }
  file.ExecuteScript("CREATE TABLE t (k INTEGER PRIMARY KEY)", "create");
  SqliteStatement insert = file.Prepare("INSERT INTO t (k) VALUES (?1)", "insert t");
  insert.BindInteger(1, 5);
  insert.Execute();
  EXPECT_THROW(insert.Execute(), SqliteError);  // the same key again
  EXPECT_THROW(SqliteFile(folder / "absent" / "y.db", SqliteFile::Mode::ReadOnly), SqliteError);

  try {
    file.ExecuteScript("INSERT INTO t (k) VALUES (5)", "insert again");
    FAIL() << "no error raised";
  } catch (const SqliteError& error) {
    EXPECT_EQ(error.call(), "sqlite3_exec");
    EXPECT_EQ(std::string(error.what()),
              "UNIQUE constraint failed: t.k (SQLite sqlite3_exec, code 19, statement insert again)");
  }
}

TEST(SqliteFile, EachModeKeepsItsPromise) {
  TempDir folder;
  // Create never replaces a file.
  WriteFileBytes(folder / "kept.db", "keep me");
  EXPECT_THROW(SqliteFile(folder / "kept.db", SqliteFile::Mode::Create), SqliteError);
  EXPECT_EQ(ReadFileBytes(folder / "kept.db"), "keep me");

  // ReadWrite and ReadOnly never create one.
  EXPECT_THROW(SqliteFile(folder / "missing.db", SqliteFile::Mode::ReadWrite), SqliteError);
  EXPECT_THROW(SqliteFile(folder / "missing.db", SqliteFile::Mode::ReadOnly), SqliteError);
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.db"));

  SmallFile(folder / "small.db").Close();
  {
    SqliteFile writer(folder / "small.db", SqliteFile::Mode::ReadWrite);
    writer.ExecuteScript("INSERT INTO t VALUES (3, 'três')", "insert");
  }
  SqliteFile reader(folder / "small.db", SqliteFile::Mode::ReadOnly);
  EXPECT_EQ(reader.QueryText("SELECT v FROM t WHERE k = 3", "read"), "três");
  try {
    reader.ExecuteScript("DELETE FROM t", "delete");
    FAIL() << "a read-only file was changed";
  } catch (const SqliteError& error) {
    EXPECT_EQ(error.sqlite_message(), "attempt to write a readonly database");
  }
  EXPECT_EQ(reader.QueryInteger("SELECT COUNT(*) FROM t", "count"), 3);
}

TEST(SqliteFile, SingleValueQueriesFinishTheirStatement) {
  TempDir folder;
  SqliteFile file = SmallFile(folder / "small.db");
  EXPECT_EQ(file.QueryText("SELECT v FROM t WHERE k = 1", "one"), "um");
  EXPECT_EQ(file.QueryText("SELECT v FROM t WHERE k = 2", "null"), "");
  EXPECT_EQ(file.QueryText("SELECT v FROM t WHERE k = 9", "none"), std::nullopt);
  EXPECT_EQ(file.QueryInteger("SELECT k FROM t ORDER BY k DESC", "first of two"), 2);
  EXPECT_EQ(file.QueryInteger("SELECT NULL", "null"), 0);
  EXPECT_EQ(file.QueryInteger("SELECT k FROM t WHERE k = 9", "none"), std::nullopt);
  EXPECT_THROW(file.QueryInteger("SELECT k FROM nowhere", "missing"), SqliteError);
  // Close refuses while a statement is open; none is left by the queries.
  EXPECT_NO_THROW(file.Close());
}

TEST(SqliteFile, CloseReportsAStatementStillOpen) {
  TempDir folder;
  SqliteFile file = SmallFile(folder / "small.db");
  {
    SqliteStatement rows = file.Prepare("SELECT k FROM t", "rows");
    try {
      file.Close();
      FAIL() << "closed with a statement open";
    } catch (const SqliteError& error) {
      EXPECT_EQ(error.call(), "sqlite3_close");
    }
    // The file stays usable until the statement is gone.
    EXPECT_TRUE(rows.Next());
    EXPECT_EQ(rows.Integer(0), 1);
  }
  EXPECT_NO_THROW(file.Close());
}

TEST(SqliteStatement, OptionalAndEmptyTextsBindAsNull) {
  TempDir folder;
  SqliteFile file = SmallFile(folder / "small.db");
  SqliteStatement insert = file.Prepare("INSERT INTO t VALUES (?1, ?2)", "insert");
  struct Case {
    std::int64_t key;
    std::optional<std::string> optional;  // bound with BindOptionalText
    const char* text;                     // bound with BindTextOrNull, when optional is absent
    const char* stored;                   // typeof(v) || ':' || v
  };
  const Case cases[] = {
      {10, std::nullopt, nullptr, "null:"},
      {11, std::string(), nullptr, "text:"},
      {12, std::string("sim"), nullptr, "text:sim"},
      {13, std::nullopt, "", "null:"},
      {14, std::nullopt, "não", "text:não"},
  };
  for (const Case& c : cases) {
    insert.BindInteger(1, c.key);
    if (c.text != nullptr) {
      insert.BindTextOrNull(2, c.text);
    } else {
      insert.BindOptionalText(2, c.optional);
    }
    insert.Execute();
    const std::string sql =
        "SELECT typeof(v) || ':' || IFNULL(v, '') FROM t WHERE k = " + std::to_string(c.key);
    EXPECT_EQ(file.QueryText(sql, "read"), c.stored) << c.key;
  }
}

TEST(SqliteFile, WaitsForAnotherConnectionsLockOnlyWithABusyTimeout) {
  TempDir folder;
  SmallFile(folder / "small.db").Close();
  SqliteFile point_of_sale(folder / "small.db", SqliteFile::Mode::ReadWrite);
  point_of_sale.ExecuteScript("BEGIN EXCLUSIVE", "begin");

  SqliteFile reader(folder / "small.db", SqliteFile::Mode::ReadOnly);
  try {
    reader.QueryInteger("SELECT COUNT(*) FROM t", "count");
    FAIL() << "read through an exclusive lock";
  } catch (const SqliteError& error) {
    EXPECT_EQ(error.code(), kSqliteBusy);
    EXPECT_EQ(error.sqlite_message(), "database is locked");
  }

  reader.SetBusyTimeout(std::chrono::seconds(20));
  std::string sale_error;
  std::thread sale([&point_of_sale, &sale_error] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    try {
      point_of_sale.ExecuteScript("INSERT INTO t VALUES (3, 'três'); COMMIT", "commit");
    } catch (const SqliteError& error) {
      sale_error = error.what();
    }
  });
  std::optional<std::int64_t> count;
  EXPECT_NO_THROW(count = reader.QueryInteger("SELECT COUNT(*) FROM t", "count"));
  sale.join();
  EXPECT_EQ(sale_error, "");
  EXPECT_EQ(count, 3);
}

TEST(SqliteFile, AMovedFileKeepsItsConnection) {
  TempDir folder;
  SqliteFile first = SmallFile(folder / "small.db");
  SqliteFile second = std::move(first);
  EXPECT_EQ(second.QueryInteger("SELECT COUNT(*) FROM t", "count"), 2);
  SqliteFile third(folder / "small.db", SqliteFile::Mode::ReadOnly);
  third = std::move(second);  // the read-only connection is closed
  SqliteStatement rows = third.Prepare("SELECT k FROM t ORDER BY k", "rows");
  SqliteStatement moved = std::move(rows);
  ASSERT_TRUE(moved.Next());
  EXPECT_EQ(moved.Integer(0), 1);
  third.ExecuteScript("INSERT INTO t VALUES (3, NULL)", "still writable");
}

}  // namespace
}  // namespace varnel::tools
