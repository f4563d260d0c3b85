// Placeholder section until the working documents are written: an empty frame.
#include "export/export_run.h"
#include "export/xml_line_writer.h"
#include "sourcedocs/source_documents.h"

namespace varnel::working_documents {

int countDocuments(ExportRun&) { return 0; }
void OpenDocumentQuery(ExportRun&) {}
void Write(ExportRun& run) {
  run.writer().WriteLine("<WorkingDocuments>");
  run.writer().WriteLine("</WorkingDocuments>");
}

}  // namespace varnel::working_documents
