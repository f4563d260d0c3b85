// The Invoice header. InvoiceNo is the stored signed number when it has the
// shape of one, otherwise the number built from prefix, series letter and
// numero; the Hash lines follow the signature rule of the run's generation.
// A customer code below 1 (none, or the final consumer) is written as 1.
#include "sourcedocs/invoice_header.h"

#include "base/date_time.h"
#include "section/section_context.h"
#include "sourcedocs/document_line.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "sourcedocs/document_numbering.h"
#include "sourcedocs/invoice_document.h"

namespace varnel {

void WriteInvoiceHeader(SectionContext& context, const InvoiceDocument& document) {
  XmlLineWriter& out = context.writer();
  const SeriesIndex series = context.series();
  const std::string source_id = XmlEscape(document.emp);
  const std::string entry_date = DateTimeText(document.datahora);

  WriteDocumentNumber(context, "InvoiceNo",
                      DocumentNumber(document.signed_number, document.type.number_prefix, series, document.numero));
  out.WriteBlock("DocumentStatus", [&] {
    out.WriteLine(document.anulado ? "<InvoiceStatus>A</InvoiceStatus>" : "<InvoiceStatus>N</InvoiceStatus>");
    out.WriteElement("InvoiceStatusDate", entry_date);
    out.WriteElement("SourceID", source_id);
    out.WriteLine("<SourceBilling>P</SourceBilling>");
  });
  WriteSignature(out, context.generation(), document.signed_number, series, document.hash, document.hashcontrol,
                 context.fileRules());
  out.WriteElement("Period", IntText(document.data.Month()));
  out.WriteElement("InvoiceDate", DateText(document.data));
  out.WriteElement("InvoiceType", XmlEscape(document.type.invoice_type));
  out.WriteBlock("SpecialRegimes", [&] {
    out.WriteLine("<SelfBillingIndicator>0</SelfBillingIndicator>");
    out.WriteElement("CashVATSchemeIndicator", IntText(document.cash_vat_scheme));
    out.WriteLine("<ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>");
  });
  out.WriteElement("SourceID", source_id);
  out.WriteElement("SystemEntryDate", entry_date);
  out.WriteElement("CustomerID", CustomerReference(document.cliente, document.cliente_text));
}

}  // namespace varnel
