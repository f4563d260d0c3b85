// Sections exercised alone, through a context of the test's own instead of a
// run: the working documents' section writes its element from its own
// queries, stops at the abort flag inside a document with that document
// complete, and leaves by the abort exit; its queries are closed when the
// section goes. The master files' tax table leaves its element open at the
// abort exit.
#include <gtest/gtest.h>

#include "masterfiles/master_files.h"
#include "sourcedocs/source_documents.h"
#include "support/fake_section_context.h"
#include "sourcedocs/sales_export.h"

namespace varnel {
namespace {

using testing::DefaultRequest;
using testing::DocumentRow;
using testing::FakeSectionContext;
using testing::Insert;
using testing::SaleLine;
using testing::TestDatabase;

void FillConsultation(TestDatabase& db) {
  Insert(db, DocumentRow{.doc = "CM", .numero = 57, .total = 3});
  Insert(db, SaleLine{.doc = "CM", .numero = 57, .codigo = 100, .total = 1});
  Insert(db, SaleLine{.doc = "CM", .numero = 57, .codigo = 101, .total = 2});
}

TEST(SectionContext, WorkingDocumentsWriteFromTheirOwnQueries) {
  TestDatabase db;
  FillConsultation(db);
  FakeSectionContext context(db.database(), DefaultRequest());
  {
    WorkingDocumentsSection section(context);
    EXPECT_EQ(section.countDocuments(), 1);
    context.writer().Indent();
    context.writer().Indent();
    section.Write();
  }
  const std::string text = context.Text();
  EXPECT_TRUE(text.starts_with("    <WorkingDocuments>\r\n      <NumberOfEntries>1</NumberOfEntries>\r\n"));
  EXPECT_NE(text.find("        <DocumentNumber>CM ?/57</DocumentNumber>\r\n"), std::string::npos);
  EXPECT_NE(text.find("          <LineNumber>2</LineNumber>\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("      </WorkDocument>\r\n    </WorkingDocuments>\r\n"));
  EXPECT_EQ(context.calls, (std::vector<std::string>{"stage Abertura de tabelas de documentos de consulta",
                                                      "progress", "document"}));
  // Every statement the section ran is finished: a writer gets the file.
  EXPECT_NO_THROW(db.Exec("BEGIN EXCLUSIVE; COMMIT"));
}

TEST(SectionContext, AbortInsideADocumentClosesItThenLeaves) {
  TestDatabase db;
  FillConsultation(db);
  FakeSectionContext context(db.database(), DefaultRequest());
  // Checks: the document loop, then the first line; the second line finds
  // the flag set.
  context.abort_at_check = 2;
  {
    WorkingDocumentsSection section(context);
    EXPECT_THROW(section.Write(), AbortExit);
  }
  const std::string text = context.Text();
  EXPECT_NE(text.find("<LineNumber>1</LineNumber>"), std::string::npos);
  EXPECT_EQ(text.find("<LineNumber>2</LineNumber>"), std::string::npos);
  // The document is whole (totals and closing tag), the section is not.
  EXPECT_TRUE(text.ends_with("    </DocumentTotals>\r\n  </WorkDocument>\r\n")) << text;
  EXPECT_NO_THROW(db.Exec("BEGIN EXCLUSIVE; COMMIT"));
}

TEST(SectionContext, TaxTableStaysOpenAtTheAbortExit) {
  TestDatabase db;
  db.Exec("INSERT INTO iva (codigo, descricao) VALUES (23, 'Normal'), (6, 'Reduzida')");
  FakeSectionContext context(db.database(), DefaultRequest());
  context.abort_at_check = 1;  // one entry, then the flag
  EXPECT_THROW(WriteTaxTable(context), AbortExit);
  EXPECT_EQ(context.writer().level(), 1);
  const std::string text = context.Text();
  EXPECT_TRUE(text.starts_with("<TaxTable>\r\n  <TaxTableEntry>\r\n")) << text;
  EXPECT_TRUE(text.ends_with("  </TaxTableEntry>\r\n")) << text;
}

}  // namespace
}  // namespace varnel
