// The MasterFiles section and its four lists. Each list writes its fixed
// element, then one element per database row, testing the abort flag before
// every row (the first included), and closes its query on both paths. Each
// list owns its one query, opened and closed within the list.
#pragma once

namespace varnel {

class SectionContext;

// "<MasterFiles>" to "</MasterFiles>" at level 1, each list after its stage
// text; the products of the Resumido type are those the period sold. A list
// that found the abort flag set leads to the abort exit, with
// "</MasterFiles>" unwritten.
void WriteMasterFiles(SectionContext& context);

// Level 2 in, level 2 out.
void WriteCustomers(SectionContext& context);
void WriteSuppliers(SectionContext& context);
void WriteProducts(SectionContext& context);
// Level 2 in, level 2 out; takes the abort exit at level 3, inside the
// TaxTable, when the abort flag stopped the loop.
void WriteTaxTable(SectionContext& context);

}  // namespace varnel
