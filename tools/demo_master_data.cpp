// Writes the catalogue's VAT rates, exemption norms, units, products and
// suppliers. A product without a unit or an exemption code, and a supplier
// without a taxpayer number, get NULL in that column, as the point of sale
// leaves it; a supplier's taxpayer number carries its check digit.
#include "tools/demo_master_data.h"

#include <span>
#include <string>

#include "tools/demo_catalogue.h"

namespace varnel::demo {

namespace {

using tools::SqliteFile;
using tools::SqliteStatement;

// Rows of (codigo, descricao): the VAT rates and the units.
template <typename Entry>
void WriteCodeTable(SqliteFile& file, const std::string& table, std::span<const Entry> entries,
                    int Entry::*code) {
  SqliteStatement insert = file.Prepare(
      "INSERT INTO " + table + " (codigo, descricao) VALUES (?1, ?2)", "insert " + table);
  for (const Entry& entry : entries) {
    insert.BindInteger(1, entry.*code);
    insert.BindText(2, entry.description);
    insert.Execute();
  }
}

void WriteExemptions(SqliteFile& file) {
  SqliteStatement exemption = file.Prepare(
      "INSERT INTO motivos_isencao (codigo, norma) VALUES (?1, ?2)", "insert motivos_isencao");
  for (const DemoExemption& entry : Exemptions()) {
    exemption.BindText(1, entry.code);
    exemption.BindText(2, entry.norm);
    exemption.Execute();
  }
}

void WriteProducts(SqliteFile& file, DemoDatabaseSummary& summary) {
  SqliteStatement product = file.Prepare(
      "INSERT INTO produtos (codigo, descricao, familia, unidade, isencao) "
      "VALUES (?1, ?2, ?3, ?4, ?5)",
      "insert produtos");
  for (const DemoProduct& entry : Products()) {
    product.BindInteger(1, entry.code);
    product.BindText(2, entry.description);
    product.BindInteger(3, entry.family);
    if (entry.unit == 0) {
      product.BindNull(4);
    } else {
      product.BindInteger(4, entry.unit);
    }
    product.BindTextOrNull(5, entry.exemption != nullptr ? entry.exemption : "");
    product.Execute();
    ++summary.products;
  }
}

void WriteSuppliers(SqliteFile& file, DemoDatabaseSummary& summary) {
  SqliteStatement supplier = file.Prepare(
      "INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, "
      "codpostal1) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
      "insert fornecedores");
  std::int64_t supplier_code = 0;
  for (const DemoSupplier& entry : Suppliers()) {
    const DemoTown& town = Towns()[static_cast<std::size_t>(entry.town)];
    supplier.BindInteger(1, ++supplier_code);
    supplier.BindText(2, entry.name);
    supplier.BindTextOrNull(3, entry.nif_base != nullptr ? NifWithCheckDigit(entry.nif_base) : "");
    supplier.BindText(4, entry.street);
    supplier.BindText(5, town.name);
    supplier.BindText(6, town.postal1);
    supplier.BindText(7, town.postal2);
    supplier.Execute();
    ++summary.suppliers;
  }
}

}  // namespace

void WriteFixedMasterData(SqliteFile& file, DemoDatabaseSummary& summary) {
  WriteCodeTable(file, "iva", VatRates(), &DemoVatRate::rate);
  WriteExemptions(file);
  WriteCodeTable(file, "unidades", Units(), &DemoUnit::code);
  WriteProducts(file, summary);
  WriteSuppliers(file, summary);
}

}  // namespace varnel::demo
