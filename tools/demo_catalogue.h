// The fixed master data of the demo restaurant: VAT rates, exemption norms,
// units, products, customers, suppliers, towns and the company itself. Texts
// are UTF-8 Portuguese with accents; a few names carry letters that Windows-1252
// lacks (Ł, ő, ş, ś, ź, ǐ and two CJK characters) so the exporter's best-fit
// conversion is exercised. Every exempt product names a code that the norm
// table knows, and every norm is at least 6 characters long.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace varnel::demo {

struct DemoVatRate {
  int rate;
  const char* description;
};

struct DemoExemption {
  const char* code;  // at most 5 characters
  const char* norm;
};

struct DemoUnit {
  int code;
  const char* description;  // at most 20 characters
};

struct DemoProduct {
  int code;
  const char* description;
  int family;
  int unit;                // 0: the product has no unit (exported as "N/D")
  int vat;                 // rate in whole percent
  int price_cents;         // unit price, VAT included
  const char* exemption;   // code in the norm table, or nullptr
  bool by_weight;          // sold by the kilogram, in fractional quantities
  int table_weight;        // how often it is ordered at a table
  int counter_weight;      // ... over the counter
  int invoice_weight;      // ... on a company invoice
};

struct DemoTown {
  const char* name;
  const char* postal1;  // four digits
  const char* postal2;  // three digits
};

struct DemoCustomer {
  const char* name;
  const char* nif_base;  // the first 8 digits of the taxpayer number, or nullptr
  const char* street;
  int town;              // index into Towns()
  bool company;          // buys on invoices, on credit, settled by receipts
  bool typed_with_blanks;  // taxpayer number stored as "123 456 789"
};

struct DemoSupplier {
  const char* name;
  const char* nif_base;  // or nullptr
  const char* street;
  int town;
};

struct DemoCompany {
  std::string company_id;  // a valid (fictitious) taxpayer number
  const char* company_name;
  const char* building_number;
  const char* street_name;
  const char* address_detail;
  const char* city;
  const char* postal_code1;
  const char* postal_code2;
  const char* establishment;  // at most 20 characters
  int tax_country_region;     // 0 Continente
};

// The product code of a withholding line.
inline constexpr int kWithholdingProduct = -999;
inline constexpr const char* kWithholdingDescription = "Retenção na fonte de IRS";
// The product whose sale to a company is subject to IRS withholding, and the rate.
inline constexpr int kRoomRentalProduct = 80;
inline constexpr int kWithholdingPercent = 25;

std::span<const DemoVatRate> VatRates();
std::span<const DemoExemption> Exemptions();
std::span<const DemoUnit> Units();
std::span<const DemoProduct> Products();
std::span<const DemoTown> Towns();
std::span<const DemoCustomer> Customers();
std::span<const DemoSupplier> Suppliers();
std::span<const char* const> FirstNames();
std::span<const char* const> Surnames();
std::span<const char* const> Streets();
const DemoCompany& Company();

// The product of a code, or nullptr.
const DemoProduct* FindProduct(int code);

// eight_digits followed by the check digit of a Portuguese taxpayer number
// (weights 9 to 2, modulo 11; a remainder below 2 gives 0).
std::string NifWithCheckDigit(std::string_view eight_digits);

}  // namespace varnel::demo
