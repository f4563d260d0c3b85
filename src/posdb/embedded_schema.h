// The schema script of the embedded (SQLite) point-of-sale database: every
// table and column the exporter reads or writes, keyed and indexed as the
// point-of-sale product keeps them. Used by the demo generator and the tests.
#pragma once

namespace varnel {

extern const char* const kEmbeddedSchemaSql;

}  // namespace varnel
