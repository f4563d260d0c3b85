// The finished audit file against the database it came from: for the
// period, the documents per type that the database holds and the file should
// list, against those the file lists; every document of the period that the
// file leaves out, with the rule that left it out; and every document's worth
// in the file against the database: a sale's or a table consultation's stored
// total, the sum of a receipt's settlement rows. No validator can make this
// comparison; with it the program can say that nothing was lost and every
// amount is the database's, or show what differs, for example what changed
// in the database while the file was written. It has its own queries and
// reads the file itself; it shares no computation with the export.
#pragma once

#include <filesystem>
#include <vector>

#include "section/export_request.h"
#include "section/schema_generation.h"
#include "verify/audit_file_verifier.h"

namespace varnel {

class PosDatabase;

// Findings of the comparison (section "Base de dados"): an error per type
// whose counts differ; a note per rule that left documents out (with the
// first numbers); an error per document whose worth in the file differs from
// the database's by more than half a cent, or that only one side holds (the
// first 50 of each, then one line with how many more); and the outcome: "Nada
// perdido" when every document is accounted for and worth what the database
// says, otherwise how many documents differ. audit_file is the file whose
// verification gave file.
std::vector<Finding> ReconcileWithDatabase(PosDatabase& database, const ExportRequest& request,
                                           SchemaGeneration generation, const VerificationSummary& file,
                                           const std::filesystem::path& audit_file);

}  // namespace varnel
