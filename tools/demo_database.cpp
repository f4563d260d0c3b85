// Fills a new point-of-sale database with a deterministic restaurant period.
//
// The period is a stream of events, each writing one to four documents:
//   1. table service: one or two table consultations (CM), then the sale that
//      closes the table (TK, FS or FA) with the consultations' lines, linked to
//      each consultation by a compensacoes row on the sale's day;
//   2. counter sale: one TK, FS, VD or FT;
//   3. company invoice: one FA to a company customer, sometimes with an IRS
//      withholding line, often on credit (pagamento 5) and then left open;
//   4. credit note: one NC crediting some lines of a recent sale; an NC for an
//      open invoice is settled together with it;
//   5. receipt: one RC settling the oldest open invoice (in full, or the first
//      half of it) and other open invoices of that customer, with their NCs.
// Document k of n falls on day k * days / n of the period, its time of day
// spread over the opening hours in step with k, so numbers rise with time.
#include "tools/demo_database.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <deque>
#include <optional>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "posdb/embedded_schema.h"
#include "tools/demo_catalogue.h"
#include "tools/demo_random.h"
#include "tools/sqlite_file.h"

namespace varnel::demo {

namespace {

using tools::SqliteFile;
using tools::SqliteStatement;

constexpr int kOpeningSecond = 8 * 3600;                // 08:00
constexpr int kClosingSecond = 23 * 3600 + 30 * 60;     // 23:30
constexpr int kLastSecond = 24 * 3600 - 1;
constexpr const char* kSourceId = "1";
constexpr int kCurrentSchemaMajor = 2016;
constexpr int kPaymentOnCredit = 5;
constexpr int kPaymentLeftOut = 6;  // internal consumption: the exporter leaves it out

// numerator / denominator (denominator > 0), halves away from zero.
std::int64_t DivideRounded(std::int64_t numerator, std::int64_t denominator) {
  std::int64_t quotient = numerator / denominator;
  std::int64_t remainder = numerator % denominator;
  if (2 * std::llabs(remainder) >= denominator) quotient += numerator < 0 ? -1 : 1;
  return quotient;
}

double FromCents(std::int64_t cents) { return static_cast<double>(cents) / 100.0; }
double FromTenThousandths(std::int64_t raw) { return static_cast<double>(raw) / 10000.0; }

std::string NumberText(std::int64_t value) { return std::to_string(value); }

struct SaleLine {
  int product = 0;
  std::string description;
  std::int64_t quantity_milli = 1000;  // thousandths
  std::int64_t unit_cents = 0;         // VAT included
  int vat = 0;
  std::int64_t discount_cents = 0;
  std::int64_t total_cents = 0;        // VAT included, after the discount
  std::int64_t net_raw = 0;            // ten-thousandths, VAT excluded
  std::string line_exemption;          // stored on the line (may be empty)
  std::string exemption;               // the line's or else its product's code
};

struct Party {
  std::int64_t customer = 0;
  std::optional<std::string> name;
  std::optional<std::string> address;
  std::optional<std::string> taxpayer;
};

struct Document {
  std::string code;
  std::int64_t number = 0;
  std::int64_t day = 0;
  int second = 0;
  Party party;
  std::vector<SaleLine> lines;
  bool annulled = false;
  int payment = 1;
  std::int64_t total_cents = 0;  // line totals, withholding included
  std::int64_t net_raw = 0;      // tax-exclusive amounts, withholding excluded
  bool has_withholding = false;
  // For receipts, which carry no lines: their amounts are set directly.
  std::optional<std::int64_t> receipt_total_cents;
  std::optional<std::int64_t> receipt_net_raw;
};

struct OpenCreditNote {
  std::int64_t number;
  std::int64_t total_cents;
  std::int64_t net_raw;
};

struct OpenInvoice {
  std::int64_t number;
  Party party;
  std::int64_t day;
  std::int64_t total_cents;
  std::int64_t net_raw;
  std::int64_t remaining_cents;
  bool partly_settled = false;
  std::vector<OpenCreditNote> credit_notes;
};

struct WalkInTaxpayer {
  std::string taxpayer;
  std::optional<std::string> name;
  std::optional<std::string> address;
};

struct CustomerRecord {
  std::int64_t code;
  Party party;
  bool company;
};

struct Stamp {
  std::int64_t day;
  int second;
};

Document NewDocument(std::string code) {
  Document document;
  document.code = std::move(code);
  return document;
}

// The number prefix of a document code, as the signed numbers carry it.
std::string NumberPrefix(const std::string& code) { return code == "TK" ? "TV" : code; }

class DemoGenerator {
 public:
  DemoGenerator(SqliteFile& file, const DemoDatabaseOptions& options)
      : m_file(file), m_options(options), m_random(options.seed) {}

  DemoDatabaseSummary Run() {
    m_file.ExecuteScript("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;", "pragmas");
    m_file.ExecuteScript(kEmbeddedSchemaSql, "schema");
    m_file.ExecuteScript("BEGIN", "begin");
    PrepareInserts();
    WriteMasterData();
    BuildWalkInTaxpayers();
    WriteDocuments();
    m_insert_document = {};
    m_insert_line = {};
    m_insert_settlement = {};
    m_file.ExecuteScript("COMMIT", "commit");
    return m_summary;
  }

 private:
  // --- Statements -----------------------------------------------------------

  void PrepareInserts() {
    m_insert_document = m_file.Prepare(
        "INSERT INTO documentos (doc, numero, data, datahora, cliente, nome, morada, contribuinte, "
        "total, liquido, anulado, hash, hashcontrol, saftsign, emp, CashVATScheme, pagamento, "
        "isencao) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
        "?17, ?18)",
        "insert documentos");
    m_insert_line = m_file.Prepare(
        "INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, valor, "
        "desconto, isencao, data) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)",
        "insert vendas");
    m_insert_settlement = m_file.Prepare(
        "INSERT INTO compensacoes (RC, FA, NC, TK, VD, FS, FT, CM, valor, data) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
        "insert compensacoes");
  }

  static void BindOptionalText(SqliteStatement& statement, int index,
                               const std::optional<std::string>& value) {
    if (value) {
      statement.BindText(index, *value);
    } else {
      statement.BindNull(index);
    }
  }

  static void BindTextOrNull(SqliteStatement& statement, int index, std::string_view value) {
    if (value.empty()) {
      statement.BindNull(index);
    } else {
      statement.BindText(index, value);
    }
  }

  // --- Master data ----------------------------------------------------------

  void WriteMasterData() {
    SqliteStatement version = m_file.Prepare("INSERT INTO versao (major) VALUES (?1)", "insert versao");
    version.BindInteger(1, kCurrentSchemaMajor);
    version.Execute();

    SqliteStatement rate = m_file.Prepare("INSERT INTO iva (codigo, descricao) VALUES (?1, ?2)",
                                          "insert iva");
    for (const DemoVatRate& entry : VatRates()) {
      rate.BindInteger(1, entry.rate);
      rate.BindText(2, entry.description);
      rate.Execute();
    }

    SqliteStatement exemption = m_file.Prepare(
        "INSERT INTO motivos_isencao (codigo, norma) VALUES (?1, ?2)", "insert motivos_isencao");
    for (const DemoExemption& entry : Exemptions()) {
      exemption.BindText(1, entry.code);
      exemption.BindText(2, entry.norm);
      exemption.Execute();
    }

    SqliteStatement unit = m_file.Prepare("INSERT INTO unidades (codigo, descricao) VALUES (?1, ?2)",
                                          "insert unidades");
    for (const DemoUnit& entry : Units()) {
      unit.BindInteger(1, entry.code);
      unit.BindText(2, entry.description);
      unit.Execute();
    }

    SqliteStatement product = m_file.Prepare(
        "INSERT INTO produtos (codigo, descricao, familia, unidade, isencao) "
        "VALUES (?1, ?2, ?3, ?4, ?5)",
        "insert produtos");
    for (const DemoProduct& entry : Products()) {
      product.BindInteger(1, entry.code);
      product.BindText(2, entry.description);
      product.BindInteger(3, entry.family);
      if (entry.unit == 0) {
        product.BindNull(4);
      } else {
        product.BindInteger(4, entry.unit);
      }
      BindTextOrNull(product, 5, entry.exemption != nullptr ? entry.exemption : "");
      product.Execute();
      ++m_summary.products;
    }

    SqliteStatement supplier = m_file.Prepare(
        "INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, "
        "codpostal1) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)",
        "insert fornecedores");
    std::int64_t supplier_code = 0;
    for (const DemoSupplier& entry : Suppliers()) {
      const DemoTown& town = Towns()[static_cast<std::size_t>(entry.town)];
      supplier.BindInteger(1, ++supplier_code);
      supplier.BindText(2, entry.name);
      BindTextOrNull(supplier, 3, entry.nif_base != nullptr ? NifWithCheckDigit(entry.nif_base) : "");
      supplier.BindText(4, entry.street);
      supplier.BindText(5, town.name);
      supplier.BindText(6, town.postal1);
      supplier.BindText(7, town.postal2);
      supplier.Execute();
      ++m_summary.suppliers;
    }

    WriteCustomers();
  }

  void WriteCustomers() {
    SqliteStatement customer = m_file.Prepare(
        "INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, "
        "codpostal1, datacriacao, valormov, valordivida) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 0, 0)",
        "insert clientes");
    std::int64_t code = 1;  // 1 is the final consumer, never a record
    auto write = [&](const std::string& name, const std::string& taxpayer,
                     const std::optional<std::string>& address, int town_index, bool company) {
      ++code;
      customer.BindInteger(1, code);
      customer.BindText(2, name);
      BindTextOrNull(customer, 3, taxpayer);
      BindOptionalText(customer, 4, address);
      if (town_index >= 0) {
        const DemoTown& town = Towns()[static_cast<std::size_t>(town_index)];
        customer.BindText(5, town.name);
        customer.BindText(6, town.postal1);
        customer.BindText(7, town.postal2);
      } else {
        customer.BindNull(5);
        customer.BindNull(6);
        customer.BindNull(7);
      }
      std::int64_t created = m_options.period.first_day - m_random.Between(30, 2500);
      customer.BindText(8, DayTimeText(created, 0));
      customer.Execute();
      ++m_summary.customers;

      CustomerRecord record{code, {}, company};
      record.party.customer = code;
      record.party.name = name;
      record.party.address = address;
      if (!taxpayer.empty()) record.party.taxpayer = taxpayer;
      m_customers.push_back(record);
      if (!taxpayer.empty()) m_used_taxpayers.insert(RemoveBlanks(taxpayer));
    };

    for (const DemoCustomer& entry : Customers()) {
      std::string taxpayer;
      if (entry.nif_base != nullptr) {
        taxpayer = NifWithCheckDigit(entry.nif_base);
        if (entry.typed_with_blanks) {
          taxpayer = taxpayer.substr(0, 3) + " " + taxpayer.substr(3, 3) + " " + taxpayer.substr(6);
        }
      }
      std::optional<std::string> address;
      if (entry.street != nullptr) address = entry.street;
      write(entry.name, taxpayer, address, entry.town, entry.company);
    }

    // More customers for bigger databases, so the master files grow with them.
    std::int64_t extra = m_options.documents / 150;
    for (std::int64_t i = 0; i < extra; ++i) {
      bool company = m_random.Chance(300);
      std::string name;
      if (company) {
        name = Pick(Surnames()) + std::string(" & ") + Pick(Surnames()) + ", Lda.";
      } else {
        name = Pick(FirstNames()) + std::string(" ") + Pick(Surnames()) + " " + Pick(Surnames());
      }
      std::string taxpayer;
      if (company || m_random.Chance(850)) taxpayer = NewTaxpayer(company ? "5" : "123");
      int town = static_cast<int>(m_random.Below(Towns().size()));
      write(name, taxpayer, StreetAddress(), town, company);
    }

    for (std::size_t i = 0; i < m_customers.size(); ++i) {
      if (m_customers[i].company) m_company_customers.push_back(i);
    }
  }

  // Taxpayer numbers that customers give at the counter without being
  // registered: the maintenance of the exporter turns them into customers.
  // Two of them belong to registered customers (found, not created), one is
  // typed with blanks.
  void BuildWalkInTaxpayers() {
    std::int64_t count = 6 + m_options.documents / 60;
    for (std::int64_t i = 0; i < count; ++i) {
      WalkInTaxpayer entry;
      const CustomerRecord* known = nullptr;
      if (i < 2) {
        // The first two registered people with a taxpayer number.
        std::int64_t skip = i;
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
      } else {
        entry.taxpayer = NewTaxpayer("123");
        if (i == 2) {
          entry.taxpayer = entry.taxpayer.substr(0, 3) + " " + entry.taxpayer.substr(3, 3) + " " +
                           entry.taxpayer.substr(6);
        }
        if (m_random.Chance(600)) {
          entry.name = Pick(FirstNames()) + std::string(" ") + Pick(Surnames());
        }
        if (m_random.Chance(400)) {
          entry.address = StreetAddress() + ", " + Towns()[m_random.Below(Towns().size())].name;
        }
      }
      m_walk_ins.push_back(std::move(entry));
    }
  }

  // --- Small helpers --------------------------------------------------------

  template <typename T>
  const T& Pick(std::span<const T> items) {
    return items[static_cast<std::size_t>(m_random.Below(items.size()))];
  }

  static std::string RemoveBlanks(const std::string& text) {
    std::string result;
    for (char c : text) {
      if (c != ' ') result += c;
    }
    return result;
  }

  // A valid taxpayer number that no one else in the database has, starting
  // with one of first_digits.
  std::string NewTaxpayer(std::string_view first_digits) {
    for (;;) {
      std::string base(1, first_digits[m_random.Below(first_digits.size())]);
      for (int i = 0; i < 7; ++i) base += static_cast<char>('0' + m_random.Below(10));
      std::string taxpayer = NifWithCheckDigit(base);
      if (m_used_taxpayers.insert(taxpayer).second) return taxpayer;
    }
  }

  std::string StreetAddress() {
    std::string address = Pick(Streets());
    address += ", ";
    address += NumberText(m_random.Between(1, 240));
    static constexpr const char* kFloors[] = {"", "", "", ", r/c", ", 1.º Esq.", ", 2.º Dto.",
                                              ", 3.º andar"};
    address += kFloors[m_random.Below(std::size(kFloors))];
    return address;
  }

  int PickPayment() {
    static constexpr int kWeights[] = {45, 35, 15, 5};  // cash, debit card, credit card, cheque
    return static_cast<int>(m_random.Weighted(kWeights)) + 1;
  }

  Party ConsumerParty(int taxpayer_per_mille) {
    Party party;
    if (m_random.Chance(taxpayer_per_mille)) {
      const WalkInTaxpayer& walk_in = Pick(std::span<const WalkInTaxpayer>(m_walk_ins));
      party.customer = m_random.Chance(700) ? 0 : 1;
      party.taxpayer = walk_in.taxpayer;
      party.name = walk_in.name;
      party.address = walk_in.address;
    } else if (m_random.Chance(30)) {
      party = Pick(std::span<const CustomerRecord>(m_customers)).party;
    } else {
      party.customer = m_random.Chance(800) ? 0 : 1;
    }
    return party;
  }

  // --- Lines ----------------------------------------------------------------

  enum class Context { Table, Counter, Invoice };

  const DemoProduct& PickProduct(Context context) {
    if (m_product_weights.empty()) {
      for (Context each : {Context::Table, Context::Counter, Context::Invoice}) {
        std::vector<int> weights;
        for (const DemoProduct& product : Products()) {
          weights.push_back(each == Context::Table     ? product.table_weight
                            : each == Context::Counter ? product.counter_weight
                                                       : product.invoice_weight);
        }
        m_product_weights.push_back(std::move(weights));
      }
    }
    const std::vector<int>& weights = m_product_weights[static_cast<std::size_t>(context)];
    return Products()[m_random.Weighted(weights)];
  }

  std::int64_t PickQuantityMilli(const DemoProduct& product, Context context) {
    if (product.by_weight) return m_random.Between(70, 360) * 5;  // 0.350 to 1.800 kg
    if (context == Context::Invoice) {
      switch (product.code) {
        case 81:
        case 82:
          return m_random.Between(6, 40) * 1000;
        case kRoomRentalProduct:
          return 1000;
        case 70:
        case 71:
          return m_random.Between(1, 3) * 1000;
        default:
          return m_random.Between(1, 12) * 1000;
      }
    }
    static constexpr int kWeights[] = {70, 20, 6, 4};
    return (static_cast<std::int64_t>(m_random.Weighted(kWeights)) + 1) * 1000;
  }

  SaleLine MakeLine(const DemoProduct& product, Context context) {
    SaleLine line;
    line.product = product.code;
    line.description = product.description;
    line.quantity_milli = PickQuantityMilli(product, context);
    line.unit_cents = product.price_cents;
    line.vat = product.vat;
    std::int64_t gross = DivideRounded(line.quantity_milli * line.unit_cents, 1000);
    if (m_random.Chance(50)) line.discount_cents = DivideRounded(gross * 10, 100);
    line.total_cents = gross - line.discount_cents;
    line.net_raw = DivideRounded(line.total_cents * 10000, 100 + line.vat);
    if (product.vat == 0) {
      if (product.exemption == nullptr) {
        line.line_exemption = "M07";
      } else if (m_random.Chance(500)) {
        line.line_exemption = product.exemption;
      }
      line.exemption = !line.line_exemption.empty() ? line.line_exemption : product.exemption;
    }
    return line;
  }

  std::vector<SaleLine> MakeLines(Context context, std::span<const int> count_weights) {
    std::size_t count = m_random.Weighted(count_weights) + 1;
    std::vector<SaleLine> lines;
    for (std::size_t i = 0; i < count; ++i) lines.push_back(MakeLine(PickProduct(context), context));
    return lines;
  }

  static SaleLine WithholdingLine(std::int64_t cents) {
    SaleLine line;
    line.product = kWithholdingProduct;
    line.description = kWithholdingDescription;
    line.quantity_milli = 1000;
    line.unit_cents = -cents;
    line.vat = 0;
    line.total_cents = -cents;
    line.net_raw = -cents * 100;
    return line;
  }

  // --- Time -----------------------------------------------------------------

  Stamp BaseStamp(std::int64_t index) const {
    std::int64_t days = m_options.period.length();
    std::int64_t total = m_options.documents;
    std::int64_t day = m_options.period.first_day + index * days / total;
    std::int64_t position = index * days % total;
    std::int64_t span = kClosingSecond - kOpeningSecond;
    return {day, static_cast<int>(kOpeningSecond + position * span / total)};
  }

  // The stamp of the next document. Documents of one event stay on the day of
  // its first document, a few minutes apart.
  Stamp TakeStamp() {
    std::int64_t days = m_options.period.length();
    std::int64_t span = kClosingSecond - kOpeningSecond;
    Stamp stamp = BaseStamp(m_produced);
    // Spread within the gap to the next document, never past closing time.
    std::int64_t gap = std::min({span * days / m_options.documents, span,
                                 static_cast<std::int64_t>(kClosingSecond - stamp.second)});
    stamp.second += static_cast<int>(m_random.Below(static_cast<std::uint64_t>(std::max<std::int64_t>(1, gap))));
    if (!m_event_started) {
      m_event_started = true;
    } else if (stamp.day != m_event_stamp.day || stamp.second <= m_event_stamp.second) {
      stamp = {m_event_stamp.day,
               std::min(kLastSecond, m_event_stamp.second + static_cast<int>(m_random.Between(60, 900)))};
    }
    stamp.second = std::min(stamp.second, kLastSecond);
    m_event_stamp = stamp;
    return stamp;
  }

  // --- Documents ------------------------------------------------------------

  struct Signature {
    std::string signed_number;
    std::string hash;
    std::string hash_control;
  };

  Signature Sign(const Document& document) {
    static constexpr char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    Signature signature;
    std::string prefix = NumberPrefix(document.code);
    std::uint64_t kind = m_random.Below(1000);
    if (kind < 20) {
      // Never signed: the exporter builds the number and writes Hash 0.
      signature.hash_control = "0";
      return signature;
    }
    if (kind < 40) {
      // Signed without a series letter: the exporter builds the number.
      signature.signed_number = prefix + " /" + NumberText(document.number);
    } else {
      signature.signed_number = prefix + " " +
                                static_cast<char>('A' + m_options.series_index - 1) + "/" +
                                NumberText(document.number);
    }
    // 128 bytes of RSA signature in base64: 171 characters and one "=".
    signature.hash.reserve(172);
    while (signature.hash.size() < 171) {
      std::uint64_t bits = m_random.Next();
      for (int i = 0; i < 10 && signature.hash.size() < 171; ++i, bits >>= 6) {
        signature.hash += kBase64[bits & 63];
      }
    }
    signature.hash += '=';
    signature.hash_control = "1";
    return signature;
  }

  void Emit(Document& document) {
    Stamp stamp = TakeStamp();
    document.day = stamp.day;
    document.second = stamp.second;
    document.number = ++m_numbers[document.code];
    document.total_cents = 0;
    document.net_raw = 0;
    std::string exemption;
    for (const SaleLine& line : document.lines) {
      document.total_cents += line.total_cents;
      if (line.product == kWithholdingProduct) {
        document.has_withholding = true;
        continue;
      }
      document.net_raw += line.net_raw;
      if (line.vat == 0 && exemption.empty()) exemption = line.exemption;
    }
    if (document.receipt_total_cents) document.total_cents = *document.receipt_total_cents;
    if (document.receipt_net_raw) document.net_raw = *document.receipt_net_raw;

    Signature signature = Sign(document);
    std::string day_text = DayTimeText(document.day, 0);
    SqliteStatement& insert = m_insert_document;
    insert.BindText(1, document.code);
    insert.BindInteger(2, document.number);
    insert.BindText(3, day_text);
    insert.BindText(4, DayTimeText(document.day, document.second));
    insert.BindInteger(5, document.party.customer);
    BindOptionalText(insert, 6, document.party.name);
    BindOptionalText(insert, 7, document.party.address);
    BindOptionalText(insert, 8, document.party.taxpayer);
    insert.BindReal(9, FromCents(document.total_cents));
    insert.BindReal(10, FromTenThousandths(document.net_raw));
    insert.BindInteger(11, document.annulled ? 1 : 0);
    insert.BindText(12, signature.hash);
    insert.BindText(13, signature.hash_control);
    insert.BindText(14, signature.signed_number);
    insert.BindText(15, kSourceId);
    insert.BindInteger(16, 0);
    insert.BindInteger(17, document.payment);
    BindTextOrNull(insert, 18, exemption);
    insert.Execute();

    for (const SaleLine& line : document.lines) {
      SqliteStatement& row = m_insert_line;
      row.BindText(1, document.code);
      row.BindInteger(2, document.number);
      row.BindInteger(3, line.product);
      row.BindText(4, line.description);
      row.BindReal(5, static_cast<double>(line.quantity_milli) / 1000.0);
      row.BindReal(6, FromCents(line.unit_cents));
      row.BindInteger(7, line.vat);
      row.BindReal(8, FromCents(line.total_cents));
      row.BindReal(9, FromTenThousandths(line.net_raw));
      row.BindReal(10, FromCents(line.discount_cents));
      BindTextOrNull(row, 11, line.line_exemption);
      row.BindText(12, day_text);
      row.Execute();
      ++m_summary.sale_lines;
      if (line.product == kWithholdingProduct) {
        ++m_summary.withholding_lines;
      } else if (line.vat == 0) {
        ++m_summary.exempt_lines;
      }
      if (line.discount_cents != 0) ++m_summary.discounted_lines;
    }

    ++m_produced;
    ++m_summary.documents;
    ++m_summary.documents_by_code[document.code];
    if (document.annulled) ++m_summary.annulled;
    if (document.payment == kPaymentLeftOut) ++m_summary.left_out;
    if (document.party.customer <= 1 && document.party.taxpayer) ++m_summary.without_customer;
  }

  // One compensacoes row: column names the settling or linked documents.
  void Settle(std::initializer_list<std::pair<const char*, std::int64_t>> columns,
              std::int64_t valor_cents, std::int64_t day) {
    static constexpr const char* kColumns[] = {"RC", "FA", "NC", "TK", "VD", "FS", "FT", "CM"};
    SqliteStatement& row = m_insert_settlement;
    for (int i = 0; i < 8; ++i) {
      row.BindNull(i + 1);
      for (const auto& [name, number] : columns) {
        if (std::string_view(name) == kColumns[i]) row.BindInteger(i + 1, number);
      }
    }
    row.BindReal(9, FromCents(valor_cents));
    row.BindText(10, DayTimeText(day, 0));
    row.Execute();
  }

  void RememberSale(const Document& document) {
    if (document.annulled || document.payment == kPaymentLeftOut || document.has_withholding) return;
    m_recent_sales.push_back(document);
    if (m_recent_sales.size() > 64) m_recent_sales.pop_front();
  }

  // --- Events ---------------------------------------------------------------

  void WriteDocuments() {
    enum Event { kTable, kCounter, kCompanyInvoice, kCreditNote, kReceipt };
    static constexpr int kWeights[] = {400, 400, 70, 30, 60};
    while (m_produced < m_options.documents) {
      m_event_started = false;
      std::int64_t remaining = m_options.documents - m_produced;
      switch (m_random.Weighted(kWeights)) {
        case kTable:
          if (remaining >= 2) {
            TableService(remaining);
          } else {
            CounterSale();
          }
          break;
        case kCounter:
          CounterSale();
          break;
        case kCompanyInvoice:
          CompanyInvoice();
          break;
        case kCreditNote:
          if (!CreditNote()) CounterSale();
          break;
        default:
          if (!Receipt()) CounterSale();
          break;
      }
    }
  }

  void TableService(std::int64_t remaining) {
    static constexpr int kLineCounts[] = {15, 25, 25, 15, 12, 8};
    static constexpr int kSaleCodes[] = {60, 30, 10};  // TK, FS, FA
    static constexpr const char* kCodes[] = {"TK", "FS", "FA"};
    std::int64_t consultations = remaining >= 3 && m_random.Chance(200) ? 2 : 1;
    bool annulled_first = remaining >= consultations + 2 && m_random.Chance(20);
    int payment = PickPayment();

    if (annulled_first) {
      // A consultation printed by mistake and annulled: linked to nothing.
      Document wrong = NewDocument("CM");
      wrong.lines = MakeLines(Context::Table, kLineCounts);
      wrong.annulled = true;
      wrong.payment = payment;
      Emit(wrong);
    }
    std::vector<Document> tables;
    for (std::int64_t i = 0; i < consultations; ++i) {
      Document consultation = NewDocument("CM");
      consultation.lines = MakeLines(Context::Table, kLineCounts);
      consultation.payment = payment;
      Emit(consultation);
      tables.push_back(std::move(consultation));
    }

    Document sale = NewDocument(kCodes[m_random.Weighted(kSaleCodes)]);
    for (const Document& consultation : tables) {
      sale.lines.insert(sale.lines.end(), consultation.lines.begin(), consultation.lines.end());
    }
    if (sale.code == "FA") {
      if (m_random.Chance(600)) {
        sale.party = Pick(std::span<const CustomerRecord>(m_customers)).party;
      } else {
        sale.party = ConsumerParty(1000);
        sale.party.customer = 0;
      }
    } else {
      sale.party = ConsumerParty(sale.code == "FS" ? 400 : 80);
    }
    sale.payment = payment;
    Emit(sale);
    for (const Document& consultation : tables) {
      Settle({{"CM", consultation.number}, {sale.code.c_str(), sale.number}},
             consultation.total_cents, sale.day);
      ++m_summary.consultation_links;
    }
    RememberSale(sale);
  }

  void CounterSale() {
    static constexpr int kLineCounts[] = {50, 35, 15};
    static constexpr int kSaleCodes[] = {70, 15, 8, 7};  // TK, FS, VD, FT
    static constexpr const char* kCodes[] = {"TK", "FS", "VD", "FT"};
    Document sale = NewDocument(kCodes[m_random.Weighted(kSaleCodes)]);
    sale.lines = MakeLines(Context::Counter, kLineCounts);
    sale.party = ConsumerParty(sale.code == "FS" ? 400 : sale.code == "FT" ? 500 : 80);
    if (sale.code == "FT" && m_random.Chance(400)) {
      sale.party = Pick(std::span<const CustomerRecord>(m_customers)).party;
    }
    sale.payment = PickPayment();
    if (sale.code == "TK" && sale.party.customer <= 1 && !sale.party.taxpayer) {
      // Staff meals: now and then, and on every tenth day of the period at least once.
      std::int64_t day = BaseStamp(m_produced).day;
      bool staff_day = (day - m_options.period.first_day) % 10 == 9 && day != m_last_staff_meal_day;
      if (staff_day || m_random.Chance(20)) {
        sale.payment = kPaymentLeftOut;
        m_last_staff_meal_day = day;
      }
    }
    sale.annulled = m_random.Chance(15);
    Emit(sale);
    RememberSale(sale);
  }

  void CompanyInvoice() {
    static constexpr int kLineCounts[] = {35, 35, 20, 10};
    Document invoice = NewDocument("FA");
    const CustomerRecord& customer =
        m_customers[m_company_customers[m_random.Below(m_company_customers.size())]];
    invoice.party = customer.party;
    invoice.lines = MakeLines(Context::Invoice, kLineCounts);
    std::int64_t withheld = 0;
    for (const SaleLine& line : invoice.lines) {
      if (line.product == kRoomRentalProduct) {
        withheld += DivideRounded(line.net_raw * kWithholdingPercent, 100 * 100);
      }
    }
    if (withheld != 0) invoice.lines.push_back(WithholdingLine(withheld));
    bool on_credit = m_random.Chance(700);
    invoice.payment = on_credit ? kPaymentOnCredit : PickPayment();
    invoice.annulled = !on_credit && m_random.Chance(15);
    Emit(invoice);
    if (on_credit) {
      m_open_invoices.push_back({invoice.number, invoice.party, invoice.day, invoice.total_cents,
                                 invoice.net_raw, invoice.total_cents, false, {}});
    }
    RememberSale(invoice);
  }

  bool CreditNote() {
    if (m_recent_sales.empty()) return false;
    std::size_t which = static_cast<std::size_t>(m_random.Below(m_recent_sales.size()));
    // Now and then the credited sale is an invoice still waiting for its receipt.
    if (m_random.Chance(400)) {
      for (std::size_t i = 0; i < m_recent_sales.size(); ++i) {
        const Document& sale = m_recent_sales[i];
        if (sale.code == "FA" && sale.payment == kPaymentOnCredit && IsOpenInFull(sale.number)) {
          which = i;
          break;
        }
      }
    }
    Document original = std::move(m_recent_sales[which]);
    m_recent_sales.erase(m_recent_sales.begin() + static_cast<std::ptrdiff_t>(which));

    Document note = NewDocument("NC");
    note.party = original.party;
    note.payment = original.payment;
    std::size_t count = original.lines.size();
    std::size_t credited = count == 1 ? 1 : static_cast<std::size_t>(m_random.Between(1, count - 1));
    for (std::size_t i = 0; i < credited; ++i) {
      SaleLine line = original.lines[count - 1 - i];
      if (count == 1 && line.quantity_milli >= 2000 && line.quantity_milli % 1000 == 0) {
        // One unit of the only line comes back.
        line.quantity_milli = 1000;
        line.discount_cents = 0;
        line.total_cents = line.unit_cents;
        line.net_raw = DivideRounded(line.total_cents * 10000, 100 + line.vat);
      }
      line.quantity_milli = -line.quantity_milli;
      line.discount_cents = -line.discount_cents;
      line.total_cents = -line.total_cents;
      line.net_raw = -line.net_raw;
      note.lines.push_back(std::move(line));
    }

    OpenInvoice* open = nullptr;
    if (original.code == "FA") {
      for (OpenInvoice& invoice : m_open_invoices) {
        if (invoice.number == original.number && !invoice.partly_settled) open = &invoice;
      }
    }
    note.annulled = open == nullptr && m_random.Chance(30);
    Emit(note);
    if (open != nullptr) {
      if (-note.total_cents < open->remaining_cents) {
        open->credit_notes.push_back({note.number, note.total_cents, note.net_raw});
      } else {
        // Credited in full: nothing is left for a receipt to settle.
        std::erase_if(m_open_invoices,
                      [&](const OpenInvoice& invoice) { return invoice.number == original.number; });
      }
    }
    return true;
  }

  bool IsOpenInFull(std::int64_t invoice_number) const {
    for (const OpenInvoice& invoice : m_open_invoices) {
      if (invoice.number == invoice_number) return !invoice.partly_settled;
    }
    return false;
  }

  bool Receipt() {
    if (m_open_invoices.empty()) return false;
    const Party party = m_open_invoices.front().party;
    bool annulled = m_random.Chance(10);

    // The oldest open invoice, and up to two more of the same customer.
    std::vector<std::size_t> chosen{0};
    for (std::size_t i = 1; i < m_open_invoices.size() && i < 30 && chosen.size() < 3; ++i) {
      if (m_open_invoices[i].party.customer == party.customer && m_random.Chance(500)) {
        chosen.push_back(i);
      }
    }

    struct Row {
      const char* column;
      std::int64_t number;
      std::int64_t cents;
    };
    std::vector<Row> rows;
    std::vector<std::size_t> settled;
    Document receipt = NewDocument("RC");
    receipt.party = party;
    receipt.payment = PickPayment();
    receipt.annulled = annulled;
    std::int64_t total = 0;
    std::int64_t net = 0;
    for (std::size_t index : chosen) {
      OpenInvoice& invoice = m_open_invoices[index];
      std::int64_t amount = invoice.remaining_cents;
      bool partial = invoice.credit_notes.empty() && !invoice.partly_settled &&
                     invoice.total_cents >= 2000 && m_random.Chance(150);
      if (partial) amount = DivideRounded(invoice.total_cents / 2, 100) * 100;
      rows.push_back({"FA", invoice.number, amount});
      total += amount;
      net += DivideRounded(amount * invoice.net_raw, invoice.total_cents);
      for (const OpenCreditNote& note : invoice.credit_notes) {
        rows.push_back({"NC", note.number, note.total_cents});
        total += note.total_cents;
        net += note.net_raw;
      }
      if (annulled) continue;  // an annulled receipt settles nothing
      if (partial) {
        invoice.partly_settled = true;
        invoice.remaining_cents -= amount;
      } else {
        settled.push_back(index);
      }
    }
    receipt.receipt_total_cents = total;
    receipt.receipt_net_raw = net;
    Emit(receipt);
    for (const Row& row : rows) {
      Settle({{"RC", receipt.number}, {row.column, row.number}}, row.cents, receipt.day);
      ++m_summary.settlements;
    }
    std::sort(settled.rbegin(), settled.rend());
    for (std::size_t index : settled) {
      m_open_invoices.erase(m_open_invoices.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return true;
  }

  SqliteFile& m_file;
  DemoDatabaseOptions m_options;
  DemoRandom m_random;
  DemoDatabaseSummary m_summary;

  SqliteStatement m_insert_document;
  SqliteStatement m_insert_line;
  SqliteStatement m_insert_settlement;

  std::vector<CustomerRecord> m_customers;
  std::vector<std::size_t> m_company_customers;
  std::set<std::string> m_used_taxpayers;
  std::vector<WalkInTaxpayer> m_walk_ins;
  std::vector<std::vector<int>> m_product_weights;

  std::map<std::string, std::int64_t> m_numbers;
  std::int64_t m_produced = 0;
  bool m_event_started = false;
  std::int64_t m_last_staff_meal_day = -1;
  Stamp m_event_stamp{0, 0};
  std::deque<Document> m_recent_sales;
  std::deque<OpenInvoice> m_open_invoices;
};

}  // namespace

DemoDatabaseSummary WriteDemoDatabase(const std::filesystem::path& path,
                                      const DemoDatabaseOptions& options) {
  if (options.documents < 1) throw std::invalid_argument("the number of documents must be at least 1");
  if (options.period.length() < 1) throw std::invalid_argument("the period must have at least one day");
  if (options.series_index < 1 || options.series_index > 26) {
    throw std::invalid_argument("the series index must be 1 to 26");
  }
  SqliteFile file(path, SqliteFile::Mode::Create);
  DemoDatabaseSummary summary;
  {
    DemoGenerator generator(file, options);
    summary = generator.Run();
  }
  file.Close();
  return summary;
}

}  // namespace varnel::demo
