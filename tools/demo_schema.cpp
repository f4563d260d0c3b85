// The schema and the versao row of a demo database. The tables are those of
// the embedded schema the exporter itself knows, so the demo always matches
// the program that reads it; versao names the current point-of-sale version.
#include "tools/demo_schema.h"

#include "posdb/embedded_schema.h"

namespace varnel::demo {

namespace {

constexpr int kCurrentSchemaMajor = 2016;

}  // namespace

void CreateDemoSchema(tools::SqliteFile& file) {
  file.ExecuteScript("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;", "pragmas");
  file.ExecuteScript(kEmbeddedSchemaSql, "schema");
}

void WriteSchemaVersion(tools::SqliteFile& file) {
  tools::SqliteStatement version =
      file.Prepare("INSERT INTO versao (major) VALUES (?1)", "insert versao");
  version.BindInteger(1, kCurrentSchemaMajor);
  version.Execute();
}

}  // namespace varnel::demo
