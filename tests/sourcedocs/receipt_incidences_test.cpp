// The receipt VAT incidences over a real point-of-sale database: each
// document's per-rate rows scaled by the part settled, the last rate taking
// the rounding's remainder when the rates add up to the document's total,
// and the amount looked up by invoice or credit note.
#include "sourcedocs/receipt_incidences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "posdb/pos_database.h"
#include "support/test_database.h"

namespace varnel {
namespace {

using testing::StoredDate;
using testing::TestDatabase;

// (Taxa, Incidencia, Total) as texts, for exact comparison.
using Row = std::tuple<int, std::string, std::string>;

std::vector<Row> Rows(const TIncidencias& incidences) {
  std::vector<Row> rows;
  for (const TIncidencia& i : incidences) rows.emplace_back(i.Taxa, CurrText(i.Incidencia), CurrText(i.Total));
  return rows;
}

std::vector<Row> Sorted(std::vector<Row> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

void AddDocument(TestDatabase& db, const char* doc, int numero, double total, int anulado = 0,
                 const std::string& data = StoredDate(2016, 1, 10)) {
  db.Exec("INSERT INTO documentos (doc, numero, data, datahora, total, anulado) VALUES (?, ?, ?, ?, ?, ?)",
          {doc, numero, data, data, total, anulado});
}

void AddSale(TestDatabase& db, const char* doc, int numero, int iva, double valor, double total,
             const char* isencao = nullptr, int codigo = 1) {
  db.Exec("INSERT INTO vendas (doc, numero, codigo, iva, valor, total, isencao) VALUES (?, ?, ?, ?, ?, ?, ?)",
          {doc, numero, codigo, iva, valor, total,
           isencao == nullptr ? testing::SqlValue(nullptr) : testing::SqlValue(isencao)});
}

void AddSettlement(TestDatabase& db, int rc, int fa, int nc, double valor,
                   const std::string& data = StoredDate(2016, 1, 15)) {
  db.Exec("INSERT INTO compensacoes (RC, FA, NC, valor, data) VALUES (?, ?, ?, ?, ?)",
          {rc, fa == 0 ? testing::SqlValue(nullptr) : testing::SqlValue(fa),
           nc == 0 ? testing::SqlValue(nullptr) : testing::SqlValue(nc), valor, data});
}

class ReceiptIncidencesTest : public ::testing::Test {
 protected:
  TestDatabase db;
};

TEST_F(ReceiptIncidencesTest, AmountSettledScalesEachRate) {
  // Half of an invoice of 100.00 whose 23 % lines hold 81.30 net.
  AddDocument(db, "FA", 1, 100.00);
  AddSale(db, "FA", 1, 23, 81.30, 100.00);
  AddSettlement(db, 1, 1, 0, 50.00);
  // 10.00 of a document of 30.00.
  AddDocument(db, "FA", 2, 30.00);
  AddSale(db, "FA", 2, 23, 24.39, 30.00);
  AddSettlement(db, 2, 2, 0, 10.00);
  // Half of 0.0001 and of 0.0003: ties to even (the rates do not add up to
  // the total, so nothing is adjusted).
  AddDocument(db, "FA", 3, 2.00);
  AddSale(db, "FA", 3, 6, 0.0001, 0.0001);
  AddSale(db, "FA", 3, 13, 0.0003, 0.0003);
  AddSettlement(db, 3, 3, 0, 1.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(1, "FA", 1)), (std::vector<Row>{{23, "40.65", "50"}}));
  EXPECT_EQ(Rows(calculator.ReceiptIncidences(1)), (std::vector<Row>{{23, "40.65", "50"}}));
  // 10 of 30 is a third of each sum, not a share rounded to 0.3333 first.
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(2, "FA", 2)), (std::vector<Row>{{23, "8.13", "10"}}));
  EXPECT_EQ(Sorted(Rows(calculator.SettledDocumentIncidences(3, "FA", 3))),
            (std::vector<Row>{{6, "0", "0"}, {13, "0.0002", "0.0002"}}));
}

Currency TotalOf(const TIncidencias& incidences) {
  Currency sum;
  for (const TIncidencia& i : incidences) sum += i.Total;
  return sum;
}

TEST_F(ReceiptIncidencesTest, SettledDocumentsAddUpToTheAmountsSettled) {
  // 52.00 of an invoice of 103.00 at two rates.
  AddDocument(db, "FA", 1, 103.00);
  AddSale(db, "FA", 1, 13, 36.7257, 41.50);
  AddSale(db, "FA", 1, 23, 50.00, 61.50);
  AddSettlement(db, 1, 1, 0, 52.00);
  // One receipt, three documents at three rates: thirds that round up, thirds
  // that round down, and a credit note.
  AddDocument(db, "FA", 2, 30.00);
  AddSale(db, "FA", 2, 6, 9.434, 10.00);
  AddSale(db, "FA", 2, 13, 8.8496, 10.00);
  AddSale(db, "FA", 2, 23, 8.1301, 10.00);
  AddDocument(db, "FA", 3, 3.00);
  AddSale(db, "FA", 3, 6, 0.9434, 1.00);
  AddSale(db, "FA", 3, 13, 0.885, 1.00);
  AddSale(db, "FA", 3, 23, 0.813, 1.00);
  AddDocument(db, "NC", 1, -3.00);
  AddSale(db, "NC", 1, 23, -2.439, -3.00);
  AddSettlement(db, 2, 2, 0, 10.00);
  AddSettlement(db, 2, 3, 0, 2.00);
  AddSettlement(db, 2, 0, 1, -1.00);

  ReceiptIncidenceCalculator calculator(db.database());
  // 61.50 x 52 / 103 = 31.048543... -> 31.0485; 41.50 x 52 / 103 = 20.951456...
  // -> 20.9515: together 52 with or without the remainder.
  EXPECT_EQ(Sorted(Rows(calculator.ReceiptIncidences(1))),
            (std::vector<Row>{{13, "18.5411", "20.9515"}, {23, "25.2427", "31.0485"}}));
  // A third of 10.00 is 3.3333 three times; the last takes 3.3334. Two
  // thirds of 1.00 are 0.6667 three times; the last takes 0.6666.
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(2, "FA", 2)),
            (std::vector<Row>{{6, "3.1447", "3.3333"}, {13, "2.9499", "3.3333"}, {23, "2.71", "3.3334"}}));
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(2, "FA", 3)),
            (std::vector<Row>{{6, "0.6289", "0.6667"}, {13, "0.59", "0.6667"}, {23, "0.542", "0.6666"}}));
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(2, "NC", 1)), (std::vector<Row>{{23, "-0.813", "-1"}}));
  EXPECT_EQ(TotalOf(calculator.ReceiptIncidences(2)), Currency::FromInteger(11));
}

TEST_F(ReceiptIncidencesTest, ADocumentWhoseLinesMissItsTotalIsNotAdjusted) {
  // The lines add up to 29.99 against a stored 30.00: a third of each.
  AddDocument(db, "FA", 4, 30.00);
  AddSale(db, "FA", 4, 6, 9.434, 10.00);
  AddSale(db, "FA", 4, 13, 8.8496, 10.00);
  AddSale(db, "FA", 4, 23, 8.1220, 9.99);
  AddSettlement(db, 4, 4, 0, 10.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Rows(calculator.ReceiptIncidences(4)),
            (std::vector<Row>{{6, "3.1447", "3.3333"}, {13, "2.9499", "3.3333"}, {23, "2.7073", "3.33"}}));
  EXPECT_EQ(TotalOf(calculator.SettledDocumentIncidences(4, "FA", 4)), Currency::FromRaw(99966));
}

TEST_F(ReceiptIncidencesTest, RowsPerRateAndExemptionCode) {
  AddDocument(db, "FA", 7, 100.00);
  AddSale(db, "FA", 7, 0, 10.00, 10.00, "M01");
  AddSale(db, "FA", 7, 0, 20.00, 20.00, "M02");
  AddSale(db, "FA", 7, 0, 5.00, 5.00, "M02");  // same rate and code: summed
  AddSale(db, "FA", 7, 6, 15.00, 15.90);
  AddSale(db, "FA", 7, 23, 40.00, 49.20);
  AddSale(db, "FA", 7, 23, -2.00, -2.00, nullptr, -999);  // withholding lines count too
  AddSettlement(db, 7, 7, 0, 100.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Sorted(Rows(calculator.ReceiptIncidences(7))),
            (std::vector<Row>{{0, "10", "10"}, {0, "25", "25"}, {6, "15", "15.9"}, {23, "38", "47.2"}}));
}

TEST_F(ReceiptIncidencesTest, ZeroTotalsMissingDocumentsAndBothCodes) {
  // A document total of 0: share 0, no division, every rate row still there.
  AddDocument(db, "FA", 4, 0.0);
  AddSale(db, "FA", 4, 23, 8.13, 10.00);
  AddSale(db, "FA", 4, 6, 9.43, 10.00);
  AddSettlement(db, 4, 4, 0, 10.00);
  // A row naming an invoice and a credit note settles the invoice.
  AddDocument(db, "FA", 5, 10.00);
  AddSale(db, "FA", 5, 23, 8.13, 10.00);
  AddDocument(db, "NC", 5, -10.00);
  AddSale(db, "NC", 5, 13, -8.85, -10.00);
  AddSettlement(db, 5, 5, 5, 10.00);
  // A settled document that documentos does not hold: share 0.
  AddSale(db, "FA", 99, 23, 8.13, 10.00);
  AddSettlement(db, 9, 99, 0, 10.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Sorted(Rows(calculator.ReceiptIncidences(4))), (std::vector<Row>{{6, "0", "0"}, {23, "0", "0"}}));
  EXPECT_EQ(Rows(calculator.ReceiptIncidences(5)), (std::vector<Row>{{23, "8.13", "10"}}));
  EXPECT_EQ(Rows(calculator.ReceiptIncidences(9)), (std::vector<Row>{{23, "0", "0"}}));
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(9, "FA", 99)), (std::vector<Row>{{23, "0", "0"}}));
  EXPECT_TRUE(calculator.ReceiptIncidences(42).empty());  // no settlement rows
}

TEST_F(ReceiptIncidencesTest, AmountLookedUpByInvoiceOrCreditNote) {
  AddDocument(db, "FA", 6, 10.00);
  AddSale(db, "FA", 6, 23, 8.13, 10.00);
  AddDocument(db, "NC", 6, -10.00);
  AddSale(db, "NC", 6, 23, -8.13, -10.00);
  AddSettlement(db, 6, 6, 0, 10.00);
  AddSettlement(db, 6, 0, 6, -5.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(6, "FA", 6)), (std::vector<Row>{{23, "8.13", "10"}}));
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(6, "NC", 6)), (std::vector<Row>{{23, "-4.065", "-5"}}));
  // Not settled by this receipt: amount 0, share 0.
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(7, "FA", 6)), (std::vector<Row>{{23, "0", "0"}}));
}

}  // namespace
}  // namespace varnel
