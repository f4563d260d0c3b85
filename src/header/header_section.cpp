// The opening lines of the audit file and the Header element. Everything the
// operator typed is escaped (a "&" typed into a building number or a postal
// code would otherwise break the file); the program's own constants are
// written as they stand.
#include "header/header_section.h"

#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "section/section_context.h"

namespace varnel {

namespace {

// Writes the ProductVersion line from versao and returns the generation.
SchemaGeneration WriteProductVersion(SectionContext& context) {
  PosQuery q_versao(context.database(), kQ_versao);
  q_versao.Open();
  SchemaGeneration generation = SchemaGeneration::Legacy;
  std::string version = "1";
  if (!q_versao.IsEmpty()) {
    const std::int64_t major = q_versao.AsInteger("major");
    generation = major >= 2011 ? SchemaGeneration::Current : SchemaGeneration::Legacy;
    version = IntText(major);
  }
  q_versao.Close();
  context.writer().WriteElement("ProductVersion", version);
  return generation;
}

void WriteCompanyAddress(XmlLineWriter& out, const Company& company, const AuditFileRules& rules) {
  out.WriteBlock("CompanyAddress", [&] {
    out.WriteElement("BuildingNumber", XmlEscape(company.buildingNumber));
    out.WriteElement("StreetName", XmlText(company.streetName, rules.company_street_length));
    out.WriteElement("AddressDetail", XmlText(OrDefault(company.addressDetail, "?"), rules.company_address_length));
    out.WriteElement("City", XmlText(company.city, 50));
    out.WriteElement("PostalCode", XmlEscape(OrDefault(company.postalCode1, "0000")) + "-" +
                                         XmlEscape(OrDefault(company.postalCode2, "000")));
    out.WriteLine("<Country>PT</Country>");
  });
}

}  // namespace

std::string AuditFileOpening(const AuditFileRules& rules) {
  const std::string uri(rules.namespace_uri);
  return "<AuditFile xmlns=\"" + uri + "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" " +
         "xsi:schemaLocation=\"" + uri + " SAF-T-PT.XSD\">";
}

void WritePrologue(XmlLineWriter& out, const ExportRequest& request) {
  out.WriteRawLine("<?xml version=\"1.0\" encoding=\"Windows-1252\"?>");
  out.WriteRawLine("<!--Exported by Varnel: " + TrimBlanks(request.vs) + "-->");
}

SchemaGeneration WriteHeader(SectionContext& context) {
  const ExportRequest& request = context.request();
  const Company& company = request.company;
  XmlLineWriter& out = context.writer();
  const AuditFileRules& rules = context.fileRules();
  SchemaGeneration generation = SchemaGeneration::Legacy;
  out.WriteBlock("Header", [&] {
    out.WriteElement("AuditFileVersion", SaftVersionLabel(rules.version));
    out.WriteElement("CompanyID", XmlEscape(company.companyID));
    out.WriteElement("TaxRegistrationNumber", XmlEscape(company.companyID));
    out.WriteLine("<TaxAccountingBasis>F</TaxAccountingBasis>");
    out.WriteElement("CompanyName", XmlText(company.companyName, 90));
    WriteCompanyAddress(out, company, rules);
    out.WriteElement("FiscalYear", IntText(request.datai.Year()));
    out.WriteElement("StartDate", DateText(request.datai.DatePart()));
    out.WriteElement("EndDate", DateText(request.dataf.DatePart()));
    out.WriteLine("<CurrencyCode>EUR</CurrencyCode>");
    out.WriteElement("DateCreated", DateText(DateTime::Today()));
    out.WriteElement("TaxEntity", company.estabelecimento.empty()
                                      ? std::string("Global")
                                      : XmlText(company.estabelecimento, kEstablishmentLength));
    out.WriteLine("<ProductCompanyTaxID>500000000</ProductCompanyTaxID>");
    out.WriteLine("<SoftwareCertificateNumber>3917</SoftwareCertificateNumber>");
    out.WriteLine("<ProductID>KORVEL/Velmora</ProductID>");
    generation = WriteProductVersion(context);
  });
  return generation;
}

}  // namespace varnel
