// The repairs made to the point-of-sale database before every export: every
// document that carries a taxpayer number but no customer gets a real
// customer (found by number or created), and the schema gains the columns the
// current queries read (FS and FT of compensacoes, saftsign of documentos).
// A failure of the customer repair propagates; failures of the two schema
// statements (typically: the column exists) are swallowed.
#pragma once

namespace varnel {

class PosDatabase;

void RunPreExportMaintenance(PosDatabase& database);

}  // namespace varnel
