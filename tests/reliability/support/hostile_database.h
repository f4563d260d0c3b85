// Small point-of-sale databases filled with hostile content, built from a
// seed: XML specials, control characters, characters outside Windows-1252
// and outside the Basic Multilingual Plane, invalid UTF-8, empty, very long
// and blank-only texts in every text column the export reads, NULL wherever
// a column takes it, extreme and negative amounts and quantities, dates at
// 1899-12-30 and in year 9999. The same seed always builds the same
// database (the generator draws from std::mt19937_64, whose sequence the
// standard fixes, and never from a distribution, whose results it does not).
//
// A case is tame when every value is one the export can represent; it must
// then complete. It is wild when some value cannot be represented (an amount
// beyond the range of Currency, a date outside years 1 to 9999, a word in a
// number column, a VAT rate that leaves nothing to divide by); a wild case
// may instead stop with a clear error. The case remembers what made it wild
// and which documents the period should list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "section/export_request.h"
#include "section/schema_generation.h"
#include "support/test_database.h"

namespace varnel::testing::reliability {

// One row of documentos as far as the selection of the period depends on it.
struct HostileDocument {
  std::string doc;                          // as stored, trailing blanks included
  std::int64_t numero = 0;
  std::optional<std::string> data;          // the stored text; nullopt for NULL or a number
  std::optional<std::int64_t> pagamento;    // nullopt for NULL
};

struct HostileCase {
  std::uint64_t seed = 0;
  ExportRequest request;                    // period, region and series of the case
  std::string period_start;                 // stored form of the first day, 00:00:00
  std::string period_end;                   // stored form of the last day, 00:00:00
  std::vector<HostileDocument> documents;
  std::vector<std::string> wild_values;     // what makes the case wild; empty when tame

  bool wild() const { return !wild_values.empty(); }
  // The documents the period lists, by the selection rules of the queries:
  // the code (trailing blanks aside) and the stored date between the two
  // period days compared as stored text, and for sales and consultation
  // documents a pagamento that is not NULL and not 6.
  int ExpectedInvoices(SchemaGeneration generation) const;
  int ExpectedWorkDocuments() const;
  int ExpectedPayments() const;
};

// Fills database (the fixture's embedded schema, no rows) from seed. With
// allow_wild false every value is tame.
HostileCase BuildHostileCase(std::uint64_t seed, TestDatabase& database, bool allow_wild);

// Sets versao for the generation: Current gets a major of 2011 or later,
// Legacy one of three forms (no row, 2010, NULL), chosen by variant.
void SetGeneration(TestDatabase& database, SchemaGeneration generation, std::uint64_t variant);

}  // namespace varnel::testing::reliability
