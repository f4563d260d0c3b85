// The four lists of the MasterFiles section. Each writes its fixed element,
// then one element per database row, testing the run's abort flag before
// every row (the first included), and closes its query on both paths. The run
// writes "<MasterFiles>"/"</MasterFiles>" and takes the abort exit after a
// list that found the flag set.
#pragma once

namespace varnel {

class ExportRun;

// Level 2 in, level 2 out.
void WriteCustomers(ExportRun& run);
void WriteSuppliers(ExportRun& run);
// Only for the "Normal" SAF-T type (the run decides).
void WriteProducts(ExportRun& run);
// Level 2 in; level 2 out with "</TaxTable>" written, or level 3 with the
// TaxTable left open when the abort flag stopped the loop.
void WriteTaxTable(ExportRun& run);

}  // namespace varnel
