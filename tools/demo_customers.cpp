// Writes the demo customers and makes up the counter's taxpayer numbers.
// The chance draws come in a fixed order (each customer's name, number,
// town and creation day; then each walk-in's number, name and address), so
// one seed always gives the same people. A taxpayer number typed with blanks
// ("123 456 789") counts as the same number as without them.
#include "tools/demo_customers.h"

#include <span>
#include <utility>

#include "tools/demo_calendar.h"
#include "tools/demo_catalogue.h"

namespace varnel::demo {

namespace {

std::string RemoveBlanks(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c != ' ') result += c;
  }
  return result;
}

}  // namespace

DemoCustomers::DemoCustomers(tools::SqliteFile& file, const DemoDatabaseOptions& options,
                             DemoRandom& random, DemoDatabaseSummary& summary)
    : m_file(file), m_options(options), m_random(random), m_summary(summary) {}

void DemoCustomers::Write() {
  tools::SqliteStatement insert = m_file.Prepare(
      "INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, "
      "codpostal1, datacriacao, valormov, valordivida) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 0, 0)",
      "insert clientes");
  WriteCatalogueCustomers(insert);
  // More customers for bigger databases, so the master files grow with them.
  WriteMoreCustomers(insert);
  for (std::size_t i = 0; i < m_customers.size(); ++i) {
    if (m_customers[i].company) m_company_customers.push_back(i);
  }
}

void DemoCustomers::WriteCatalogueCustomers(tools::SqliteStatement& insert) {
  for (const DemoCustomer& entry : Customers()) {
    std::string taxpayer;
    if (entry.nif_base != nullptr) {
      taxpayer = NifWithCheckDigit(entry.nif_base);
      if (entry.typed_with_blanks) {
        taxpayer = taxpayer.substr(0, 3) + " " + taxpayer.substr(3, 3) + " " + taxpayer.substr(6);
      }
    }
    // Today a registered customer is registered with a taxpayer number.
    if (taxpayer.empty() && IsPresentDay(m_options)) taxpayer = NewTaxpayer("123");
    std::optional<std::string> address;
    if (entry.street != nullptr) address = entry.street;
    WriteCustomer(insert, entry.name, taxpayer, address, entry.town, entry.company);
  }
}

void DemoCustomers::WriteMoreCustomers(tools::SqliteStatement& insert) {
  std::int64_t extra = m_options.documents / 150;
  for (std::int64_t i = 0; i < extra; ++i) {
    bool company = m_random.Chance(300);
    std::string name;
    if (company) {
      name = m_random.Pick(Surnames()) + std::string(" & ") + m_random.Pick(Surnames()) + ", Lda.";
    } else {
      name = m_random.Pick(FirstNames()) + std::string(" ") + m_random.Pick(Surnames()) + " " +
             m_random.Pick(Surnames());
    }
    std::string taxpayer;
    const bool given = company || m_random.Chance(850);
    if (given || IsPresentDay(m_options)) taxpayer = NewTaxpayer(company ? "5" : "123");
    int town = static_cast<int>(m_random.Below(Towns().size()));
    WriteCustomer(insert, name, taxpayer, StreetAddress(), town, company);
  }
}

// One clientes row under the next code, and its record for the sales.
void DemoCustomers::WriteCustomer(tools::SqliteStatement& insert, const std::string& name,
                                  const std::string& taxpayer,
                                  const std::optional<std::string>& address, int town_index,
                                  bool company) {
  ++m_last_code;
  insert.BindInteger(1, m_last_code);
  insert.BindText(2, name);
  insert.BindTextOrNull(3, taxpayer);
  insert.BindOptionalText(4, address);
  if (town_index >= 0) {
    const DemoTown& town = Towns()[static_cast<std::size_t>(town_index)];
    insert.BindText(5, town.name);
    insert.BindText(6, town.postal1);
    insert.BindText(7, town.postal2);
  } else {
    insert.BindNull(5);
    insert.BindNull(6);
    insert.BindNull(7);
  }
  std::int64_t created = m_options.period.first_day - m_random.Between(30, 2500);
  insert.BindText(8, DayTimeText(created, 0));
  insert.Execute();
  ++m_summary.customers;

  CustomerRecord record{m_last_code, {}, company};
  record.party.customer = m_last_code;
  record.party.name = name;
  record.party.address = address;
  if (!taxpayer.empty()) record.party.taxpayer = taxpayer;
  m_customers.push_back(record);
  if (!taxpayer.empty()) m_used_taxpayers.insert(RemoveBlanks(taxpayer));
}

// Taxpayer numbers that customers give at the counter without being
// registered: the maintenance of the exporter turns them into customers.
// Two of them belong to registered customers (found, not created), one is
// typed with blanks.
void DemoCustomers::BuildWalkInTaxpayers() {
  std::int64_t count = 6 + m_options.documents / 60;
  for (std::int64_t i = 0; i < count; ++i) m_walk_ins.push_back(NewWalkIn(i));
}

DemoCustomers::WalkInTaxpayer DemoCustomers::NewWalkIn(std::int64_t index) {
  WalkInTaxpayer entry;
  const CustomerRecord* known = nullptr;
  if (index < 2) {
    // The first two registered people with a taxpayer number.
    std::int64_t skip = index;
    for (const CustomerRecord& customer : m_customers) {
      if (!customer.company && customer.party.taxpayer && skip-- == 0) {
        known = &customer;
        break;
      }
    }
  }
  if (known != nullptr) {
    entry.taxpayer = *known->party.taxpayer;
    entry.name = known->party.name;
    return entry;
  }
  entry.taxpayer = NewTaxpayer("123");
  if (index == 2) {
    entry.taxpayer = entry.taxpayer.substr(0, 3) + " " + entry.taxpayer.substr(3, 3) + " " +
                     entry.taxpayer.substr(6);
  }
  if (m_random.Chance(600)) {
    entry.name = m_random.Pick(FirstNames()) + std::string(" ") + m_random.Pick(Surnames());
  }
  if (m_random.Chance(400)) {
    entry.address = StreetAddress() + ", " + Towns()[m_random.Below(Towns().size())].name;
  }
  return entry;
}

// A valid taxpayer number that no one else in the database has, starting
// with one of first_digits.
std::string DemoCustomers::NewTaxpayer(std::string_view first_digits) {
  for (;;) {
    std::string base(1, first_digits[m_random.Below(first_digits.size())]);
    for (int i = 0; i < 7; ++i) base += static_cast<char>('0' + m_random.Below(10));
    std::string taxpayer = NifWithCheckDigit(base);
    if (m_used_taxpayers.insert(taxpayer).second) return taxpayer;
  }
}

std::string DemoCustomers::StreetAddress() {
  std::string address = m_random.Pick(Streets());
  address += ", ";
  address += std::to_string(m_random.Between(1, 240));
  static constexpr const char* kFloors[] = {"", "", "", ", r/c", ", 1.º Esq.", ", 2.º Dto.",
                                            ", 3.º andar"};
  address += kFloors[m_random.Below(std::size(kFloors))];
  return address;
}

Party DemoCustomers::ConsumerParty(int taxpayer_per_mille) {
  Party party;
  if (m_random.Chance(taxpayer_per_mille)) {
    const WalkInTaxpayer& walk_in = m_random.Pick(std::span<const WalkInTaxpayer>(m_walk_ins));
    party.customer = m_random.Chance(700) ? 0 : 1;
    party.taxpayer = walk_in.taxpayer;
    party.name = walk_in.name;
    party.address = walk_in.address;
  } else if (m_random.Chance(30)) {
    party = AnyCustomer();
  } else {
    party.customer = m_random.Chance(800) ? 0 : 1;
  }
  return party;
}

Party DemoCustomers::AnyCustomer() {
  return m_random.Pick(std::span<const CustomerRecord>(m_customers)).party;
}

Party DemoCustomers::AnyCompanyCustomer() {
  return m_customers[m_company_customers[m_random.Below(m_company_customers.size())]].party;
}

}  // namespace varnel::demo
