// The demo database generator: the same seed gives the same file, the stored
// amounts agree with each other, every code a document uses leads somewhere,
// and the data holds the mix of documents the exporter's rules are built for
// (the checks of the whole mix take the tickets of before 2013, which hold
// every document type); a present-day month writes simplified invoices
// where tickets stood and fills every customer's taxpayer number.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/value_routines.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_catalogue.h"
#include "tools/demo_database.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {
namespace {

using varnel::testing::ReadFileBytes;
using varnel::testing::TempDir;
using varnel::tools::SqliteError;
using varnel::tools::SqliteFile;
using varnel::tools::SqliteStatement;

constexpr std::int64_t kDocuments = 600;

// November 2026 with the counter tickets of before 2013.
DemoDatabaseOptions NovemberOptions(std::uint64_t seed, std::int64_t documents = kDocuments) {
  DemoDatabaseOptions options;
  options.period = {DayNumber({2026, 11, 1}), DayNumber({2026, 11, 30})};
  options.documents = documents;
  options.seed = seed;
  options.unsigned_per_thousand = 20;  // some documents the point of sale never signed
  options.legacy_tickets = true;
  return options;
}

std::int64_t Scalar(SqliteFile& file, const std::string& sql) {
  SqliteStatement query = file.Prepare(sql, "test");
  EXPECT_TRUE(query.Next()) << sql;
  return query.Integer(0);
}

// One generated database shared by the checks that only read it.
class DemoDatabaseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = new TempDir();
    s_summary = WriteDemoDatabase(s_folder->path() / "korvel.db", NovemberOptions(2016));
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  void SetUp() override {
    m_file.emplace(s_folder->path() / "korvel.db", SqliteFile::Mode::ReadOnly);
  }
  SqliteFile& file() { return *m_file; }

  static TempDir* s_folder;
  static DemoDatabaseSummary s_summary;
  std::optional<SqliteFile> m_file;
};

TempDir* DemoDatabaseTest::s_folder = nullptr;
DemoDatabaseSummary DemoDatabaseTest::s_summary;

struct Check {
  const char* what;
  const char* sql;  // counts the rows that break the rule
};

TEST(DemoDatabase, SameSeedGivesSameBytes) {
  TempDir folder;
  WriteDemoDatabase(folder / "a.db", NovemberOptions(7, 400));
  WriteDemoDatabase(folder / "b.db", NovemberOptions(7, 400));
  WriteDemoDatabase(folder / "c.db", NovemberOptions(8, 400));
  std::string first = ReadFileBytes(folder / "a.db");
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first == ReadFileBytes(folder / "b.db"));
  EXPECT_FALSE(first == ReadFileBytes(folder / "c.db"));
}

// The rows of every table in the order they were written, as text: per row
// its non-NULL columns by name, REAL values as whole ten-thousandths (so the
// text does not depend on how SQLite prints a double). Columns that are NULL
// throughout, such as one the schema adds later, leave it unchanged.
std::string ContentsText(SqliteFile& file) {
  std::string text;
  SqliteStatement tables = file.Prepare(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
      "ORDER BY name",
      "tables");
  while (tables.Next()) {
    const std::string table = tables.Text(0);
    SqliteStatement columns = file.Prepare(
        "SELECT name FROM pragma_table_info('" + table + "') ORDER BY name", "columns");
    std::string row = "''";
    while (columns.Next()) {
      const std::string column = "\"" + columns.Text(0) + "\"";
      row += " || CASE WHEN " + column + " IS NULL THEN '' ELSE '" + columns.Text(0) +
             "=' || CASE typeof(" + column + ") WHEN 'real' THEN printf('%d', round(" + column +
             " * 10000)) ELSE quote(" + column + ") END || ';' END";
    }
    SqliteStatement rows = file.Prepare("SELECT " + row + " FROM \"" + table + "\" ORDER BY rowid",
                                        "rows of " + table);
    while (rows.Next()) text += table + ": " + rows.Text(0) + "\n";
  }
  return text;
}

std::string Fingerprint(const std::string& text) {  // FNV-1a, 64 bits, in hex
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ULL;
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kDigits[hash & 15];
  return hex;
}

// The same options keep giving the same rows from one version of the
// generator to the next: its parts draw from one source of chance, and a
// draw taken earlier or later changes everything after it. A deliberate
// change to what the generator writes updates the fingerprints here.
TEST(DemoDatabase, TheSameOptionsKeepGivingTheSameRows) {
  struct Case {
    const char* what;
    DemoDatabaseOptions options;
    const char* fingerprint;
  };
  DemoDatabaseOptions spring = NovemberOptions(5, 1500);
  spring.period = {DayNumber({2024, 3, 20}), DayNumber({2024, 6, 10})};
  spring.series_index = 3;
  DemoDatabaseOptions present_day = NovemberOptions(2016);
  present_day.legacy_tickets = false;
  DemoDatabaseOptions before_2013 = NovemberOptions(2016);
  before_2013.period = {DayNumber({2012, 11, 1}), DayNumber({2012, 11, 30})};
  before_2013.legacy_tickets = false;
  const Case cases[] = {
      {"600 documents in November, seed 2016", NovemberOptions(2016), "4d481e716a334432"},
      {"1500 documents over three months, series C", spring, "ee1de857c83a78cf"},
      {"one document", NovemberOptions(9, 1), "a72b0475dff16536"},
      {"600 documents in November, present day", present_day, "dc98d3a8de47e47e"},
      {"600 documents in November 2012", before_2013, "34a77f508938eb59"},
  };
  TempDir folder;
  int index = 0;
  for (const Case& c : cases) {
    const auto path = folder / ("case" + std::to_string(++index) + ".db");
    WriteDemoDatabase(path, c.options);
    SqliteFile file(path, SqliteFile::Mode::ReadOnly);
    const std::string text = ContentsText(file);
    EXPECT_NE(text.find("documentos: "), std::string::npos) << c.what;
    EXPECT_EQ(Fingerprint(text), c.fingerprint) << c.what;
  }
}

TEST(DemoDatabase, RefusesAnExistingFileAndOptionsOutOfRange) {
  TempDir folder;
  varnel::testing::WriteFileBytes(folder / "korvel.db", "keep me");
  EXPECT_THROW(WriteDemoDatabase(folder / "korvel.db", NovemberOptions(1, 10)), SqliteError);
  EXPECT_EQ(ReadFileBytes(folder / "korvel.db"), "keep me");

  EXPECT_THROW(WriteDemoDatabase(folder / "none.db", NovemberOptions(1, 0)), std::invalid_argument);
  DemoDatabaseOptions backwards = NovemberOptions(1, 10);
  std::swap(backwards.period.first_day, backwards.period.last_day);
  EXPECT_THROW(WriteDemoDatabase(folder / "none.db", backwards), std::invalid_argument);
}

TEST_F(DemoDatabaseTest, AmountsAgreeWithTheLines) {
  const Check checks[] = {
      {"document total is the sum of its line totals",
       "SELECT COUNT(*) FROM documentos d WHERE d.doc <> 'RC' AND ABS(d.total - "
       "(SELECT IFNULL(SUM(v.total), 0) FROM vendas v WHERE v.doc = d.doc AND v.numero = d.numero)) "
       "> 0.00005"},
      {"liquido is the sum of the tax-exclusive amounts, withholding left out",
       "SELECT COUNT(*) FROM documentos d WHERE d.doc <> 'RC' AND ABS(d.liquido - "
       "(SELECT IFNULL(SUM(v.valor), 0) FROM vendas v WHERE v.doc = d.doc AND v.numero = d.numero "
       "AND v.codigo <> -999)) > 0.00005"},
      {"valor is total / ((100 + iva) / 100) to four decimals",
       "SELECT COUNT(*) FROM vendas WHERE ABS(valor - ROUND(total / ((100.0 + iva) / 100), 4)) > "
       "0.00006"},
      {"line total is quantity times unit price less the discount",
       "SELECT COUNT(*) FROM vendas WHERE codigo <> -999 AND ABS(total - (ROUND(qtd * punit, 2) - "
       "desconto)) > 0.006"},
      {"a receipt's total is the sum it settles",
       "SELECT COUNT(*) FROM documentos d WHERE d.doc = 'RC' AND ABS(d.total - "
       "(SELECT SUM(c.valor) FROM compensacoes c WHERE c.RC = d.numero)) > 0.00005"},
      {"no negative total outside credit notes and the receipts that pay refunds back",
       "SELECT COUNT(*) FROM documentos WHERE (doc NOT IN ('NC', 'RC') AND total < 0) OR (doc = 'NC' AND total > 0)"},
      {"withholding lines are negative and at rate 0",
       "SELECT COUNT(*) FROM vendas WHERE codigo = -999 AND (valor >= 0 OR iva <> 0 OR total <> valor)"},
      {"data is the day at midnight, datahora the same day",
       "SELECT COUNT(*) FROM documentos WHERE data NOT GLOB "
       "'[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9] 00:00:00' OR SUBSTR(datahora, 1, 10) <> "
       "SUBSTR(data, 1, 10) OR LENGTH(datahora) <> 19"},
      {"documents fall in the period",
       "SELECT COUNT(*) FROM documentos WHERE data < '2026-11-01' OR data > '2026-11-30 00:00:00'"},
      {"a line carries its document's day",
       "SELECT COUNT(*) FROM vendas v JOIN documentos d ON d.doc = v.doc AND d.numero = v.numero "
       "WHERE v.data <> d.data"},
      {"every document but a receipt has lines",
       "SELECT COUNT(*) FROM documentos d WHERE d.doc <> 'RC' AND NOT EXISTS "
       "(SELECT 1 FROM vendas v WHERE v.doc = d.doc AND v.numero = d.numero)"},
  };
  for (const Check& check : checks) {
    EXPECT_EQ(Scalar(file(), check.sql), 0) << check.what;
  }
}

TEST_F(DemoDatabaseTest, EveryReferenceLeadsSomewhere) {
  const Check checks[] = {
      {"customer codes above 1 exist",
       "SELECT COUNT(*) FROM documentos WHERE cliente > 1 AND cliente NOT IN (SELECT codigo FROM clientes)"},
      {"customer codes are never negative or NULL",
       "SELECT COUNT(*) FROM documentos WHERE cliente IS NULL OR cliente < 0"},
      {"receipts name a customer that the audit file lists",
       "SELECT COUNT(*) FROM documentos WHERE doc = 'RC' AND cliente < 1"},
      {"sold products exist or mark withholding",
       "SELECT COUNT(*) FROM vendas WHERE codigo <> -999 AND codigo NOT IN (SELECT codigo FROM produtos)"},
      {"exempt lines lead to a norm of at least 6 characters",
       "SELECT COUNT(*) FROM vendas v LEFT JOIN produtos p ON p.codigo = v.codigo "
       "LEFT JOIN motivos_isencao m ON m.codigo = IFNULL(NULLIF(v.isencao, ''), p.isencao) "
       "WHERE v.iva = 0 AND v.codigo <> -999 AND (m.norma IS NULL OR LENGTH(m.norma) < 6)"},
      {"a document's own exemption code only with exempt lines, and then known",
       "SELECT COUNT(*) FROM documentos d WHERE (IFNULL(d.isencao, '') <> '') <> EXISTS "
       "(SELECT 1 FROM vendas v WHERE v.doc = d.doc AND v.numero = d.numero AND v.iva = 0 AND "
       "v.codigo <> -999) OR (IFNULL(d.isencao, '') <> '' AND d.isencao NOT IN "
       "(SELECT codigo FROM motivos_isencao))"},
      {"product descriptions and units are not empty",
       "SELECT COUNT(*) FROM produtos p LEFT JOIN unidades u ON u.codigo = p.unidade "
       "WHERE IFNULL(p.descricao, '') = '' OR p.familia IS NULL OR (u.codigo IS NOT NULL AND "
       "(IFNULL(u.descricao, '') = '' OR LENGTH(u.descricao) > 20))"},
      {"receipts settle existing invoices and credit notes that are not annulled",
       "SELECT COUNT(*) FROM compensacoes c WHERE c.RC IS NOT NULL AND ((c.FA IS NULL) = (c.NC IS NULL) "
       "OR NOT EXISTS (SELECT 1 FROM documentos d WHERE d.doc = IIF(c.FA IS NULL, 'NC', 'FA') AND "
       "d.numero = IFNULL(c.FA, c.NC) AND d.anulado = 0 AND d.data <= c.data) "
       "OR NOT EXISTS (SELECT 1 FROM documentos r WHERE r.doc = 'RC' AND r.numero = c.RC))"},
      {"credit notes are settled with a negative amount, invoices with a positive one",
       "SELECT COUNT(*) FROM compensacoes WHERE RC IS NOT NULL AND ((FA IS NOT NULL AND valor <= 0) OR "
       "(NC IS NOT NULL AND valor >= 0))"},
      {"consultations link to one existing sale of their day",
       "SELECT COUNT(*) FROM compensacoes c WHERE c.CM IS NOT NULL AND (c.RC IS NOT NULL OR "
       "(c.TK IS NOT NULL) + (c.VD IS NOT NULL) + (c.FA IS NOT NULL) + (c.FS IS NOT NULL) + "
       "(c.FT IS NOT NULL) <> 1 OR NOT EXISTS (SELECT 1 FROM documentos d WHERE d.doc = 'CM' AND "
       "d.numero = c.CM AND d.anulado = 0 AND d.data = c.data) OR NOT EXISTS (SELECT 1 FROM "
       "documentos s WHERE s.data = c.data AND ((s.doc = 'TK' AND s.numero = c.TK) OR (s.doc = 'VD' "
       "AND s.numero = c.VD) OR (s.doc = 'FA' AND s.numero = c.FA) OR (s.doc = 'FS' AND s.numero = "
       "c.FS) OR (s.doc = 'FT' AND s.numero = c.FT))))"},
      {"signed numbers are unique",
       "SELECT COUNT(*) FROM (SELECT saftsign FROM documentos WHERE saftsign <> '' GROUP BY saftsign "
       "HAVING COUNT(*) > 1)"},
      {"signed numbers read 'prefix series/number' with the document's own number",
       "SELECT COUNT(*) FROM documentos WHERE saftsign <> '' AND saftsign NOT IN ("
       "IIF(doc = 'TK', 'TV', doc) || ' A/' || numero, IIF(doc = 'TK', 'TV', doc) || ' /' || numero)"},
      {"signatures are 172 characters with control 1 where the audit file signs, else neither",
       "SELECT COUNT(*) FROM documentos WHERE IIF(saftsign <> '' AND doc <> 'RC' AND pagamento <> 6, "
       "LENGTH(hash) <> 172 OR hashcontrol <> '1', hash <> '' OR hashcontrol <> '0')"},
      {"a receipt names the customer of every document it settles",
       "SELECT COUNT(*) FROM compensacoes c JOIN documentos r ON r.doc = 'RC' AND r.numero = c.RC "
       "JOIN documentos s ON s.doc = IIF(c.FA IS NULL, 'NC', 'FA') AND s.numero = IFNULL(c.FA, c.NC) "
       "WHERE s.cliente <> r.cliente"},
      {"a credit note is settled by one receipt at most, an annulled one aside",
       "SELECT COUNT(*) FROM (SELECT c.NC FROM compensacoes c JOIN documentos r ON r.doc = 'RC' AND "
       "r.numero = c.RC AND r.anulado = 0 WHERE c.NC IS NOT NULL GROUP BY c.NC HAVING COUNT(*) > 1)"},
      {"payment codes 1 to 6, never NULL",
       "SELECT COUNT(*) FROM documentos WHERE pagamento IS NULL OR pagamento NOT BETWEEN 1 AND 6"},
  };
  for (const Check& check : checks) {
    EXPECT_EQ(Scalar(file(), check.sql), 0) << check.what;
  }
}

// A valid Portuguese taxpayer number, checked here on its own terms.
bool IsValidTaxpayerNumber(std::string text) {
  std::erase(text, ' ');
  if (text.size() != 9 || std::string("12356789").find(text[0]) == std::string::npos) return false;
  int sum = 0;
  for (int i = 0; i < 8; ++i) sum += (text[static_cast<std::size_t>(i)] - '0') * (9 - i);
  int check = 11 - sum % 11;
  if (check >= 10) check = 0;
  return text[8] - '0' == check;
}

TEST_F(DemoDatabaseTest, TaxpayerNumbersAreValid) {
  SqliteStatement numbers = file().Prepare(
      "SELECT contribuinte FROM clientes WHERE IFNULL(contribuinte, '') <> '' UNION ALL "
      "SELECT contribuinte FROM fornecedores WHERE IFNULL(contribuinte, '') <> '' UNION ALL "
      "SELECT contribuinte FROM documentos WHERE IFNULL(contribuinte, '') <> ''",
      "taxpayer numbers");
  int seen = 0;
  while (numbers.Next()) {
    ++seen;
    EXPECT_TRUE(IsValidTaxpayerNumber(numbers.Text(0))) << numbers.Text(0);
    EXPECT_TRUE(IsValidNif(RemoveSpaces(numbers.Text(0)))) << numbers.Text(0);
  }
  EXPECT_GT(seen, 20);
  EXPECT_TRUE(IsValidTaxpayerNumber(Company().company_id));
  EXPECT_TRUE(IsValidNif(Company().company_id));
  EXPECT_EQ(NifWithCheckDigit("12345678"), "123456789");
  EXPECT_EQ(NifWithCheckDigit("50000000"), "500000000");
  EXPECT_EQ(NifWithCheckDigit("59999999"), "599999993");
}

TEST_F(DemoDatabaseTest, HoldsTheUsualMix) {
  EXPECT_EQ(Scalar(file(), "SELECT COUNT(*) FROM documentos"), kDocuments);
  EXPECT_EQ(s_summary.documents, kDocuments);
  for (const char* code : {"TK", "CM", "FA", "FS", "VD", "FT", "NC", "RC"}) {
    EXPECT_GT(s_summary.documents_by_code[code], 0) << code;
    EXPECT_EQ(Scalar(file(), std::string("SELECT COUNT(*) FROM documentos WHERE doc = '") + code + "'"),
              s_summary.documents_by_code[code])
        << code;
  }
  // Tickets and table consultations first, receipts and credit notes last.
  std::int64_t tickets = s_summary.documents_by_code["TK"];
  std::int64_t consultations = s_summary.documents_by_code["CM"];
  for (const char* code : {"FA", "FS", "VD", "FT", "NC", "RC"}) {
    EXPECT_LT(s_summary.documents_by_code[code], std::min(tickets, consultations)) << code;
  }
  std::int64_t lines = Scalar(file(), "SELECT COUNT(*) FROM vendas");
  EXPECT_GT(lines, 2 * kDocuments);
  EXPECT_LT(lines, 4 * kDocuments);

  EXPECT_EQ(Scalar(file(), "SELECT MIN(major) >= 2011 AND COUNT(*) = 1 FROM versao"), 1);
  SqliteStatement rates = file().Prepare("SELECT GROUP_CONCAT(codigo, ',') FROM iva", "rates");
  ASSERT_TRUE(rates.Next());
  EXPECT_EQ(rates.Text(0), "0,6,13,23");

  const Check present[] = {
      {"withholding on invoices", "SELECT COUNT(*) FROM vendas WHERE codigo = -999 AND doc = 'FA'"},
      {"exempt lines with their own code",
       "SELECT COUNT(*) FROM vendas WHERE iva = 0 AND codigo <> -999 AND IFNULL(isencao, '') <> ''"},
      {"exempt lines relying on the product's code",
       "SELECT COUNT(*) FROM vendas WHERE iva = 0 AND codigo <> -999 AND IFNULL(isencao, '') = ''"},
      {"discounts", "SELECT COUNT(*) FROM vendas WHERE desconto <> 0"},
      {"quantities sold by weight", "SELECT COUNT(*) FROM vendas WHERE qtd <> ROUND(qtd)"},
      {"annulled documents", "SELECT COUNT(*) FROM documentos WHERE anulado = 1"},
      {"documents left out of the audit file", "SELECT COUNT(*) FROM documentos WHERE pagamento = 6"},
      {"invoices on credit", "SELECT COUNT(*) FROM documentos WHERE doc = 'FA' AND pagamento = 5"},
      {"taxpayer numbers without a customer (0)",
       "SELECT COUNT(*) FROM documentos WHERE cliente = 0 AND IFNULL(contribuinte, '') <> ''"},
      {"taxpayer numbers without a customer (1)",
       "SELECT COUNT(*) FROM documentos WHERE cliente = 1 AND IFNULL(contribuinte, '') <> ''"},
      {"taxpayer numbers typed with blanks", "SELECT COUNT(*) FROM documentos WHERE contribuinte LIKE '% %'"},
      {"customers without a taxpayer number",
       "SELECT COUNT(*) FROM clientes WHERE IFNULL(contribuinte, '') = ''"},
      {"two consultations closed by one sale",
       "SELECT COUNT(*) FROM (SELECT TK, FS, FA FROM compensacoes WHERE CM IS NOT NULL "
       "GROUP BY TK, FS, FA HAVING COUNT(*) > 1)"},
      {"receipts settling credit notes", "SELECT COUNT(*) FROM compensacoes WHERE RC IS NOT NULL AND NC IS NOT NULL"},
      {"receipts paying a refund back on their own",
       "SELECT COUNT(*) FROM documentos r WHERE r.doc = 'RC' AND r.total < 0 AND NOT EXISTS "
       "(SELECT 1 FROM compensacoes c WHERE c.RC = r.numero AND c.FA IS NOT NULL)"},
      {"receipts settling a refund's credit note with an invoice of another sale",
       "SELECT COUNT(*) FROM compensacoes f JOIN compensacoes n ON n.RC = f.RC AND n.NC IS NOT NULL "
       "WHERE f.FA IS NOT NULL AND NOT EXISTS (SELECT 1 FROM vendas v JOIN vendas w ON w.doc = 'NC' AND "
       "w.numero = n.NC AND w.codigo = v.codigo WHERE v.doc = 'FA' AND v.numero = f.FA)"},
      {"signed numbers without series letter", "SELECT COUNT(*) FROM documentos WHERE saftsign LIKE '% /%'"},
      {"unsigned documents", "SELECT COUNT(*) FROM documentos WHERE saftsign = ''"},
      {"products without a unit row",
       "SELECT COUNT(*) FROM produtos WHERE unidade IS NULL OR unidade NOT IN (SELECT codigo FROM unidades)"},
      {"a norm longer than the 60 characters the audit file keeps",
       "SELECT COUNT(*) FROM motivos_isencao WHERE LENGTH(norma) > 60"},
      {"Portuguese accents", "SELECT COUNT(*) FROM produtos WHERE descricao LIKE '%ã%' OR descricao LIKE '%ç%'"},
      {"letters outside Windows-1252",
       "SELECT (SELECT COUNT(*) FROM produtos WHERE descricao LIKE '%Ł%' OR descricao LIKE '%ş%') * "
       "(SELECT COUNT(*) FROM clientes WHERE nome LIKE '%ő%')"},
  };
  for (const Check& check : present) {
    EXPECT_GT(Scalar(file(), check.sql), 0) << check.what;
  }
}

// From 2013 on the counter's tickets and cash sales are simplified invoices
// and only the staff meals (left out of every audit file) stay tickets; every
// customer has a taxpayer number. Before 2013 (or asked for) the tickets stay.
TEST(DemoDatabase, APresentDayMonthWritesSimplifiedInvoices) {
  TempDir folder;
  DemoDatabaseOptions options = NovemberOptions(2016);
  options.legacy_tickets = false;
  const DemoDatabaseSummary summary = WriteDemoDatabase(folder / "today.db", options);
  SqliteFile today(folder / "today.db", SqliteFile::Mode::ReadOnly);
  EXPECT_EQ(Scalar(today, "SELECT COUNT(*) FROM documentos WHERE doc = 'VD'"), 0);
  EXPECT_EQ(Scalar(today, "SELECT COUNT(*) FROM documentos WHERE doc = 'TK' AND pagamento <> 6"), 0);
  EXPECT_GT(Scalar(today, "SELECT COUNT(*) FROM documentos WHERE doc = 'TK' AND pagamento = 6"), 0);
  EXPECT_GT(summary.documents_by_code.at("FS"), summary.documents_by_code.at("CM") / 2);
  EXPECT_EQ(Scalar(today, "SELECT COUNT(*) FROM compensacoes WHERE TK IS NOT NULL OR VD IS NOT NULL"), 0);
  EXPECT_GT(Scalar(today, "SELECT COUNT(*) FROM compensacoes WHERE CM IS NOT NULL AND FS IS NOT NULL"), 0);
  EXPECT_EQ(Scalar(today, "SELECT COUNT(*) FROM clientes WHERE IFNULL(contribuinte, '') = ''"), 0);
  EXPECT_EQ(Scalar(today, "SELECT COUNT(*) FROM documentos"), kDocuments);

  for (const bool legacy : {false, true}) {
    DemoDatabaseOptions before = options;
    before.period = {DayNumber({2012, 11, 1}), DayNumber({2012, 11, 30})};
    if (legacy) before.period = options.period;
    before.legacy_tickets = legacy;
    const auto path = folder / (legacy ? "legacy.db" : "2012.db");
    WriteDemoDatabase(path, before);
    SqliteFile file(path, SqliteFile::Mode::ReadOnly);
    EXPECT_GT(Scalar(file, "SELECT COUNT(*) FROM documentos WHERE doc = 'TK' AND pagamento <> 6"), 0);
    EXPECT_GT(Scalar(file, "SELECT COUNT(*) FROM documentos WHERE doc = 'VD'"), 0);
  }
}

}  // namespace
}  // namespace varnel::demo
