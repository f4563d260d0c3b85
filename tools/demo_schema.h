// The frame of a demo database: the embedded Korvel schema in a new file,
// written with the journal in memory and no waiting for the disk (as suits a
// new file that is kept only once it is complete), and the versao row that
// says which point-of-sale version the tables are from.
#pragma once

#include "tools/sqlite_file.h"

namespace varnel::demo {

// Pragmas and the schema script, before the transaction that fills the file.
void CreateDemoSchema(tools::SqliteFile& file);

// The versao row of the current schema (inside the transaction).
void WriteSchemaVersion(tools::SqliteFile& file);

}  // namespace varnel::demo
