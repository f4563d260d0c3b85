// The previous link of each signature chain the export's file starts: per
// document code of the period, the signed document just before the first one
// the file lists, whatever its date, read from the database with its own
// query. Keyed by the series its number shows as the file writes it ("FT A"),
// so the verification checks the first document of each series against it;
// a series it does not name has no signed document before the period.
#pragma once

#include <map>
#include <string>

#include "section/export_request.h"
#include "section/schema_generation.h"
#include "verify/signature_chain.h"

namespace varnel {

class PosDatabase;

// Empty for the Legacy generation, whose files carry no signatures. A
// database failure raises its error.
std::map<std::string, verify::PreviousSignature> PreviousSignatures(PosDatabase& database,
                                                                    const ExportRequest& request,
                                                                    SchemaGeneration generation);

}  // namespace varnel
