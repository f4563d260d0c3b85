// A valid SAF-T (PT) 1.04_01 file as another certified program could write
// it, made by hand from the structure's rules, for the verifier's tests: UTF-8,
// LF line ends, general ledger accounts, a foreign customer, a supplier, a
// settlement discount and a payment on an invoice, a foreign currency, a
// stamp duty line on its own TaxBase, a withholding tax, a credit note with
// its reference, two stock movements (to a customer, back to a supplier), a
// pro forma, and three receipts: an RG receipt with Tax, a refund of the
// credit note on the debit side with positive totals, and a cash VAT (RC)
// receipt. Every total is right; each test breaks one thing.
#pragma once

#include <string>
#include <string_view>

#include "verify/small_audit_file.h"

namespace varnel::testing {

namespace foreign_audit_file_detail {

inline constexpr std::string_view kTemplate = R"(<?xml version="1.0" encoding="UTF-8"?>
<AuditFile xmlns="urn:OECD:StandardAuditFile-Tax:PT_1.04_01">
  <Header>
    <AuditFileVersion>1.04_01</AuditFileVersion>
    <CompanyID>Conservatoria de Lisboa 12345</CompanyID>
    <TaxRegistrationNumber>599999993</TaxRegistrationNumber>
    <TaxAccountingBasis>I</TaxAccountingBasis>
    <CompanyName>Comércio e Serviços de Ensaio, S.A.</CompanyName>
    <CompanyAddress>
      <StreetName>Avenida da Liberdade</StreetName>
      <AddressDetail>Avenida da Liberdade, 100</AddressDetail>
      <City>Lisboa</City>
      <PostalCode>1250-096</PostalCode>
      <Country>PT</Country>
    </CompanyAddress>
    <FiscalYear>2022</FiscalYear>
    <StartDate>2022-05-01</StartDate>
    <EndDate>2022-05-31</EndDate>
    <CurrencyCode>EUR</CurrencyCode>
    <DateCreated>2022-06-02</DateCreated>
    <TaxEntity>Global</TaxEntity>
    <ProductCompanyTaxID>500000000</ProductCompanyTaxID>
    <SoftwareCertificateNumber>9999</SoftwareCertificateNumber>
    <ProductID>Outro Programa/Outra Casa de Software</ProductID>
    <ProductVersion>7.2</ProductVersion>
  </Header>
  <MasterFiles>
    <GeneralLedgerAccounts>
      <TaxonomyReference>S</TaxonomyReference>
      <Account>
        <AccountID>21</AccountID>
        <AccountDescription>Clientes</AccountDescription>
        <OpeningDebitBalance>0.00</OpeningDebitBalance>
        <OpeningCreditBalance>0.00</OpeningCreditBalance>
        <ClosingDebitBalance>0.00</ClosingDebitBalance>
        <ClosingCreditBalance>0.00</ClosingCreditBalance>
        <GroupingCategory>GR</GroupingCategory>
      </Account>
      <Account>
        <AccountID>211</AccountID>
        <AccountDescription>Clientes c/c</AccountDescription>
        <OpeningDebitBalance>0.00</OpeningDebitBalance>
        <OpeningCreditBalance>0.00</OpeningCreditBalance>
        <ClosingDebitBalance>0.00</ClosingDebitBalance>
        <ClosingCreditBalance>0.00</ClosingCreditBalance>
        <GroupingCategory>GA</GroupingCategory>
        <GroupingCode>21</GroupingCode>
      </Account>
      <Account>
        <AccountID>2111</AccountID>
        <AccountDescription>Clientes gerais</AccountDescription>
        <OpeningDebitBalance>0.00</OpeningDebitBalance>
        <OpeningCreditBalance>0.00</OpeningCreditBalance>
        <ClosingDebitBalance>0.00</ClosingDebitBalance>
        <ClosingCreditBalance>0.00</ClosingCreditBalance>
        <GroupingCategory>GM</GroupingCategory>
        <GroupingCode>211</GroupingCode>
        <TaxonomyCode>62</TaxonomyCode>
      </Account>
    </GeneralLedgerAccounts>
    <Customer>
      <CustomerID>1</CustomerID>
      <AccountID>Desconhecido</AccountID>
      <CustomerTaxID>999999990</CustomerTaxID>
      <CompanyName>Consumidor final</CompanyName>
      <BillingAddress>
        <AddressDetail>Desconhecido</AddressDetail>
        <City>Desconhecido</City>
        <PostalCode>Desconhecido</PostalCode>
        <Country>Desconhecido</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Customer>
    <Customer>
      <CustomerID>CLI0002</CustomerID>
      <AccountID>2111</AccountID>
      <CustomerTaxID>510827365</CustomerTaxID>
      <CompanyName>Cliente Dois, Lda.</CompanyName>
      <BillingAddress>
        <AddressDetail>Rua de Santa Catarina, 2</AddressDetail>
        <City>Porto</City>
        <PostalCode>4000-001</PostalCode>
        <Country>PT</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Customer>
    <Customer>
      <CustomerID>CLI0003</CustomerID>
      <AccountID>2111</AccountID>
      <CustomerTaxID>US98-7654321</CustomerTaxID>
      <CompanyName>Overseas Trading Inc.</CompanyName>
      <BillingAddress>
        <AddressDetail>500 Fifth Avenue</AddressDetail>
        <City>New York</City>
        <PostalCode>10110</PostalCode>
        <Country>US</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Customer>
    <Supplier>
      <SupplierID>FOR001</SupplierID>
      <AccountID>Desconhecido</AccountID>
      <SupplierTaxID>500000000</SupplierTaxID>
      <CompanyName>Fornecedor Um, Lda.</CompanyName>
      <BillingAddress>
        <AddressDetail>Rua do Comércio, 7</AddressDetail>
        <City>Braga</City>
        <PostalCode>4700-001</PostalCode>
        <Country>PT</Country>
      </BillingAddress>
      <SelfBillingIndicator>0</SelfBillingIndicator>
    </Supplier>
    <Product>
      <ProductType>S</ProductType>
      <ProductCode>P1</ProductCode>
      <ProductDescription>Serviço de consultoria</ProductDescription>
      <ProductNumberCode>P1</ProductNumberCode>
    </Product>
    <Product>
      <ProductType>P</ProductType>
      <ProductCode>P2</ProductCode>
      <ProductDescription>Caneta azul</ProductDescription>
      <ProductNumberCode>5601234567890</ProductNumberCode>
    </Product>
    <Product>
      <ProductType>S</ProductType>
      <ProductCode>P3</ProductCode>
      <ProductDescription>Garantia bancária</ProductDescription>
      <ProductNumberCode>P3</ProductNumberCode>
    </Product>
    <TaxTable>
      <TaxTableEntry>
        <TaxType>IVA</TaxType>
        <TaxCountryRegion>PT</TaxCountryRegion>
        <TaxCode>NOR</TaxCode>
        <Description>Taxa normal</Description>
        <TaxPercentage>23.00</TaxPercentage>
      </TaxTableEntry>
      <TaxTableEntry>
        <TaxType>IVA</TaxType>
        <TaxCountryRegion>PT</TaxCountryRegion>
        <TaxCode>ISE</TaxCode>
        <Description>Isento</Description>
        <TaxPercentage>0.00</TaxPercentage>
      </TaxTableEntry>
      <TaxTableEntry>
        <TaxType>IS</TaxType>
        <TaxCountryRegion>PT</TaxCountryRegion>
        <TaxCode>10.3</TaxCode>
        <Description>Imposto do selo, garantias</Description>
        <TaxPercentage>0.50</TaxPercentage>
      </TaxTableEntry>
    </TaxTable>
  </MasterFiles>
  <SourceDocuments>
    <SalesInvoices>
      <NumberOfEntries>5</NumberOfEntries>
      <TotalDebit>3.00</TotalDebit>
      <TotalCredit>1640.00</TotalCredit>
      <Invoice>
        <InvoiceNo>FT A/1</InvoiceNo>
        <ATCUD>JFJMVNTA-1</ATCUD>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2022-05-03T10:15:00</InvoiceStatusDate>
          <SourceID>Ana</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2022-05-03</InvoiceDate>
        <InvoiceType>FT</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-03T10:15:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Serviço de consultoria</ProductDescription>
          <Quantity>2</Quantity>
          <UnitOfMeasure>hora</UnitOfMeasure>
          <UnitPrice>100.00</UnitPrice>
          <TaxPointDate>2022-05-03</TaxPointDate>
          <Description>Serviço de consultoria</Description>
          <CreditAmount>200.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <Line>
          <LineNumber>2</LineNumber>
          <ProductCode>P2</ProductCode>
          <ProductDescription>Caneta azul</ProductDescription>
          <Quantity>10</Quantity>
          <UnitOfMeasure>UN</UnitOfMeasure>
          <UnitPrice>1.50</UnitPrice>
          <TaxPointDate>2022-05-03</TaxPointDate>
          <Description>Caneta azul</Description>
          <CreditAmount>15.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0.00</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>
          <TaxExemptionCode>M05</TaxExemptionCode>
        </Line>
        <DocumentTotals>
          <TaxPayable>46.00</TaxPayable>
          <NetTotal>215.00</NetTotal>
          <GrossTotal>261.00</GrossTotal>
          <Settlement>
            <SettlementDiscount>2% a pronto pagamento</SettlementDiscount>
            <SettlementAmount>5.22</SettlementAmount>
            <SettlementDate>2022-05-13</SettlementDate>
          </Settlement>
          <Payment>
            <PaymentMechanism>TB</PaymentMechanism>
            <PaymentAmount>255.78</PaymentAmount>
            <PaymentDate>2022-05-13</PaymentDate>
          </Payment>
        </DocumentTotals>
      </Invoice>
      <Invoice>
        <InvoiceNo>FT A/2</InvoiceNo>
        <ATCUD>JFJMVNTA-2</ATCUD>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2022-05-05T16:40:00</InvoiceStatusDate>
          <SourceID>Ana</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2022-05-05</InvoiceDate>
        <InvoiceType>FT</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-05T16:40:00</SystemEntryDate>
        <CustomerID>CLI0003</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Serviço de consultoria</ProductDescription>
          <Quantity>4</Quantity>
          <UnitOfMeasure>hora</UnitOfMeasure>
          <UnitPrice>100.00</UnitPrice>
          <TaxPointDate>2022-05-05</TaxPointDate>
          <Description>Serviço de consultoria</Description>
          <CreditAmount>400.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>92.00</TaxPayable>
          <NetTotal>400.00</NetTotal>
          <GrossTotal>492.00</GrossTotal>
          <Currency>
            <CurrencyCode>USD</CurrencyCode>
            <CurrencyAmount>528.07</CurrencyAmount>
            <ExchangeRate>0.9317</ExchangeRate>
          </Currency>
        </DocumentTotals>
      </Invoice>
      <Invoice>
        <InvoiceNo>FT A/3</InvoiceNo>
        <ATCUD>JFJMVNTA-3</ATCUD>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2022-05-10T11:00:00</InvoiceStatusDate>
          <SourceID>Rui</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2022-05-10</InvoiceDate>
        <InvoiceType>FT</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>1</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>Rui</SourceID>
        <SystemEntryDate>2022-05-10T11:00:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Serviço de consultoria</ProductDescription>
          <Quantity>10</Quantity>
          <UnitOfMeasure>hora</UnitOfMeasure>
          <UnitPrice>100.00</UnitPrice>
          <TaxPointDate>2022-05-10</TaxPointDate>
          <Description>Serviço de consultoria</Description>
          <CreditAmount>1000.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <Line>
          <LineNumber>2</LineNumber>
          <ProductCode>P3</ProductCode>
          <ProductDescription>Garantia bancária</ProductDescription>
          <Quantity>1</Quantity>
          <UnitOfMeasure>UN</UnitOfMeasure>
          <UnitPrice>0.00</UnitPrice>
          <TaxBase>1000.00</TaxBase>
          <TaxPointDate>2022-05-10</TaxPointDate>
          <Description>Imposto do selo sobre a garantia</Description>
          <CreditAmount>0.00</CreditAmount>
          <Tax>
            <TaxType>IS</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>10.3</TaxCode>
            <TaxPercentage>0.50</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>235.00</TaxPayable>
          <NetTotal>1000.00</NetTotal>
          <GrossTotal>1235.00</GrossTotal>
        </DocumentTotals>
        <WithholdingTax>
          <WithholdingTaxType>IRS</WithholdingTaxType>
          <WithholdingTaxDescription>Artigo 101.º do CIRS</WithholdingTaxDescription>
          <WithholdingTaxAmount>250.00</WithholdingTaxAmount>
        </WithholdingTax>
      </Invoice>
      <Invoice>
        <InvoiceNo>NC A/1</InvoiceNo>
        <ATCUD>JFJMVNTC-1</ATCUD>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2022-05-20T09:30:00</InvoiceStatusDate>
          <SourceID>Ana</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2022-05-20</InvoiceDate>
        <InvoiceType>NC</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-20T09:30:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P2</ProductCode>
          <ProductDescription>Caneta azul</ProductDescription>
          <Quantity>2</Quantity>
          <UnitOfMeasure>UN</UnitOfMeasure>
          <UnitPrice>1.50</UnitPrice>
          <TaxPointDate>2022-05-20</TaxPointDate>
          <References>
            <Reference>FT A/1</Reference>
            <Reason>Devolução de mercadoria</Reason>
          </References>
          <Description>Caneta azul</Description>
          <DebitAmount>3.00</DebitAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0.00</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>
          <TaxExemptionCode>M05</TaxExemptionCode>
        </Line>
        <DocumentTotals>
          <TaxPayable>0.00</TaxPayable>
          <NetTotal>3.00</NetTotal>
          <GrossTotal>3.00</GrossTotal>
        </DocumentTotals>
      </Invoice>
      <Invoice>
        <InvoiceNo>FS A/1</InvoiceNo>
        <ATCUD>JFJMVNTS-1</ATCUD>
        <DocumentStatus>
          <InvoiceStatus>N</InvoiceStatus>
          <InvoiceStatusDate>2022-05-21T13:05:00</InvoiceStatusDate>
          <SourceID>Rui</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <InvoiceDate>2022-05-21</InvoiceDate>
        <InvoiceType>FS</InvoiceType>
        <SpecialRegimes>
          <SelfBillingIndicator>0</SelfBillingIndicator>
          <CashVATSchemeIndicator>0</CashVATSchemeIndicator>
          <ThirdPartiesBillingIndicator>0</ThirdPartiesBillingIndicator>
        </SpecialRegimes>
        <SourceID>Rui</SourceID>
        <SystemEntryDate>2022-05-21T13:05:00</SystemEntryDate>
        <CustomerID>1</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Serviço de consultoria</ProductDescription>
          <Quantity>0.5</Quantity>
          <UnitOfMeasure>hora</UnitOfMeasure>
          <UnitPrice>50.00</UnitPrice>
          <TaxPointDate>2022-05-21</TaxPointDate>
          <Description>Serviço de consultoria</Description>
          <CreditAmount>25.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>5.75</TaxPayable>
          <NetTotal>25.00</NetTotal>
          <GrossTotal>30.75</GrossTotal>
          <Payment>
            <PaymentMechanism>NU</PaymentMechanism>
            <PaymentAmount>30.75</PaymentAmount>
            <PaymentDate>2022-05-21</PaymentDate>
          </Payment>
        </DocumentTotals>
      </Invoice>
    </SalesInvoices>
    <MovementOfGoods>
      <NumberOfMovementLines>2</NumberOfMovementLines>
      <TotalQuantityIssued>15</TotalQuantityIssued>
      <StockMovement>
        <DocumentNumber>GT A/1</DocumentNumber>
        <ATCUD>JFJMVNTG-1</ATCUD>
        <DocumentStatus>
          <MovementStatus>N</MovementStatus>
          <MovementStatusDate>2022-05-03T08:30:00</MovementStatusDate>
          <SourceID>Ana</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <MovementDate>2022-05-03</MovementDate>
        <MovementType>GT</MovementType>
        <SystemEntryDate>2022-05-03T08:30:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <SourceID>Ana</SourceID>
        <MovementStartTime>2022-05-03T09:00:00</MovementStartTime>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P2</ProductCode>
          <ProductDescription>Caneta azul</ProductDescription>
          <Quantity>10</Quantity>
          <UnitOfMeasure>UN</UnitOfMeasure>
          <UnitPrice>1.50</UnitPrice>
          <Description>Caneta azul</Description>
          <CreditAmount>15.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0.00</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>
          <TaxExemptionCode>M05</TaxExemptionCode>
        </Line>
        <DocumentTotals>
          <TaxPayable>0.00</TaxPayable>
          <NetTotal>15.00</NetTotal>
          <GrossTotal>15.00</GrossTotal>
        </DocumentTotals>
      </StockMovement>
      <StockMovement>
        <DocumentNumber>GD A/1</DocumentNumber>
        <ATCUD>JFJMVNTD-1</ATCUD>
        <DocumentStatus>
          <MovementStatus>N</MovementStatus>
          <MovementStatusDate>2022-05-12T14:00:00</MovementStatusDate>
          <SourceID>Rui</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <MovementDate>2022-05-12</MovementDate>
        <MovementType>GD</MovementType>
        <SystemEntryDate>2022-05-12T14:00:00</SystemEntryDate>
        <SupplierID>FOR001</SupplierID>
        <SourceID>Rui</SourceID>
        <MovementStartTime>2022-05-12T15:00:00</MovementStartTime>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P2</ProductCode>
          <ProductDescription>Caneta azul</ProductDescription>
          <Quantity>5</Quantity>
          <UnitOfMeasure>UN</UnitOfMeasure>
          <UnitPrice>1.20</UnitPrice>
          <Description>Caneta azul com defeito</Description>
          <CreditAmount>6.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>1.38</TaxPayable>
          <NetTotal>6.00</NetTotal>
          <GrossTotal>7.38</GrossTotal>
        </DocumentTotals>
      </StockMovement>
    </MovementOfGoods>
    <WorkingDocuments>
      <NumberOfEntries>1</NumberOfEntries>
      <TotalDebit>0.00</TotalDebit>
      <TotalCredit>250.00</TotalCredit>
      <WorkDocument>
        <DocumentNumber>PF A/1</DocumentNumber>
        <ATCUD>JFJMVNTP-1</ATCUD>
        <DocumentStatus>
          <WorkStatus>N</WorkStatus>
          <WorkStatusDate>2022-05-02T17:20:00</WorkStatusDate>
          <SourceID>Ana</SourceID>
          <SourceBilling>P</SourceBilling>
        </DocumentStatus>
        <Hash>@HASH@</Hash>
        <HashControl>1</HashControl>
        <WorkDate>2022-05-02</WorkDate>
        <WorkType>PF</WorkType>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-02T17:20:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <ProductCode>P1</ProductCode>
          <ProductDescription>Serviço de consultoria</ProductDescription>
          <Quantity>2.5</Quantity>
          <UnitOfMeasure>hora</UnitOfMeasure>
          <UnitPrice>100.00</UnitPrice>
          <TaxPointDate>2022-05-02</TaxPointDate>
          <Description>Serviço de consultoria</Description>
          <CreditAmount>250.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>57.50</TaxPayable>
          <NetTotal>250.00</NetTotal>
          <GrossTotal>307.50</GrossTotal>
        </DocumentTotals>
      </WorkDocument>
    </WorkingDocuments>
    <Payments>
      <NumberOfEntries>3</NumberOfEntries>
      <TotalDebit>3.00</TotalDebit>
      <TotalCredit>1215.00</TotalCredit>
      <Payment>
        <PaymentRefNo>RG A/1</PaymentRefNo>
        <ATCUD>JFJMVNTR-1</ATCUD>
        <TransactionDate>2022-05-13</TransactionDate>
        <PaymentType>RG</PaymentType>
        <DocumentStatus>
          <PaymentStatus>N</PaymentStatus>
          <PaymentStatusDate>2022-05-13T12:00:00</PaymentStatusDate>
          <SourceID>Ana</SourceID>
          <SourcePayment>P</SourcePayment>
        </DocumentStatus>
        <PaymentMethod>
          <PaymentMechanism>TB</PaymentMechanism>
          <PaymentAmount>255.78</PaymentAmount>
          <PaymentDate>2022-05-13</PaymentDate>
        </PaymentMethod>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-13T12:00:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <SourceDocumentID>
            <OriginatingON>FT A/1</OriginatingON>
            <InvoiceDate>2022-05-03</InvoiceDate>
          </SourceDocumentID>
          <SettlementAmount>5.22</SettlementAmount>
          <CreditAmount>200.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <Line>
          <LineNumber>2</LineNumber>
          <SourceDocumentID>
            <OriginatingON>FT A/1</OriginatingON>
            <InvoiceDate>2022-05-03</InvoiceDate>
          </SourceDocumentID>
          <CreditAmount>15.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0.00</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>
          <TaxExemptionCode>M05</TaxExemptionCode>
        </Line>
        <DocumentTotals>
          <TaxPayable>46.00</TaxPayable>
          <NetTotal>215.00</NetTotal>
          <GrossTotal>261.00</GrossTotal>
          <Settlement>
            <SettlementAmount>5.22</SettlementAmount>
          </Settlement>
        </DocumentTotals>
      </Payment>
      <Payment>
        <PaymentRefNo>RG A/2</PaymentRefNo>
        <ATCUD>JFJMVNTR-2</ATCUD>
        <TransactionDate>2022-05-20</TransactionDate>
        <PaymentType>RG</PaymentType>
        <DocumentStatus>
          <PaymentStatus>N</PaymentStatus>
          <PaymentStatusDate>2022-05-20T09:45:00</PaymentStatusDate>
          <SourceID>Ana</SourceID>
          <SourcePayment>P</SourcePayment>
        </DocumentStatus>
        <PaymentMethod>
          <PaymentMechanism>NU</PaymentMechanism>
          <PaymentAmount>3.00</PaymentAmount>
          <PaymentDate>2022-05-20</PaymentDate>
        </PaymentMethod>
        <SourceID>Ana</SourceID>
        <SystemEntryDate>2022-05-20T09:45:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <SourceDocumentID>
            <OriginatingON>NC A/1</OriginatingON>
            <InvoiceDate>2022-05-20</InvoiceDate>
          </SourceDocumentID>
          <DebitAmount>3.00</DebitAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>ISE</TaxCode>
            <TaxPercentage>0.00</TaxPercentage>
          </Tax>
          <TaxExemptionReason>Artigo 14.º do CIVA</TaxExemptionReason>
          <TaxExemptionCode>M05</TaxExemptionCode>
        </Line>
        <DocumentTotals>
          <TaxPayable>0.00</TaxPayable>
          <NetTotal>3.00</NetTotal>
          <GrossTotal>3.00</GrossTotal>
        </DocumentTotals>
      </Payment>
      <Payment>
        <PaymentRefNo>RC A/1</PaymentRefNo>
        <ATCUD>JFJMVNTI-1</ATCUD>
        <TransactionDate>2022-05-25</TransactionDate>
        <PaymentType>RC</PaymentType>
        <DocumentStatus>
          <PaymentStatus>N</PaymentStatus>
          <PaymentStatusDate>2022-05-25T10:00:00</PaymentStatusDate>
          <SourceID>Rui</SourceID>
          <SourcePayment>P</SourcePayment>
        </DocumentStatus>
        <PaymentMethod>
          <PaymentMechanism>TB</PaymentMechanism>
          <PaymentAmount>985.00</PaymentAmount>
          <PaymentDate>2022-05-25</PaymentDate>
        </PaymentMethod>
        <SourceID>Rui</SourceID>
        <SystemEntryDate>2022-05-25T10:00:00</SystemEntryDate>
        <CustomerID>CLI0002</CustomerID>
        <Line>
          <LineNumber>1</LineNumber>
          <SourceDocumentID>
            <OriginatingON>FT A/3</OriginatingON>
            <InvoiceDate>2022-05-10</InvoiceDate>
          </SourceDocumentID>
          <CreditAmount>1000.00</CreditAmount>
          <Tax>
            <TaxType>IVA</TaxType>
            <TaxCountryRegion>PT</TaxCountryRegion>
            <TaxCode>NOR</TaxCode>
            <TaxPercentage>23.00</TaxPercentage>
          </Tax>
        </Line>
        <DocumentTotals>
          <TaxPayable>230.00</TaxPayable>
          <NetTotal>1000.00</NetTotal>
          <GrossTotal>1230.00</GrossTotal>
        </DocumentTotals>
        <WithholdingTax>
          <WithholdingTaxType>IRS</WithholdingTaxType>
          <WithholdingTaxAmount>250.00</WithholdingTaxAmount>
        </WithholdingTax>
      </Payment>
    </Payments>
  </SourceDocuments>
</AuditFile>
)";

}  // namespace foreign_audit_file_detail

inline SmallAuditFile ForeignAuditFile() { return SmallAuditFile(foreign_audit_file_detail::kTemplate); }

// UTF-8 text (as the template is) in a single-byte code page whose letters
// below U+0100 are Latin-1's: ISO-8859-1, and for these letters
// Windows-1252 and ISO-8859-15 too.
inline std::string Latin1Bytes(std::string_view utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      bytes += static_cast<char>(c);
    }
  }
  return bytes;
}

}  // namespace varnel::testing
