// The receipt VAT incidences over a real point-of-sale database: the settled
// share of each document, its per-rate rows scaled by it, the amount looked
// up by invoice or credit note, and the period totals with their filters.
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

TEST_F(ReceiptIncidencesTest, SettledShareScalesEachRate) {
  // Half of an invoice of 100.00 whose 23 % lines hold 81.30 net.
  AddDocument(db, "FA", 1, 100.00);
  AddSale(db, "FA", 1, 23, 81.30, 100.00);
  AddSettlement(db, 1, 1, 0, 50.00);
  // 10.00 of a document of 30.00: share 3333.
  AddDocument(db, "FA", 2, 30.00);
  AddSale(db, "FA", 2, 23, 24.39, 30.00);
  AddSettlement(db, 2, 2, 0, 10.00);
  // Share 5000 on 0.0001 and 0.0003: ties to even.
  AddDocument(db, "FA", 3, 2.00);
  AddSale(db, "FA", 3, 6, 0.0001, 0.0001);
  AddSale(db, "FA", 3, 13, 0.0003, 0.0003);
  AddSettlement(db, 3, 3, 0, 1.00);

  ReceiptIncidenceCalculator calculator(db.database());
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(1, "FA", 1)), (std::vector<Row>{{23, "40.65", "50"}}));
  EXPECT_EQ(Rows(calculator.ReceiptIncidences(1)), (std::vector<Row>{{23, "40.65", "50"}}));
  EXPECT_EQ(Rows(calculator.SettledDocumentIncidences(2, "FA", 2)), (std::vector<Row>{{23, "8.1292", "9.999"}}));
  EXPECT_EQ(Sorted(Rows(calculator.SettledDocumentIncidences(3, "FA", 3))),
            (std::vector<Row>{{6, "0", "0"}, {13, "0.0002", "0.0002"}}));
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
