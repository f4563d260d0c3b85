// Control totals written before the documents they add up.
#include "sourcedocs/control_totals.h"

#include "base/value_routines.h"
#include "base/xml_line_writer.h"

namespace varnel {

void HoldDocuments(XmlLineWriter& out) { out.BeginAside(); }

void PutTotalsBeforeDocuments(XmlLineWriter& out, const ControlTotals& totals) {
  out.EndAside();
  out.WriteElement("NumberOfEntries", IntText(totals.entries));
  out.WriteElement("TotalDebit", CurrText(totals.debit));
  out.WriteElement("TotalCredit", CurrText(totals.credit));
  out.PutAside();
}

void PutTotalsAfterFailure(XmlLineWriter& out, const ControlTotals& totals) noexcept {
  try {
    PutTotalsBeforeDocuments(out, totals);
  } catch (...) {
    // The failure that ended the section is the one to report; the writer's
    // close still puts in whatever was held.
  }
}

}  // namespace varnel
