// The finished audit file against the database it came from: for the
// period, the documents per type that the database holds and the file should
// list, against those the file lists, and every document of the period that
// the file leaves out, with the rule that left it out. No validator can make
// this comparison; with it the program can say that nothing was lost, or
// show what changed in the database while the file was written.
#pragma once

#include <vector>

#include "section/export_request.h"
#include "section/schema_generation.h"
#include "verify/audit_file_verifier.h"

namespace varnel {

class PosDatabase;

// Findings of the comparison (section "Base de dados"): an error per type
// whose counts differ, a note per rule that left documents out (with the
// first numbers), and a note that every document is accounted for.
std::vector<Finding> ReconcileWithDatabase(PosDatabase& database, const ExportRequest& request,
                                           SchemaGeneration generation, const VerificationSummary& file);

}  // namespace varnel
