// Placeholder section until the sales invoices are written: an empty frame.
#include "export/export_run.h"
#include "export/xml_line_writer.h"
#include "sourcedocs/source_documents.h"

namespace varnel::sales_invoices {

int countDocuments(ExportRun&) { return 0; }
void Write(ExportRun& run) {
  run.writer().Outdent();
  run.writer().WriteLine("</SalesInvoices>");
}

}  // namespace varnel::sales_invoices
