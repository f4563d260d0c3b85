// The fixed master data of a demo database: VAT rates (iva), exemption norms
// (motivos_isencao), units (unidades), products (produtos) and suppliers
// (fornecedores), written from the restaurant's catalogue in its order. No
// chance is involved, so these tables are the same for every option set;
// customers, which grow with the database, are written by DemoCustomers.
#pragma once

#include "tools/demo_database.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {

// Writes the five tables; counts products and suppliers into summary.
void WriteFixedMasterData(tools::SqliteFile& file, DemoDatabaseSummary& summary);

}  // namespace varnel::demo
