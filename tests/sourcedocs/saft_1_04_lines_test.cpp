// What a 1.04_01 export writes differently on documents and lines: the
// TaxExemptionCode from each of its sources (the line's code, the product's
// code, the rules by code or by norm, none), descriptions completed to two
// characters, HashControl on every document, the ATCUD after the number;
// and that a 1.03_01 export of the same rows writes none of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sourcedocs/sales_export.h"

namespace varnel::testing {
namespace {

ExportRequest Request104() {
  ExportRequest request = DefaultRequest();
  request.saftVersion = SaftVersion::k1_04_01;
  request.exemptionCodes = WithOverrides(DefaultExemptionCodeRules(), {{"ISX", "M30"}});
  request.atcudCodes = {{"VD", "A", "VDCODE001"}};
  return request;
}

TEST(Saft104Lines, ExemptionCodeFromEachSource) {
  TestDatabase db;
  SetVersion(db, 2016);
  db.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES ('M16', 'Artigo 14.º do RITI'),"
          " ('M10', 'Artigo 53.º do CIVA'),"
          " ('M07L', 'Isento nos termos da alínea 10) do artigo 9.º do Código do IVA'),"
          " ('ISX', 'Regime especial de exportação'), ('ZZ', 'Norma desconhecida do programa')");
  db.Exec("INSERT INTO produtos (codigo, descricao, isencao) VALUES (200, 'a', 'M10')");
  Insert(db, DocumentRow{.doc = "VD", .numero = 1});
  for (const char* isencao : {"M16", "", "M07L", "ISX", "ZZ"}) {
    Insert(db, SaleLine{.doc = "VD", .numero = 1, .codigo = 200, .iva = 0, .total = 1, .isencao = isencao});
  }
  const std::string invoice = Invoices(RunExport(db, Request104())).at(0);
  EXPECT_EQ(Values(invoice, "TaxExemptionReason").size(), 5u);
  EXPECT_EQ(Values(invoice, "TaxExemptionCode"),
            (std::vector<std::string>{"M16",     // the line's code has the form
                                      "M10",     // the product's code has it
                                      "M07",     // the norm holds "artigo 9" (shipped rule)
                                      "M30"}));  // Isencoes maps the code; "ZZ" maps to nothing
  // Each code right after its reason.
  EXPECT_NE(invoice.find("Artigo 14.º do RITI</TaxExemptionReason>\n          <TaxExemptionCode>M16<"),
            std::string::npos);
  EXPECT_NE(invoice.find("Norma desconhecida do programa</TaxExemptionReason>\n        </Line>"), std::string::npos);

  const std::string invoice_103 = Invoices(RunExport(db, DefaultRequest())).at(0);
  EXPECT_EQ(Values(invoice_103, "TaxExemptionReason").size(), 5u);
  EXPECT_TRUE(Values(invoice_103, "TaxExemptionCode").empty());
}

TEST(Saft104Lines, NumberAtcudSignatureAndDescriptions) {
  TestDatabase db;
  SetVersion(db, 2016);
  Insert(db, DocumentRow{.doc = "VD", .numero = 7});
  Insert(db, DocumentRow{.doc = "FS", .numero = 3, .hash = "abc", .hashcontrol = "1", .saftsign = "FS A/3"});
  Insert(db, SaleLine{.doc = "VD", .numero = 7, .descricao = "X"});
  Insert(db, SaleLine{.doc = "FS", .numero = 3, .descricao = "Pão"});
  ExportRequest request = Request104();
  request.fserienum = SeriesIndex(1);
  const std::vector<std::string> invoices = Invoices(RunExport(db, request));
  ASSERT_EQ(invoices.size(), 2u);
  const std::string& fs = invoices[0].find("FS A/3") != std::string::npos ? invoices[0] : invoices[1];
  const std::string& vd = invoices[0].find("FS A/3") != std::string::npos ? invoices[1] : invoices[0];
  EXPECT_NE(vd.find("<InvoiceNo>VD A/7</InvoiceNo>\n        <ATCUD>VDCODE001-7</ATCUD>\n"), std::string::npos);
  EXPECT_NE(fs.find("<InvoiceNo>FS A/3</InvoiceNo>\n        <ATCUD>0</ATCUD>\n"), std::string::npos);  // no code
  EXPECT_EQ(Values(vd, "Hash"), std::vector<std::string>{"0"});
  EXPECT_EQ(Values(vd, "HashControl"), std::vector<std::string>{"0"});
  EXPECT_EQ(Values(fs, "HashControl"), std::vector<std::string>{"1"});
  EXPECT_EQ(Values(vd, "ProductDescription"), std::vector<std::string>{"X."});
  EXPECT_EQ(Values(vd, "Description"), std::vector<std::string>{"X."});
  EXPECT_EQ(Values(fs, "ProductDescription"), std::vector<std::string>{"Pão"});

  request.saftVersion = SaftVersion::k1_03_01;
  const std::vector<std::string> old = Invoices(RunExport(db, request));
  for (const std::string& invoice : old) {
    EXPECT_EQ(invoice.find("<ATCUD>"), std::string::npos);
    EXPECT_EQ(invoice.find("X.<"), std::string::npos);
  }
}

}  // namespace
}  // namespace varnel::testing
