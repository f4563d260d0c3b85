// The elements of an Invoice that come before its lines: number, status,
// signature, period and dates, type, special regimes, source and customer.
// Every text taken from the database is escaped; nothing here is cut.
#pragma once

namespace varnel {

class SectionContext;
struct InvoiceDocument;

// Writes from "<InvoiceNo>" to "<CustomerID>" at the writer's level (one
// inside "<Invoice>").
void WriteInvoiceHeader(SectionContext& context, const InvoiceDocument& document);

}  // namespace varnel
