// The repairs made to the point-of-sale database before every export: every
// document that carries a taxpayer number but no customer gets a real
// customer (found by number or created), and the schema gains the columns the
// current queries read (FS and FT of compensacoes, saftsign of documentos).
// A failure of the customer repair propagates; failures of the two schema
// statements (typically: the column exists) are swallowed.
//
// On the embedded database the repairs are committed kRepairsPerCommit
// documents at a time, each batch whole or rolled back; elsewhere every
// statement commits on its own. Either way a failure keeps the repairs
// committed before it and leaves the rest for the next export.
#pragma once

#include <functional>

namespace varnel {

class PosDatabase;

inline constexpr int kRepairsPerCommit = 500;

// Called with (0, total) before the first repair and after every batch of
// kRepairsPerCommit documents (and the last, shorter one), outside any
// transaction; never called when no document needs repair.
using MaintenanceProgress = std::function<void(int repaired, int total)>;

void RunPreExportMaintenance(PosDatabase& database, const MaintenanceProgress& progress = {});

}  // namespace varnel
