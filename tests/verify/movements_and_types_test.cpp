// Stock movements (their references, control totals, sums, numbering and
// dates) and the rules of numbers and types across the file (an internal
// code on two types or in two sections, a credit note without References, a
// retired type in a 1.03_01 file), each broken once and caught with its
// message.
#include <gtest/gtest.h>

#include <string>

#include "verify/foreign_audit_file.h"
#include "verify/verify_findings.h"

namespace varnel {
namespace {

using testing::Describe;
using testing::FindOne;
using testing::ForeignAuditFile;
using testing::SmallAuditFile;
using testing::VerifyBytes;

struct Case {
  const char* marker;
  const char* from;
  const char* to;
  FindingSeverity severity;
  const char* section;
  const char* document;
  const char* expected;
};

void ExpectCaught(const Case& c, SmallAuditFile file) {
  file.ReplaceAfter(c.marker, c.from, c.to);
  const VerificationReport report = VerifyBytes(file.Bytes());
  const Finding* found = FindOne(report, c.severity, c.expected);
  if (found == nullptr) return;
  EXPECT_EQ(found->section, c.section) << c.expected;
  EXPECT_EQ(found->document, c.document) << c.expected;
}

constexpr const char* kGT1 = "<DocumentNumber>GT A/1</DocumentNumber>";
constexpr const char* kGD1 = "<DocumentNumber>GD A/1</DocumentNumber>";

TEST(VerifyMovementOfGoods, EachRuleBrokenOnce) {
  const Case cases[] = {
      {kGT1, "<ProductCode>P2</ProductCode>", "<ProductCode>P9</ProductCode>", FindingSeverity::Error,
       "MovementOfGoods", "GT A/1", "ProductCode \"P9\" não consta dos produtos (MasterFiles)"},
      {kGD1, "<SupplierID>FOR001</SupplierID>", "<SupplierID>FOR009</SupplierID>", FindingSeverity::Error,
       "MovementOfGoods", "GD A/1", "SupplierID \"FOR009\" não consta dos fornecedores (MasterFiles)"},
      {kGT1, "<CustomerID>CLI0002</CustomerID>", "<CustomerID>CLI0009</CustomerID>", FindingSeverity::Error,
       "MovementOfGoods", "GT A/1", "CustomerID \"CLI0009\" não consta dos clientes (MasterFiles)"},
      {"<MovementOfGoods>", "<NumberOfMovementLines>2<", "<NumberOfMovementLines>3<", FindingSeverity::Error,
       "MovementOfGoods", "", "NumberOfMovementLines 3 difere do número de linhas dos documentos não anulados 2"},
      {"<MovementOfGoods>", "<TotalQuantityIssued>15<", "<TotalQuantityIssued>14<", FindingSeverity::Error,
       "MovementOfGoods", "", "TotalQuantityIssued 14.00 difere da soma das quantidades das linhas 15.00"},
      {kGD1, "<NetTotal>6.00</NetTotal>", "<NetTotal>6.10</NetTotal>", FindingSeverity::Error, "MovementOfGoods",
       "GD A/1", "NetTotal 6.10 difere da soma das linhas 6.00"},
      {kGD1, "<MovementDate>2022-05-12</MovementDate>", "<MovementDate>2022-06-12</MovementDate>",
       FindingSeverity::Error, "MovementOfGoods", "GD A/1",
       "MovementDate 2022-06-12 fora do período do ficheiro 2022-05-01 a 2022-05-31"},
      {kGD1, "GD A/1</DocumentNumber>", "GT A/1</DocumentNumber>", FindingSeverity::Error, "MovementOfGoods",
       "GT A/1", "Número GT A/1 repetido em 2 documentos"},
  };
  for (const Case& c : cases) ExpectCaught(c, ForeignAuditFile());

  // An annulled movement leaves the control totals.
  SmallAuditFile annulled = ForeignAuditFile();
  annulled.ReplaceAfter(kGT1, "<MovementStatus>N<", "<MovementStatus>A<");
  annulled.ReplaceAfter("<MovementOfGoods>", "<NumberOfMovementLines>2<", "<NumberOfMovementLines>1<");
  annulled.ReplaceAfter("<MovementOfGoods>", "<TotalQuantityIssued>15<", "<TotalQuantityIssued>5<");
  const VerificationReport report = VerifyBytes(annulled.text());
  EXPECT_EQ(report.errors() + report.warnings(), 0) << Describe(report);
}

TEST(VerifyDocumentTypes, CodesReferencesAndRetiredTypes) {
  const Case cases[] = {
      {"<InvoiceNo>FS A/1</InvoiceNo>", "FS A/1", "FT A/4", FindingSeverity::Error, "SalesInvoices", "FT A/4",
       "O código interno de documento FT é usado em documentos de dois tipos: FT (FT A/1) e FS (FT A/4); cada "
       "código interno numera um só tipo de documento"},
      {"<DocumentNumber>PF A/1</DocumentNumber>", "PF A/1", "FT B/1", FindingSeverity::Error, "WorkingDocuments",
       "FT B/1", "O código interno de documento FT é usado em duas secções: SalesInvoices (FT A/1) e "
       "WorkingDocuments (FT B/1)"},
      {"<InvoiceNo>NC A/1</InvoiceNo>",
       "          <References>\n            <Reference>FT A/1</Reference>\n            <Reason>Devolução de "
       "mercadoria</Reason>\n          </References>\n",
       "", FindingSeverity::Warning, "SalesInvoices", "NC A/1",
       "1 nota de crédito sem References em nenhuma linha: cada nota de crédito indica o documento que retifica"},
  };
  for (const Case& c : cases) ExpectCaught(c, ForeignAuditFile());

  // TV in a 1.03_01 file of 2016, as in a 1.04_01 one.
  const Case retired = {"<InvoiceNo>FT A/2</InvoiceNo>", "FT A/2</InvoiceNo>", "TV A/1</InvoiceNo>",
                        FindingSeverity::Warning, "SalesInvoices", "TV A/1",
                        "1 documento do tipo TV com data posterior a 2012-12-31, quando o tipo deixou de ser válido"};
  SmallAuditFile ticket;
  ticket.ReplaceAfter("<InvoiceNo>FT A/2</InvoiceNo>", "<InvoiceType>FT<", "<InvoiceType>TV<");
  ExpectCaught(retired, ticket);
}

}  // namespace
}  // namespace varnel
