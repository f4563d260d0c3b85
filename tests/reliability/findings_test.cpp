// Regression tests for what the hostile databases and the fuzzers found,
// each at the level where it was mended, plus one whole export that shows
// the operator's view of it.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "base/errors.h"
#include "base/utf8.h"
#include "posdb/field_values.h"
#include "posdb/sql_dialect.h"
#include "reliability/support/run_checks.h"
#include "support/export_harness.h"

namespace varnel::testing::reliability {
namespace {

CellView TextCell(std::string_view text) { return CellView{CellType::Text, 0, 0.0, text}; }
CellView RealCell(double value) { return CellView{CellType::Real, 0, value, {}}; }
CellView IntegerCell(std::int64_t value) { return CellView{CellType::Integer, value, 0.0, {}}; }

template <typename Read>
std::string ConversionMessage(Read read) {
  try {
    read();
  } catch (const ConversionError& error) {
    return error.what();
  }
  return "no error";
}

// A value that is not a number, or a number beyond what the file can hold,
// is named in the error box with its field and query, shown as readable
// text whatever bytes the database held.
TEST(Findings, ConversionErrorsNameTheFieldAndShowTheValueReadably) {
  const FieldPlace place{"total", "q_doc_new"};
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(TextCell(std::string("\x01\xFF" "a\xC3", 4)), place); }),
            "The value \"?\xEF\xBF\xBD" "a\xEF\xBF\xBD\" of field total in query q_doc_new is not a number.");
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(TextCell(std::string(50, '\x7F')), place); }),
            "The value \"" + std::string(40, '?') + "...\" of field total in query q_doc_new is not a number.");
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(RealCell(1e300), place); }),
            "The value \"1000000000000000052504760255204420248704...\" of field total in query q_doc_new is not "
            "an amount within range.");
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(RealCell(std::numeric_limits<double>::infinity()), place); }),
            "The value \"inf\" of field total in query q_doc_new is not an amount within range.");
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(IntegerCell(std::numeric_limits<std::int64_t>::max()), place); }),
            "The value \"9223372036854775807\" of field total in query q_doc_new is not an amount within range.");
  EXPECT_EQ(ConversionMessage([&] { CellAsCurrency(TextCell("922337203685477.5808"), place); }),
            "The value \"922337203685477.5808\" of field total in query q_doc_new is not an amount within range.");

  const FieldPlace code{"codigo", "q_MaxCli"};
  EXPECT_EQ(ConversionMessage([&] { CellAsInteger(RealCell(9223372036854775808.0), code); }),
            "The value \"9223372036854775808\" of field codigo in query q_MaxCli is not a whole number within range.");

  const FieldPlace entry{"datahora", "q_docRC"};
  EXPECT_EQ(ConversionMessage([&] { CellAsDateTime(RealCell(-800000.0), entry); }),
            "The value \"-800000\" of field datahora in query q_docRC is not a date between the years 1 and 9999.");
  EXPECT_EQ(ConversionMessage([&] { CellAsDateTime(IntegerCell(3000000), entry); }),
            "The value \"3000000\" of field datahora in query q_docRC is not a date between the years 1 and 9999.");
  // Dates inside the range still read as their day number.
  EXPECT_EQ(CellAsDateTime(RealCell(-1.25), entry), DateTime(-1.25));
  EXPECT_EQ(CellAsDateTime(IntegerCell(2958465), entry), DateTime(2958465.0));  // 9999-12-31
}

TEST(Findings, AnUnreadableAmountStopsTheRunWithReadableText) {
  TestDatabase db;
  db.Exec("INSERT INTO versao (major) VALUES (2016)");
  db.Exec("INSERT INTO documentos (doc, numero, data, total, pagamento) VALUES ('CM', 1, ?, ?, 0)",
          {StoredDate(2016, 1, 10), std::string("\xFF\x01<&", 4)});
  db.Exec("INSERT INTO vendas (doc, numero, codigo, qtd, iva, total, data) VALUES ('CM', 1, 1, 1, 23, 1.23, ?)",
          {StoredDate(2016, 1, 10)});
  const ExportResult result = RunExport(db);
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  const std::string message = LastApplicationError(result.observer);
  EXPECT_EQ(message, "The value \"\xEF\xBF\xBD?<&\" of field total in query q_consultas is not a number.");
  EXPECT_TRUE(IsValidUtf8(message));
  EXPECT_EQ(DataPanelProblem(result.observer), "");
}

// The SQLite adaptation takes the text line by line; a line break inside a
// literal or a block comment is no line break, and a comment after a SET
// expression does not go inside the parentheses the expression is put in.
TEST(Findings, TheDialectAdapterKeepsLiteralsAndCommentsThatSpanLines) {
  struct Case {
    const char* tsql;
    std::vector<std::string> sqlite;
  };
  const Case cases[] = {
      {"SELECT 'a\nSET @x = 1\nDECLARE @y int\nb' AS t", {"SELECT 'a\nSET @x = 1\nDECLARE @y int\nb' AS t"}},
      {"SELECT 1 /* note\nSET @x = 2\n*/ AS t", {"SELECT 1 /* note\nSET @x = 2\n*/ AS t"}},
      {"SELECT \"a\nDECLARE @y int\" FROM t", {"SELECT \"a\nDECLARE @y int\" FROM t"}},
      {"DECLARE @a int\nSET @a = 1 -- one\nSELECT (@a)", {"SELECT ((1))"}},
      {"DECLARE @d DATETIME\nSET @d=:datai; -- first day\nSELECT x FROM t WHERE d >= @d",
       {"SELECT x FROM t WHERE d >= :datai"}},
      {"DECLARE @a int\nSET @a = '--' + 'x' /* c */\nSELECT @a", {"SELECT ('--' + 'x')"}},
  };
  for (const Case& c : cases) EXPECT_EQ(AdaptForSqlite(c.tsql), c.sqlite) << c.tsql;
}

}  // namespace
}  // namespace varnel::testing::reliability
