// The sample month, written with plain SQL through the fixture.
#include "reliability/support/sample_database.h"

#include <string>

namespace varnel::testing::reliability {

void FillSampleDatabase(TestDatabase& database, const SampleSize& size) {
  database.Exec(R"sql(
    INSERT INTO versao (major) VALUES (2016);
    INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1)
      VALUES (2, 'Ana & Filhos', '123456789', 'Rua A 1', 'Lisboa', '1000', '100'),
             (3, 'Bar O''Neill', '500100144', 'Rua <B>', 'Porto', '4000', '400'),
             (4, 'Café Três', NULL, NULL, NULL, NULL, NULL);
    INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1)
      VALUES (1, 'Frutas Lda', '503000000', 'Mercado', 'Lisboa', '100', '1000'),
             (2, 'Bebidas SA', '', '', '', '', '');
    INSERT INTO unidades (codigo, descricao) VALUES (1, 'UN'), (2, 'KG');
    INSERT INTO produtos (codigo, descricao, familia, unidade, isencao)
      VALUES (1, 'Bica', 1, 1, NULL), (2, 'Pão', 2, 2, 'M07'), (3, 'Água', 1, 1, NULL);
    INSERT INTO iva (codigo, descricao) VALUES (0, 'Isento'), (6, 'Reduzida'), (13, 'Intermédia'), (23, 'Normal');
    INSERT INTO motivos_isencao (codigo, norma) VALUES ('M07', 'Isento artigo 9.º do CIVA');
  )sql");
  auto day = [](int number) { return StoredDate(2016, 1, 1 + number % 28); };
  auto entry = [](int number) { return StoredDate(2016, 1, 1 + number % 28, 12, number % 60, 5); };
  for (int i = 1; i <= size.sales; ++i) {
    const char* doc = i % 2 == 1 ? "TK" : "FA";
    database.Exec(
        "INSERT INTO documentos (doc, numero, data, datahora, cliente, total, liquido, anulado, hash, "
        "hashcontrol, saftsign, emp, CashVATScheme, pagamento) VALUES (?, ?, ?, ?, ?, ?, ?, 0, 'aGFzaA==', '1', "
        "?, 'Caixa 1', 0, 0)",
        {doc, i, day(i), entry(i), i % 3 == 0 ? 2 : 1, 3.69, 3.0, std::string(doc) + " A/" + std::to_string(i)});
    database.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, data) "
                  "VALUES (?, ?, 1, 'Bica', 3, 1.23, 23, 3.69, 0, ?)",
                  {doc, i, day(i)});
    database.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, data) "
                  "VALUES (?, ?, 2, 'Pão', 1, 0.5, 0, 0.5, 0, ?)",
                  {doc, i, day(i)});
  }
  for (int i = 1; i <= size.consultations; ++i) {
    database.Exec(
        "INSERT INTO documentos (doc, numero, data, datahora, cliente, total, liquido, anulado, hash, "
        "hashcontrol, saftsign, emp, pagamento) VALUES ('CM', ?, ?, ?, 1, 2.46, 2.0, 0, 'c2lnbg==', '1', ?, "
        "'Mesa 4', 0)",
        {i, day(i), entry(i), "CM A/" + std::to_string(i)});
    database.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, data) "
                  "VALUES ('CM', ?, 3, 'Água', 2, 1.23, 23, 2.46, 0, ?)",
                  {i, day(i)});
    database.Exec("INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, desconto, data) "
                  "VALUES ('CM', ?, 2, 'Pão', 1, 0.5, 0, 0.5, 0, ?)",
                  {i, day(i)});
    if (i <= size.sales) {
      database.Exec("INSERT INTO compensacoes (TK, CM, valor, data) VALUES (?, ?, 2.46, ?)", {i, i, day(i)});
    }
  }
  for (int i = 1; i <= size.receipts; ++i) {
    database.Exec(
        "INSERT INTO documentos (doc, numero, data, datahora, cliente, total, anulado, saftsign, CashVATScheme, "
        "pagamento) VALUES ('RC', ?, ?, ?, 2, 3.69, 0, ?, 0, 0)",
        {i, day(i), entry(i), "RC A/" + std::to_string(i)});
    database.Exec("INSERT INTO compensacoes (RC, FA, valor, data) VALUES (?, 2, 3.69, ?)", {i, day(i)});
  }
  // Two documents that carry a taxpayer number but no customer.
  database.Exec(R"sql(
    INSERT INTO documentos (doc, numero, data, datahora, cliente, nome, morada, contribuinte, total, pagamento)
      VALUES ('VD', 901, '2015-12-31 00:00:00', '2015-12-31 10:00:00', 0, 'Rui', 'Rua C', '987654321', 1, 0),
             ('VD', 902, '2015-12-31 00:00:00', '2015-12-31 11:00:00', 1, 'Rui', 'Rua C', '987654321', 1, 0);
  )sql");
}

}  // namespace varnel::testing::reliability
