// The Product elements of MasterFiles: the fixed minimum-consumption product
// (ProductCode 0, which the placeholder lines of documents without sale lines
// name), then one element per product code of the type's product query. The
// "Normal" type lists every code sold in the period (with the product table's
// description and family where they exist, else the sale line's description
// and family 0) united with every code of the product table; the Resumido
// type only the codes the period sold, so that every ProductCode its lines
// name is listed, as the schema requires, and the list stays small. Codes 0
// and below and the withholding code -999 are never written. The union keeps
// rows that differ only in description or family (a family NULL in the table
// next to the 0 of the sales half); the audit file allows a ProductCode only
// once, so the rows of one code, which the query gives one after the other,
// make one element. The abort flag is tested before every row; the query is
// closed on both paths.
#include <optional>
#include <string>

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "masterfiles/master_files.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"

namespace varnel {

namespace {

// One product code's element, gathered from its rows. Texts are as read
// from the database, not yet escaped.
struct ProductEntry {
  std::string code;
  std::string description;
  std::optional<std::string> group;  // none while every row's family is NULL

  static ProductEntry FromRow(const PosQuery& q_prod) {
    ProductEntry entry{q_prod.AsText("codigo"), q_prod.AsText("descricao"), std::nullopt};
    if (!q_prod.IsNull("familia")) entry.group = q_prod.AsText("familia");
    return entry;
  }

  // A later row of the same code fills in what the first one lacks: a
  // description where the first had only blanks, a family where it had NULL.
  void Merge(const ProductEntry& other) {
    if (TrimBlanks(description).empty() && !TrimBlanks(other.description).empty()) {
      description = other.description;
    }
    if (!group) group = other.group;
  }
};

void WriteMinimumConsumption(XmlLineWriter& out) {
  out.WriteBlock("Product", [&] {
    out.WriteLine("<ProductType>P</ProductType>");
    out.WriteLine("<ProductCode>0</ProductCode>");
    out.WriteLine("<ProductGroup>0</ProductGroup>");
    out.WriteLine("<ProductDescription>Consumo Minimo</ProductDescription>");
    out.WriteLine("<ProductNumberCode>0</ProductNumberCode>");
  });
}

void WriteProductRecord(XmlLineWriter& out, const ProductEntry& product, const AuditFileRules& rules) {
  const std::string code = XmlEscape(product.code);
  out.WriteBlock("Product", [&] {
    out.WriteLine("<ProductType>P</ProductType>");
    out.WriteElement("ProductCode", code);
    // A family that stays NULL gives an empty group; the description takes no
    // default and keeps its blanks.
    out.WriteElement("ProductGroup", XmlEscape(product.group.value_or("")));
    out.WriteElement("ProductDescription", DescriptionText(rules, product.description, 50));
    out.WriteElement("ProductNumberCode", code);
  });
}

}  // namespace

void WriteProducts(SectionContext& context) {
  XmlLineWriter& out = context.writer();
  WriteMinimumConsumption(out);

  PosQuery q_prod(context.database(), context.request().saftType == SaftType::Normal ? kQ_prod : kQ_prodVend);
  q_prod.BindDateTime("datai", context.periodStart());
  q_prod.BindDateTime("dataf", context.periodEnd());
  q_prod.Open();
  // The element of a code is written once the next code (or the end) shows
  // that no further row of it follows.
  std::optional<ProductEntry> pending;
  while (!context.aborted() && !q_prod.Eof()) {
    ProductEntry row = ProductEntry::FromRow(q_prod);
    if (pending && pending->code == row.code) {
      pending->Merge(row);
    } else {
      if (pending) WriteProductRecord(out, *pending, context.fileRules());
      pending = std::move(row);
    }
    q_prod.Next();
  }
  if (pending) WriteProductRecord(out, *pending, context.fileRules());
  q_prod.Close();
}

}  // namespace varnel
