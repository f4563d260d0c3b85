// The opening lines of the audit file and the Header element. Everything the
// operator typed is escaped (a "&" typed into a building number or a postal
// code would otherwise break the file); the program's own constants are
// written as they stand.
#include "header/header_section.h"

#include "run/export_run.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

// Writes the ProductVersion line from versao and returns the generation.
SchemaGeneration WriteProductVersion(ExportRun& run) {
  PosQuery& q_versao = run.query("q_versao");
  q_versao.SetSql(kQ_versao);
  q_versao.Open();
  SchemaGeneration generation = SchemaGeneration::Legacy;
  std::string version = "1";
  if (!q_versao.IsEmpty()) {
    const std::int64_t major = q_versao.AsInteger("major");
    generation = major >= 2011 ? SchemaGeneration::Current : SchemaGeneration::Legacy;
    version = IntText(major);
  }
  q_versao.Close();
  run.writer().WriteElement("ProductVersion", version);
  return generation;
}

}  // namespace

SchemaGeneration WriteHeader(ExportRun& run) {
  const ExportRequest& request = run.request();
  XmlLineWriter& out = run.writer();

  out.WriteRawLine("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>");
  out.WriteRawLine("<!--Exported by Varnel: " + TrimBlanks(request.vs) + "-->");
  out.WriteRawLine(
      "<AuditFile xmlns=\"urn:OECD:StandardAuditFile-Tax:PT_1.03_01\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"urn:OECD:StandardAuditFile-Tax:PT_1.03_01 SAF-T-PT.XSD\">");
  out.Indent();
  out.WriteLine("<Header>");
  out.Indent();
  out.WriteLine("<AuditFileVersion>1.03_01</AuditFileVersion>");
  out.WriteElement("CompanyID", XmlEscape(request.companyID));
  out.WriteElement("TaxRegistrationNumber", XmlEscape(request.companyID));
  out.WriteLine("<TaxAccountingBasis>F</TaxAccountingBasis>");
  out.WriteElement("CompanyName", XmlText(request.companyName, 90));
  out.WriteLine("<CompanyAddress>");
  out.Indent();
  out.WriteElement("BuildingNumber", XmlEscape(request.buildingNumber));
  out.WriteElement("StreetName", XmlText(request.streetName, 90));
  out.WriteElement("AddressDetail", XmlText(OrDefault(request.addressDetail, "?"), 90));
  out.WriteElement("City", XmlText(request.city, 50));
  out.WriteElement("PostalCode", XmlEscape(OrDefault(request.postalCode1, "0000")) + "-" +
                                       XmlEscape(OrDefault(request.postalCode2, "000")));
  out.WriteLine("<Country>PT</Country>");
  out.Outdent();
  out.WriteLine("</CompanyAddress>");
  out.WriteElement("FiscalYear", IntText(request.datai.Year()));
  out.WriteElement("StartDate", DateText(request.datai.DatePart()));
  out.WriteElement("EndDate", DateText(request.dataf.DatePart()));
  out.WriteLine("<CurrencyCode>EUR</CurrencyCode>");
  out.WriteElement("DateCreated", DateText(DateTime::Today()));
  out.WriteElement("TaxEntity", request.estabelecimento.empty() ? std::string("Global")
                                                                : XmlText(request.estabelecimento, 20));
  out.WriteLine("<ProductCompanyTaxID>500000000</ProductCompanyTaxID>");
  out.WriteLine("<SoftwareCertificateNumber>3917</SoftwareCertificateNumber>");
  out.WriteLine("<ProductID>KORVEL/Velmora</ProductID>");
  const SchemaGeneration generation = WriteProductVersion(run);
  out.Outdent();
  out.WriteLine("</Header>");
  return generation;
}

}  // namespace varnel
