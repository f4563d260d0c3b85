// The demo point-of-sale database: a new SQLite file with the embedded Korvel
// schema, a restaurant's master data and a period of documents (tickets,
// invoices, simplified invoices, sale receipts, credit notes, table
// consultations and receipts settling invoices). The same options give the
// same bytes. Amounts are whole cents or ten-thousandths and agree: a
// document's total is the sum of its line totals (withholding included), its
// net amount the sum of the tax-exclusive line amounts, each line's being its
// total / ((100 + rate) / 100) rounded to four decimals.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "tools/demo_calendar.h"

namespace varnel::demo {

struct DemoDatabaseOptions {
  DayPeriod period;
  std::int64_t documents = 300;  // exactly this many rows in documentos
  std::uint64_t seed = 1;
  int series_index = 1;          // letter of the signed numbers: 1 is "A"
  bool atcud_codes = false;      // the working directory's Varnel.ini also gets ATCUD codes
  // Documents in a thousand never signed, and signed under a number stored
  // without its series letter (see demo_signature.h); together at most 1000.
  int unsigned_per_thousand = 0;
  int without_series_letter_per_thousand = 20;
  // Counter sales as tickets (TK) and cash sales (VD), as a point of sale
  // issued them before 2013, whatever the period.
  bool legacy_tickets = false;
};

// A present-day point of sale (a period from 2013 on, unless legacy_tickets):
// counter sales and the sales that close a table are simplified invoices
// (FS), not tickets (TK) or cash sales (VD), types retired at the end of
// 2012; a staff meal stays an internal ticket (TK, pagamento 6), which no
// audit file lists; and every registered customer has a taxpayer number.
bool IsPresentDay(const DemoDatabaseOptions& options);

struct DemoDatabaseSummary {
  std::map<std::string, std::int64_t> documents_by_code;
  std::int64_t documents = 0;
  std::int64_t sale_lines = 0;          // rows of vendas, withholding lines included
  std::int64_t withholding_lines = 0;
  std::int64_t exempt_lines = 0;        // rate 0, withholding lines excluded
  std::int64_t discounted_lines = 0;
  std::int64_t annulled = 0;
  std::int64_t left_out = 0;            // pagamento 6: not in the audit file
  std::int64_t without_customer = 0;    // a taxpayer number but customer 0 or 1
  std::int64_t signed_documents = 0;    // with a Hash of the demo key
  std::int64_t never_signed = 0;        // documents the audit file signs, left unsigned
  std::int64_t without_series_letter = 0;  // signed numbers stored as "FT /12"
  std::int64_t consultation_links = 0;  // compensacoes rows CM -> sale
  std::int64_t settlements = 0;         // compensacoes rows RC -> FA or NC
  std::int64_t customers = 0;
  std::int64_t suppliers = 0;
  std::int64_t products = 0;
};

// Creates the file at path (which must not exist yet) and fills it. Raises
// tools::SqliteError when SQLite fails and std::invalid_argument for options out of
// range (no documents, an empty period, a series outside 1 to 26, shares of
// signed numbers below 0 or above 1000 together).
DemoDatabaseSummary WriteDemoDatabase(const std::filesystem::path& path,
                                      const DemoDatabaseOptions& options);

}  // namespace varnel::demo
