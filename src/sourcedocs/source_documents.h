// The three sections of SourceDocuments. Each offers countDocuments (asked by
// the run before SourceDocuments is written; leaves no query open) and its
// writer. The sections leave the run by ExportRun::abortExit when they find
// the abort flag inside a document; at a document boundary they end normally.
#pragma once

namespace varnel {

class ExportRun;

namespace sales_invoices {
int countDocuments(ExportRun& run);
// From the section's control totals to "</SalesInvoices>". The run has
// written "<SourceDocuments>", "<SalesInvoices>" and shown the stage text.
// Opens, and leaves open for the run's end to close, the compensation query,
// the document query and the working-documents query.
void Write(ExportRun& run);
}  // namespace sales_invoices

namespace working_documents {
int countDocuments(ExportRun& run);
// Binds the period and opens the working-documents query (called by the
// sales invoices' opening, after the document query is opened).
void OpenDocumentQuery(ExportRun& run);
// "<WorkingDocuments>" to "</WorkingDocuments>" at level 2.
void Write(ExportRun& run);
}  // namespace working_documents

namespace payments {
int countDocuments(ExportRun& run);
// "<Payments>" to "</Payments>" at level 2; writes nothing (and shows no
// stage) when the period has no receipt.
void Write(ExportRun& run);
}  // namespace payments

}  // namespace varnel
