// A small, valid SAF-T (PT) 1.03_01 audit file written out by hand for the
// verifier's tests: two customers, one product, two VAT rates, three sales
// documents (an annulled one, a credit note), a working document and a
// receipt, every total right. Each test breaks it in one way by replacing one
// piece of text, then writes it with CR LF line ends.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace varnel::testing {

class SmallAuditFile {
 public:
  SmallAuditFile();
  // Another hand-made file; every "@HASH@" in it becomes a signature's Hash.
  explicit SmallAuditFile(std::string_view text);

  // Replaces the only occurrence of `from` (the test fails when it is not
  // there exactly once).
  SmallAuditFile& Replace(std::string_view from, std::string_view to);
  // Replaces the first `from` after the only occurrence of `marker`.
  SmallAuditFile& ReplaceAfter(std::string_view marker, std::string_view from, std::string_view to);
  // The text with CR LF line ends (or bare LF when crlf is false).
  std::string Bytes(bool crlf = true) const;
  void Write(const std::filesystem::path& path, bool crlf = true) const;

  const std::string& text() const { return m_text; }

 private:
  std::string m_text;  // LF line ends
};

namespace small_audit_file_detail {

inline constexpr std::string_view kTemplate = R"(<?xml version="1.0" encoding="Windows-1252"?>
<AuditFile xmlns="urn:OECD:StandardAuditFile-Tax:PT_1.03_01">
  <Header>
    <AuditFileVersion>1.03_01</AuditFileVersion>
    <CompanyID>599999993</CompanyID>
    <TaxRegistrationNumber>599999993</TaxRegistrationNumber>
    <TaxAccountingBasis>F</TaxAccountingBasis>
    <CompanyName>Restaurante de Ensaio, Lda.</CompanyName>
    <CompanyAddress>
      <AddressDetail>Rua Direita, 1</AddressDetail>
      <City>Lisboa</City>
      <PostalCode>1100-452</PostalCode>
      <Country>PT</Country>
    </CompanyAddress>
    <FiscalYear>2016</FiscalYear>
    <StartDate>2016-01-01</StartDate>
    <EndDate>2016-01-31</EndDate>
    <CurrencyCode>EUR</CurrencyCode>
    <DateCreated>2016-02-01</DateCreated>
    <TaxEntity>Sede</TaxEntity>
    <ProductCompanyTaxID>500000000</ProductCompanyTaxID>
    <SoftwareCertificateNumber>0</SoftwareCertificateNumber>
    <ProductID>Ensaio/Varnel</ProductID>
    <ProductVersion>1</ProductVersion>
  </Header>
  <MasterFiles>
    <Customer>
      <CustomerID>1</CustomerID>
      <AccountID>Desconhecido</AccountID>
      <CustomerTaxID>999999990</CustomerTaxID>
      <CompanyName>Consumidor final</CompanyName>
      <BillingAddress>
        <AddressDetail>Desconhecido</AddressDetail>
        <City>Desconhecido</City>
        <PostalCode>0000-000</PostalCode>
        <Country>PT</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Customer>
    <Customer>
      <CustomerID>2</CustomerID>
      <AccountID>Desconhecido</AccountID>
      <CustomerTaxID>510827365</CustomerTaxID>
      <CompanyName>Cliente Dois, Lda.</CompanyName>
      <BillingAddress>
        <AddressDetail>Rua Larga, 2</AddressDetail>
        <City>Porto</City>
        <PostalCode>4000-001</PostalCode>
        <Country>PT</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Customer>
    <Product>
      <ProductType>P</ProductType>
      <ProductCode>P1</ProductCode>
      <ProductDescription>Prato do dia</ProductDescription>
      <ProductNumberCode>P1</ProductNumberCode>
    </Product>
    <TaxTable>
      <TaxTableEntry>
        <TaxType>IVA</TaxType>
        <TaxCountryRegion>PT</TaxCountryRegion>
        <TaxCode>NOR</TaxCode>
        <Description>23%</Description>
        <TaxPercentage>23</TaxPercentage>
      </TaxTableEntry>
      <TaxTableEntry>
        <TaxType>IVA</TaxType>
        <TaxCountryRegion>PT</TaxCountryRegion>
        <TaxCode>ISE</TaxCode>
        <Description>0%</Description>
        <TaxPercentage>0</TaxPercentage>
      </TaxTableEntry>
    </TaxTable>
  </MasterFiles>
  <SourceDocuments>
    <SalesInvoices>
      <NumberOfEntries>3</NumberOfEntries>
      <TotalDebit>20.00</TotalDebit>
      <TotalCredit>110.50</TotalCredit>
      <Invoice>
        <InvoiceNo>FT A/1</InvoiceNo>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2016-01-05T12:00:00</InvoiceStatusDate>
          <SourceID>1</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2016-01-05</InvoiceDate>
        <InvoiceType>FT</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>1</SourceID>
        <SystemEntryDate>2016-01-05T12:00:00</SystemEntryDate>
        <CustomerID>2</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <OrderReferences>
            <OriginatingON>CM A/1</OriginatingON>
            <OrderDate>2016-01-05</OrderDate>
          </OrderReferences>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Prato do dia</ProductDescription>
          <Quantity>10</Quantity>
          <UnitOfMeasure>Dose</UnitOfMeasure>
          <UnitPrice>10</UnitPrice>
          <TaxPointDate>2016-01-05</TaxPointDate>
          <Description>Prato do dia</Description>
          <CreditAmount>100.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23</TaxPercentage>
          </Tax>
        </Line>
        <Line>
          <LineNumber>2</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Prato do dia</ProductDescription>
          <Quantity>1</Quantity>
          <UnitOfMeasure>Dose</UnitOfMeasure>
          <UnitPrice>10.5</UnitPrice>
          <TaxPointDate>2016-01-05</TaxPointDate>
          <Description>Prato do dia</Description>
          <CreditAmount>10.50</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 9 do CIVA</TaxExemptionReason>
        </Line>
        <DocumentTotals>
          <TaxPayable>23.00</TaxPayable>
          <NetTotal>110.50</NetTotal>
          <GrossTotal>133.50</GrossTotal>
        </DocumentTotals>
      </Invoice>
      <Invoice>
        <InvoiceNo>FT A/2</InvoiceNo>
        <DocumentStatus>
          <InvoiceStatus>A</InvoiceStatus>
          <InvoiceStatusDate>2016-01-06T10:00:00</InvoiceStatusDate>
          <SourceID>1</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>0</Hash>
        <InvoiceDate>2016-01-06</InvoiceDate>
        <InvoiceType>FT</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>1</SourceID>
        <SystemEntryDate>2016-01-06T10:00:00</SystemEntryDate>
        <CustomerID>1</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Prato do dia</ProductDescription>
          <Quantity>5</Quantity>
          <UnitOfMeasure>Dose</UnitOfMeasure>
          <UnitPrice>10</UnitPrice>
          <TaxPointDate>2016-01-06</TaxPointDate>
          <Description>Prato do dia</Description>
          <CreditAmount>50</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>11.5</TaxPayable>
          <NetTotal>50</NetTotal>
          <GrossTotal>61.5</GrossTotal>
        </DocumentTotals>
      </Invoice>
      <Invoice>
        <InvoiceNo>NC A/1</InvoiceNo>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2016-01-07T09:00:00</InvoiceStatusDate>
          <SourceID>1</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>0</Hash>
        <InvoiceDate>2016-01-07</InvoiceDate>
        <InvoiceType>NC</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>1</SourceID>
        <SystemEntryDate>2016-01-07T09:00:00</SystemEntryDate>
        <CustomerID>2</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Prato do dia</ProductDescription>
          <Quantity>2</Quantity>
          <UnitOfMeasure>Dose</UnitOfMeasure>
          <UnitPrice>10</UnitPrice>
          <TaxPointDate>2016-01-07</TaxPointDate>
          <References>
            <Reference>FT A/1</Reference>
            <Reason>Devolucao</Reason>
          </References>
          <Description>Prato do dia</Description>
          <DebitAmount>20.00</DebitAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>4.60</TaxPayable>
          <NetTotal>20.00</NetTotal>
          <GrossTotal>24.60</GrossTotal>
        </DocumentTotals>
      </Invoice>
    </SalesInvoices>
    <WorkingDocuments>
      <NumberOfEntries>1</NumberOfEntries>
      <TotalDebit>0</TotalDebit>
      <TotalCredit>30.00</TotalCredit>
      <WorkDocument>
        <DocumentNumber>CM A/1</DocumentNumber>
        <DocumentStatus>
          <WorkStatus>F</WorkStatus>
          <WorkStatusDate>2016-01-05T11:00:00</WorkStatusDate>
          <SourceID>1</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>0</Hash>
        <WorkDate>2016-01-05</WorkDate>
        <WorkType>DC</WorkType>
        <SourceID>1</SourceID>
        <SystemEntryDate>2016-01-05T11:00:00</SystemEntryDate>
        <CustomerID>1</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Prato do dia</ProductDescription>
          <Quantity>3</Quantity>
          <UnitOfMeasure>Dose</UnitOfMeasure>
          <UnitPrice>10</UnitPrice>
          <TaxPointDate>2016-01-05</TaxPointDate>
          <Description>Prato do dia</Description>
          <CreditAmount>30.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>6.90</TaxPayable>
          <NetTotal>30.00</NetTotal>
          <GrossTotal>36.90</GrossTotal>
        </DocumentTotals>
      </WorkDocument>
    </WorkingDocuments>
    <Payments>
      <NumberOfEntries>1</NumberOfEntries>
      <TotalDebit>0</TotalDebit>
      <TotalCredit>100.00</TotalCredit>
      <Payment>
        <PaymentRefNo>RC A/1</PaymentRefNo>
        <TransactionDate>2016-01-08</TransactionDate>
        <PaymentType>RC</PaymentType>
        <DocumentStatus>
          <PaymentStatus>N</PaymentStatus>
          <PaymentStatusDate>2016-01-08T15:00:00</PaymentStatusDate>
          <SourceID>1</SourceID>
          <SourcePayment>P</SourcePayment>
        </DocumentStatus>
        <SourceID>1</SourceID>
        <SystemEntryDate>2016-01-08T15:00:00</SystemEntryDate>
        <CustomerID>2</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <SourceDocumentID>
            <OriginatingON>FT A/1</OriginatingON>
            <InvoiceDate>2016-01-05</InvoiceDate>
          </SourceDocumentID>
          <CreditAmount>100.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>23.00</TaxPayable>
          <NetTotal>100.00</NetTotal>
          <GrossTotal>123.00</GrossTotal>
        </DocumentTotals>
      </Payment>
    </Payments>
  </SourceDocuments>
</AuditFile>
)";

}  // namespace small_audit_file_detail

inline SmallAuditFile::SmallAuditFile() : m_text(small_audit_file_detail::kTemplate) {
  // A signed document's Hash: base64 of 128 bytes, 172 characters.
  Replace("@HASH@", std::string(170, 'Q') + "Q=");
}

inline SmallAuditFile::SmallAuditFile(std::string_view text) : m_text(text) {
  const std::string hash = std::string(170, 'Q') + "Q=";
  for (std::size_t at; (at = m_text.find("@HASH@")) != std::string::npos;) m_text.replace(at, 6, hash);
}

inline SmallAuditFile& SmallAuditFile::Replace(std::string_view from, std::string_view to) {
  const std::size_t at = m_text.find(from);
  EXPECT_NE(at, std::string::npos) << "not in the file: " << from;
  if (at == std::string::npos) return *this;
  EXPECT_EQ(m_text.find(from, at + 1), std::string::npos) << "more than once in the file: " << from;
  m_text.replace(at, from.size(), to);
  return *this;
}

inline SmallAuditFile& SmallAuditFile::ReplaceAfter(std::string_view marker, std::string_view from,
                                                    std::string_view to) {
  const std::size_t mark = m_text.find(marker);
  EXPECT_NE(mark, std::string::npos) << "not in the file: " << marker;
  EXPECT_EQ(m_text.find(marker, mark + 1), std::string::npos) << "more than once in the file: " << marker;
  const std::size_t at = mark == std::string::npos ? mark : m_text.find(from, mark);
  EXPECT_NE(at, std::string::npos) << "not after " << marker << ": " << from;
  if (at != std::string::npos) m_text.replace(at, from.size(), to);
  return *this;
}

inline std::string SmallAuditFile::Bytes(bool crlf) const {
  if (!crlf) return m_text;
  std::string bytes;
  bytes.reserve(m_text.size() + m_text.size() / 20);
  for (const char c : m_text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

inline void SmallAuditFile::Write(const std::filesystem::path& path, bool crlf) const {
  std::ofstream out(path, std::ios::binary);
  out << Bytes(crlf);
}

}  // namespace varnel::testing
