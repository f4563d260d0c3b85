// Text from the database can never break the audit file: characters whose
// best fit is markup are written as entities, bytes the code page leaves
// undefined as "?", and stored hashes and signed numbers are escaped.
#include <gtest/gtest.h>

#include "support/export_harness.h"

namespace varnel {
namespace {

using testing::TestDatabase;

TEST(MarkupSafety, BestFitMarkupAndUndefinedBytesGiveAWellFormedFile) {
  TestDatabase db;
  db.Exec("INSERT INTO versao VALUES (2011)");
  db.Exec("INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) "
          "VALUES (2, 'Caf\uFF06 \uFF1CBar\uFF1E', '123456789', 'Rua \u0081 Nova', '\u3008Lisboa\u3009', '1000', '100')");
  db.Exec("INSERT INTO unidades VALUES (1, 'Dose\uFF06meia')");
  db.Exec("INSERT INTO produtos (codigo, descricao, familia, unidade) VALUES (10, 'Bife\uFF06batatas', 1, 1)");
  db.Exec("INSERT INTO iva VALUES (23, 'Normal')");
  db.Exec("INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, hash, hashcontrol, saftsign, emp, pagamento) "
          "VALUES ('FT', 1, '2016-01-05 00:00:00', '2016-01-05 10:00:00', 2, 12.3, 0, '<!--', '1', 'FT A&B/1', '\uFF1C1\uFF1E', 1)");
  db.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, data) "
          "VALUES ('FT', 1, 10, 'Bife\uFF06batatas', 1, 12.3, 23, 12.3, 0, '2016-01-05 00:00:00')");
  const testing::ExportResult result = testing::RunExport(db);
  ASSERT_EQ(result.outcome, RunOutcome::Completed);
  EXPECT_EQ(testing::XmlLintErrors(db.folder() / "out.xml", false), "");
  for (const char* line : {"<CompanyName>Caf&amp; &lt;Bar&gt;</CompanyName>",
                           "<AddressDetail>Rua ? Nova</AddressDetail>",
                           "<City>&lt;Lisboa&gt;</City>",
                           "<ProductDescription>Bife&amp;batatas</ProductDescription>",
                           "<UnitOfMeasure>Dose&amp;meia</UnitOfMeasure>",
                           "<SourceID>&lt;1&gt;</SourceID>",
                           "<Hash>&lt;!--</Hash>",
                           "<InvoiceNo>FT A&amp;B/1</InvoiceNo>"}) {
    EXPECT_TRUE(result.HasLine(line)) << line;
  }
}

}  // namespace
}  // namespace varnel
