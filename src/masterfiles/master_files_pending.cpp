// Placeholder lists until the master-file lists are written: the run still
// writes a well-formed MasterFiles frame (an empty TaxTable).
#include "export/export_run.h"
#include "export/xml_line_writer.h"
#include "masterfiles/master_files.h"

namespace varnel {

void WriteCustomers(ExportRun&) {}
void WriteSuppliers(ExportRun&) {}
void WriteProducts(ExportRun&) {}
void WriteTaxTable(ExportRun& run) {
  run.writer().WriteLine("<TaxTable>");
  run.writer().WriteLine("</TaxTable>");
}

}  // namespace varnel
