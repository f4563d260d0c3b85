// The first lines of every audit file: the XML declaration, the comment that
// names the exporting program, the AuditFile root and the Header element.
// While writing it the run reads versao and decides the SchemaGeneration.
#pragma once

#include "section/schema_generation.h"

namespace varnel {

class ExportRun;

// Writes from an empty indentation to "</Header>" at level 1 and returns the
// generation of the database.
SchemaGeneration WriteHeader(ExportRun& run);

}  // namespace varnel
