// The content of a test database as text, to prove that a run changed
// nothing it should not: every table in name order with its columns, and
// its rows in rowid order, each value as its storage class and its bytes in
// hex, so two dumps are equal exactly when the tables are.
#pragma once

#include <cstdint>
#include <string>

#include "support/test_database.h"

namespace varnel::testing::reliability {

// Every table, schema included.
std::string DumpDatabase(TestDatabase& database);

// The same without what the pre-export maintenance may change: customers
// whose code is above highest_customer_before, the documents' cliente
// column, and the columns it adds when they are missing (FS and FT of
// compensacoes, saftsign of documentos). A table dropped by a test can be
// left out by name.
std::string DumpBeyondMaintenance(TestDatabase& database, std::int64_t highest_customer_before,
                                  const std::string& except_table = "");

}  // namespace varnel::testing::reliability
