// The people and companies who buy at the demo restaurant: the customers of
// clientes (the catalogue's, then about one more for every 150 documents;
// before 2013 a few are registered without a taxpayer number, from 2013 on
// every one has one), and the taxpayer numbers that customers give at the
// counter without being registered. Every taxpayer number made up here is valid and given to one
// party only; customer 1 is the final consumer and never a record. The list
// lives as long as the generator and is read by the parts that write sales.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/demo_database.h"
#include "tools/demo_document.h"
#include "tools/demo_random.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {

class DemoCustomers {
 public:
  DemoCustomers(tools::SqliteFile& file, const DemoDatabaseOptions& options, DemoRandom& random,
                DemoDatabaseSummary& summary);

  // Writes clientes; counts the customers into the summary.
  void Write();
  // The counter's unregistered taxpayer numbers (after Write: two of them
  // belong to registered customers).
  void BuildWalkInTaxpayers();

  // The party of a sale to whoever comes in: with the chance of
  // taxpayer_per_mille a walk-in taxpayer number, else now and then a
  // registered customer, else no one (customer 0 or 1).
  Party ConsumerParty(int taxpayer_per_mille);
  // Any registered customer, and any company customer.
  Party AnyCustomer();
  Party AnyCompanyCustomer();

 private:
  struct CustomerRecord {
    std::int64_t code;
    Party party;
    bool company;
  };
  struct WalkInTaxpayer {
    std::string taxpayer;
    std::optional<std::string> name;
    std::optional<std::string> address;
  };

  void WriteCatalogueCustomers(tools::SqliteStatement& insert);
  void WriteMoreCustomers(tools::SqliteStatement& insert);
  void WriteCustomer(tools::SqliteStatement& insert, const std::string& name,
                     const std::string& taxpayer, const std::optional<std::string>& address,
                     int town_index, bool company);
  WalkInTaxpayer NewWalkIn(std::int64_t index);
  std::string NewTaxpayer(std::string_view first_digits);
  std::string StreetAddress();

  tools::SqliteFile& m_file;
  const DemoDatabaseOptions& m_options;
  DemoRandom& m_random;
  DemoDatabaseSummary& m_summary;

  std::int64_t m_last_code = 1;  // 1 is the final consumer, never a record
  std::vector<CustomerRecord> m_customers;
  std::vector<std::size_t> m_company_customers;
  std::set<std::string> m_used_taxpayers;
  std::vector<WalkInTaxpayer> m_walk_ins;
};

}  // namespace varnel::demo
