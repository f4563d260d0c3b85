// The control totals of the three document sections, made from the lines
// the section writes, so they equal what anyone recomputes from the file:
// NumberOfEntries counts every document written; TotalDebit and TotalCredit
// add the DebitAmount and CreditAmount of every line of the documents that
// are not annulled. The totals stand before the documents in the file, so
// the documents are written aside while they add up, and put in after the
// totals (XmlLineWriter's aside: a file beside the output, memory stays flat).
#pragma once

#include "base/currency.h"

namespace varnel {

class XmlLineWriter;

// What the lines of one document wrote.
struct LineSums {
  Currency debit;
  Currency credit;
};

struct ControlTotals {
  int entries = 0;
  Currency debit;
  Currency credit;

  // One document written; its lines count unless it is annulled.
  void AddDocument(const LineSums& lines, bool annulled) {
    ++entries;
    if (annulled) return;
    debit += lines.debit;
    credit += lines.credit;
  }
};

// Runs documents() with its lines held aside, then writes NumberOfEntries,
// TotalDebit and TotalCredit and puts the held documents after them. When
// documents() leaves by an exception (the abort exit, an error), the totals
// of what it wrote are written all the same, before it, and the exception
// goes on.
template <typename Documents>
void WriteTotalledDocuments(XmlLineWriter& out, const ControlTotals& totals, Documents&& documents);

// The three totals lines and the held documents (used by the template).
void PutTotalsBeforeDocuments(XmlLineWriter& out, const ControlTotals& totals);
void PutTotalsAfterFailure(XmlLineWriter& out, const ControlTotals& totals) noexcept;
void HoldDocuments(XmlLineWriter& out);

template <typename Documents>
void WriteTotalledDocuments(XmlLineWriter& out, const ControlTotals& totals, Documents&& documents) {
  HoldDocuments(out);
  try {
    documents();
  } catch (...) {
    PutTotalsAfterFailure(out, totals);
    throw;
  }
  PutTotalsBeforeDocuments(out, totals);
}

}  // namespace varnel
