// The hostile database generator. Every table the export reads gets a few
// rows; every text column draws from the hostile text pieces below, every
// amount, quantity, rate and date from its tame list and, in a wild case,
// now and then from its wild list (noted in the case).
#include "reliability/support/hostile_database.h"

#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <utility>

#include "base/utf8.h"
#include "support/export_harness.h"

namespace varnel::testing::reliability {

namespace {

constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();

std::string CodePoint(char32_t code_point) {
  std::string text;
  AppendUtf8(text, code_point);
  return text;
}

// The pieces hostile texts are made of.
const std::vector<std::string>& TextPieces() {
  static const std::vector<std::string> pieces = {
      // XML specials and markup look-alikes
      "&", "<", ">", "\"", "'", "&amp;", "&lt;", "&#0;", "&#x1F;", "&bogus;", "<![CDATA[", "]]>", "<!--", "-->",
      "</Customer>", "<Invoice>", "<?xml", "--",
      // control characters (NUL included), line breaks and tabs
      std::string(1, '\0'), "\x01", "\x08", "\x0B", "\x0C", "\x1B", "\x1F", "\x7F", "\t", "\r\n", "\r", "\n",
      // C1 controls, the five code points Windows-1252 leaves undefined among them
      CodePoint(0x80), CodePoint(0x81), CodePoint(0x8D), CodePoint(0x8F), CodePoint(0x90), CodePoint(0x9D),
      CodePoint(0x9F),
      // outside Windows-1252 in the Basic Multilingual Plane, with and without best fit
      CodePoint(0x3A9), CodePoint(0x3C0), CodePoint(0x4E2D), CodePoint(0xFB01), CodePoint(0x2028),
      CodePoint(0xFF06), CodePoint(0xFF1C), CodePoint(0xFF02), CodePoint(0x2039), CodePoint(0xFFFD),
      CodePoint(0xFFFE), CodePoint(0xFFFF),
      // Windows-1252 beyond ASCII
      CodePoint(0x20AC), CodePoint(0x2026), CodePoint(0x2018), CodePoint(0xE7), CodePoint(0xC3), "Ação",
      // outside the Basic Multilingual Plane
      CodePoint(0x1F600), CodePoint(0x1D518), CodePoint(0x10FFFF),
      // invalid UTF-8: stray continuation, overlong, surrogate, beyond U+10FFFF, cut sequences
      "\x80", "\xC0\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80", "\xFF", "\xFE", "\xE2\x82", "\xC3", "\xF0\x9F\x98",
      // texts that read as numbers, or nearly
      "0x1F", "-001", "1e999", "$FF", "  7", "-1", "123456789", "12 345",
      // blanks
      " ", "  ", "\t ",
      // ordinary words and document numbers
      "Rua", "Lisboa", "A", "/", " /", "FT A/12", "M07", "Isento artigo 9.º",
  };
  return pieces;
}

class CaseRandom {
 public:
  explicit CaseRandom(std::uint64_t seed) : m_engine(seed) {}
  std::uint64_t Next() { return m_engine(); }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(m_engine() % n); }
  bool Percent(int p) { return static_cast<int>(m_engine() % 100) < p; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }

 private:
  std::mt19937_64 m_engine;
};

std::string RightTrimSpaces(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Two(int value) { return value < 10 ? "0" + std::to_string(value) : std::to_string(value); }

std::string DayText(int year, int month, int day, const std::string& time = "00:00:00") {
  std::string y = std::to_string(year);
  while (y.size() < 4) y = "0" + y;
  return y + "-" + Two(month) + "-" + Two(day) + " " + time;
}

struct Period {
  int year;
  int month;
  int first_day;
  int last_day;
};

class Generator {
 public:
  Generator(std::uint64_t seed, TestDatabase& database, bool allow_wild)
      : m_random(seed), m_database(database), m_allow_wild(allow_wild) {
    m_case.seed = seed;
  }

  HostileCase Build() {
    ChoosePeriod();
    AddMasterTables();
    AddDocuments();
    AddSettlements();
    AddStrayBlobs();
    return std::move(m_case);
  }

 private:
  // ---- values ----

  // The chance (in percent) of a wild value where one may stand.
  bool Wild() { return m_allow_wild && m_random.Percent(6); }

  void NoteWild(const std::string& what) { m_case.wild_values.push_back(what); }

  std::string HostileString() {
    const auto& pieces = TextPieces();
    switch (m_random.Below(10)) {
      case 0:
        return "";
      case 1: {
        std::string blanks;
        for (std::size_t i = 0, n = 1 + m_random.Below(5); i < n; ++i) blanks += m_random.Percent(70) ? " " : "\t";
        return blanks;
      }
      case 2: {
        // Long: past every cut the export makes (20, 50, 60, 90 characters)
        // and far beyond, with pieces of every width straddling the cuts.
        static const std::vector<std::size_t> lengths = {19, 21, 49, 51, 59, 61, 89, 91, 256, 4000, 70000};
        const std::size_t length = m_random.Pick(lengths);
        std::string text;
        while (text.size() < length) text += m_random.Pick(pieces);
        return text;
      }
      case 3: {
        const std::string& piece = m_random.Pick(pieces);
        std::string text;
        for (std::size_t i = 0, n = 40 + m_random.Below(40); i < n; ++i) text += piece;
        return text;
      }
      default: {
        std::string text;
        for (std::size_t i = 0, n = 1 + m_random.Below(5); i < n; ++i) text += m_random.Pick(pieces);
        return text;
      }
    }
  }

  // A value for a text column: mostly hostile text, sometimes NULL or a number.
  SqlValue Text() {
    if (m_random.Percent(10)) return nullptr;
    if (m_random.Percent(4)) return static_cast<std::int64_t>(m_random.Below(2000)) - 1000;
    if (m_random.Percent(2)) return 2.5;
    return HostileString();
  }

  SqlValue Amount(const char* where) {
    static const std::vector<SqlValue> tame = {
        nullptr, std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, 1.5, -3.25, 0.01, 12345.6789,
        -99999.99, 100000.0, std::int64_t{7}, std::string("12.50"), -0.00005, 0.125, 2.675};
    static const std::vector<SqlValue> wild = {
        std::string("922337203685477.5807"), std::string("-922337203685477.5808"), 1e15, 1e300, -1e300,
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), std::string("muito"),
        std::string("1e999")};
    if (Wild()) {
      NoteWild(std::string(where) + " amount");
      // Text in a number column: a word, or anything at all.
      if (m_random.Percent(30)) return HostileString();
      return m_random.Pick(wild);
    }
    return m_random.Pick(tame);
  }

  SqlValue Quantity() {
    static const std::vector<SqlValue> tame = {nullptr, std::int64_t{0}, std::int64_t{1}, 2.5, std::int64_t{-1},
                                               1000.0, 0.001, std::int64_t{3}, -0.5};
    static const std::vector<SqlValue> wild = {1e300, -1e300, 1e-300, std::numeric_limits<double>::infinity(),
                                               std::string("dois")};
    if (Wild()) {
      NoteWild("vendas.qtd");
      return m_random.Pick(wild);
    }
    return m_random.Pick(tame);
  }

  SqlValue Rate() {
    static const std::vector<SqlValue> tame = {nullptr, std::int64_t{0}, std::int64_t{6}, std::int64_t{13},
                                               std::int64_t{23}, std::int64_t{23}, std::int64_t{-5},
                                               std::int64_t{100}, 6.5};
    static const std::vector<SqlValue> wild = {std::int64_t{-100}, std::int64_t{4000000000}, 1e20,
                                               std::string("vinte")};
    if (Wild()) {
      NoteWild("vendas.iva");
      return m_random.Pick(wild);
    }
    return m_random.Pick(tame);
  }

  SqlValue SmallInteger(const char* where) {
    static const std::vector<SqlValue> tame = {nullptr, std::int64_t{0}, std::int64_t{1}, std::int64_t{2},
                                               std::int64_t{-3}, std::int64_t{7}};
    if (Wild()) {
      NoteWild(where);
      return std::string("talvez");
    }
    return m_random.Pick(tame);
  }

  // ---- period and dates ----

  void ChoosePeriod() {
    static const std::vector<Period> periods = {
        {2016, 1, 1, 31}, {2016, 1, 1, 31}, {2016, 1, 1, 31}, {2016, 1, 1, 31}, {2016, 2, 1, 29},
        {1899, 12, 30, 31}, {9999, 12, 1, 31}};
    m_period = m_random.Pick(periods);
    ExportRequest request = DefaultRequest();
    request.datai = DateTime::FromDate(m_period.year, m_period.month, m_period.first_day);
    request.dataf = DateTime::FromDate(m_period.year, m_period.month, m_period.last_day);
    static const std::vector<TaxRegion> regions = {TaxRegion::Continente, TaxRegion::Continente, TaxRegion::Madeira,
                                                   TaxRegion::Acores, TaxRegion::NothingChosen};
    static const std::vector<int> series = {0, 0, 1, 26, -1};
    request.company.taxCountryRegion = m_random.Pick(regions);
    request.fserienum = SeriesIndex(m_random.Pick(series));
    if (m_random.Percent(30)) {
      // What the operator typed can be as hostile as the database.
      request.company.companyID = m_random.Percent(50) ? " 123456789\t" : request.company.companyID;
      request.company.companyName = HostileString();
      request.company.streetName = HostileString();
      request.company.addressDetail = HostileString();
      request.company.buildingNumber = HostileString();
      request.company.postalCode1 = HostileString();
      request.company.postalCode2 = HostileString();
      request.company.city = HostileString();
      request.company.estabelecimento = HostileString();
    }
    m_case.request = request;
    m_case.period_start = DayText(m_period.year, m_period.month, m_period.first_day);
    m_case.period_end = DayText(m_period.year, m_period.month, m_period.last_day);
  }

  int DayInPeriod() {
    return m_period.first_day + static_cast<int>(m_random.Below(static_cast<std::size_t>(m_period.last_day -
                                                                                          m_period.first_day + 1)));
  }

  // A document date: the value to store and, when it is a text, that text.
  std::pair<SqlValue, std::optional<std::string>> DocumentDate() {
    auto text = [](const std::string& value) -> std::pair<SqlValue, std::optional<std::string>> {
      return {value, value};
    };
    switch (m_random.Below(14)) {
      case 0:
        return {nullptr, std::nullopt};
      case 1:
        return text(m_case.period_start);
      case 2:
        return text(m_case.period_end);
      case 3:  // the last day after midnight: beyond the period's last bound
        return text(DayText(m_period.year, m_period.month, m_period.last_day, "10:30:00"));
      case 4:
        return text("1899-12-30 00:00:00");
      case 5:
        return text("9999-12-31 00:00:00");
      case 6:
        return text("9999-12-31 23:59:59");
      case 7:  // a day number instead of a text: never between two texts
        return {42375.5, std::nullopt};
      case 8:  // the date alone, without a time
        return text(DayText(m_period.year, m_period.month, DayInPeriod()).substr(0, 10));
      case 9:
        if (Wild()) {
          NoteWild("documentos.data not a date");
          return text(DayText(m_period.year, m_period.month, m_period.first_day, "25:61:99"));
        }
        [[fallthrough]];
      default:
        return text(DayText(m_period.year, m_period.month, DayInPeriod()));
    }
  }

  // A date-time that the export reads but that does not select anything.
  SqlValue EntryDate(const char* where) {
    static const std::vector<SqlValue> tame = {nullptr,
                                               std::string("1899-12-30 00:00:00"),
                                               std::string("9999-12-31 23:59:59"),
                                               std::string("2016-01-15 23:59:59.999"),
                                               std::string("2016-01-15T08:00"),
                                               0.5,
                                               -1.25,
                                               std::int64_t{42375}};
    static const std::vector<SqlValue> wild = {std::string("ontem"), std::string("2016-02-30 10:00:00"),
                                               -800000.0, 1e300, std::string("10000-01-01 00:00:00")};
    if (Wild()) {
      NoteWild(where);
      return m_random.Pick(wild);
    }
    if (m_random.Percent(50)) return DayText(m_period.year, m_period.month, DayInPeriod(), "12:34:56");
    return m_random.Pick(tame);
  }

  // ---- tables ----

  void AddMasterTables() {
    std::set<std::int64_t> used;
    static const std::vector<std::int64_t> customer_codes = {2, 3, 4, 5, 6, 7, 8, 9, 10, 0, 1, -5, 1000000};
    for (std::size_t i = 0, n = m_random.Below(5); i < n; ++i) {
      std::int64_t code = m_random.Pick(customer_codes);
      if (Wild()) {
        NoteWild("clientes.codigo at the top of the range");
        code = kInt64Max;
      }
      if (!used.insert(code).second) continue;
      m_database.Exec(
          "INSERT INTO clientes (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1, "
          "datacriacao, valormov, valordivida) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {code, Text(), Text(), Text(), Text(), Text(), Text(), EntryDate("clientes.datacriacao"),
           Amount("clientes.valormov"), Amount("clientes.valordivida")});
    }

    used.clear();
    static const std::vector<std::int64_t> supplier_codes = {1, 2, 3, 4, 0, -1, 99999};
    for (std::size_t i = 0, n = m_random.Below(4); i < n; ++i) {
      const std::int64_t code = m_random.Pick(supplier_codes);
      if (!used.insert(code).second) continue;
      m_database.Exec(
          "INSERT INTO fornecedores (codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1) "
          "VALUES (?, ?, ?, ?, ?, ?, ?)",
          {code, Text(), Text(), Text(), Text(), Text(), Text()});
    }

    used.clear();
    for (std::size_t i = 0, n = m_random.Below(4); i < n; ++i) {
      const std::int64_t code = static_cast<std::int64_t>(m_random.Below(5));
      if (!used.insert(code).second) continue;
      m_database.Exec("INSERT INTO unidades (codigo, descricao) VALUES (?, ?)", {code, Text()});
    }

    used.clear();
    for (std::size_t i = 0, n = m_random.Below(5); i < n; ++i) {
      const std::int64_t code = m_random.Pick(ProductCodes());
      if (!used.insert(code).second) continue;
      static const std::vector<SqlValue> families = {nullptr, std::int64_t{0}, std::int64_t{3},
                                                     std::string("bebidas"), 2.5};
      m_database.Exec("INSERT INTO produtos (codigo, descricao, familia, unidade, isencao) VALUES (?, ?, ?, ?, ?)",
                      {code, Text(), m_random.Pick(families), SmallInteger("produtos.unidade"), ExemptionCode()});
    }

    used.clear();
    static const std::vector<std::int64_t> rates = {0, 6, 13, 23, -1, 100};
    for (std::size_t i = 0, n = m_random.Below(5); i < n; ++i) {
      std::int64_t rate = m_random.Pick(rates);
      if (Wild()) {
        NoteWild("iva.codigo beyond 32 bits");
        rate = 4000000000;
      }
      if (!used.insert(rate).second) continue;
      m_database.Exec("INSERT INTO iva (codigo, descricao) VALUES (?, ?)", {rate, Text()});
    }

    std::set<std::string> reasons;
    for (std::size_t i = 0, n = m_random.Below(4); i < n; ++i) {
      static const std::vector<std::string> codes = {"", "M07", "M99", "M07 ", "<M>", "'"};
      const std::string code = m_random.Percent(30) ? HostileString() : m_random.Pick(codes);
      if (!reasons.insert(RightTrimSpaces(code)).second) continue;
      m_database.Exec("INSERT INTO motivos_isencao (codigo, norma) VALUES (?, ?)", {code, Text()});
    }
  }

  static const std::vector<std::int64_t>& ProductCodes() {
    static const std::vector<std::int64_t> codes = {1, 2, 3, 4, 5, 0, -999, -3, 100, kInt64Max};
    return codes;
  }

  SqlValue ExemptionCode() {
    static const std::vector<SqlValue> codes = {nullptr, std::string(""), std::string("M07"), std::string("M99"),
                                                std::string("M07 "), std::string("<M>"), std::string("'")};
    if (m_random.Percent(30)) return HostileString();
    return m_random.Pick(codes);
  }

  SqlValue TaxpayerText() {
    static const std::vector<SqlValue> numbers = {nullptr,
                                                  std::string(""),
                                                  std::string("*123"),
                                                  std::string("123456789"),
                                                  std::string("123 456 789"),
                                                  std::string("123456789012345678"),
                                                  std::string("'); DROP TABLE clientes;--")};
    if (m_random.Percent(40)) return HostileString();
    return m_random.Pick(numbers);
  }

  SqlValue Customer() {
    static const std::vector<SqlValue> codes = {nullptr,          std::int64_t{0}, std::int64_t{1},
                                                std::int64_t{2},  std::int64_t{3}, std::int64_t{999},
                                                std::int64_t{-3}, kInt64Max,       std::int64_t{1}};
    if (Wild()) {
      NoteWild("documentos.cliente not a number");
      return std::string("cliente");
    }
    return m_random.Pick(codes);
  }

  std::string DocumentCode() {
    static const std::vector<std::string> codes = {"TK", "TK", "VD", "FA", "FA", "FS", "FT", "NC", "CM", "CM",
                                                   "RC", "RC", "TK ", "CM  ", "RC ", "tk", "FA\t"};
    static const std::vector<std::string> hostile = {"F'A", "TK'; DROP TABLE documentos;--", "<FA>", "\xC3", "",
                                                     "RC&"};
    if (m_random.Percent(5)) return m_random.Pick(hostile);
    return m_random.Pick(codes);
  }

  std::int64_t DocumentNumber() {
    static const std::vector<std::int64_t> extremes = {0, -1, kInt64Max, kInt64Min, 2147483648};
    if (m_random.Percent(8)) return m_random.Pick(extremes);
    return 1 + static_cast<std::int64_t>(m_random.Below(40));
  }

  SqlValue SignedNumber() {
    static const std::vector<SqlValue> numbers = {nullptr,
                                                  std::string(""),
                                                  std::string("FT A/12"),
                                                  std::string("FT /12"),
                                                  std::string("/12"),
                                                  std::string("FS C/101"),
                                                  std::string("sem barra"),
                                                  std::string("FT <A>/1 & 'x'")};
    if (m_random.Percent(40)) return HostileString();
    return m_random.Pick(numbers);
  }

  void AddDocuments() {
    std::set<std::pair<std::string, std::int64_t>> keys;
    static const std::vector<SqlValue> flags = {nullptr, std::int64_t{0}, std::int64_t{0}, std::int64_t{1},
                                                std::int64_t{2}, std::string("x")};
    static const std::vector<std::optional<std::int64_t>> payments = {std::nullopt, 0, 0, 0, 6, 1};
    for (std::size_t i = 0, n = m_random.Below(10); i < n; ++i) {
      HostileDocument document;
      document.doc = DocumentCode();
      document.numero = DocumentNumber();
      if (!keys.insert({RightTrimSpaces(document.doc), document.numero}).second) continue;
      auto [data, data_text] = DocumentDate();
      document.data = data_text;
      document.pagamento = m_random.Pick(payments);
      m_database.Exec(
          "INSERT INTO documentos (doc, numero, data, datahora, cliente, nome, morada, contribuinte, total, "
          "liquido, anulado, hash, hashcontrol, saftsign, emp, CashVATScheme, pagamento, isencao) "
          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {document.doc, document.numero, data, EntryDate("documentos.datahora"), Customer(), Text(), Text(),
           TaxpayerText(), Amount("documentos.total"), Amount("documentos.liquido"), m_random.Pick(flags), Text(),
           Text(), SignedNumber(), Text(), SmallInteger("documentos.CashVATScheme"),
           document.pagamento ? SqlValue(*document.pagamento) : SqlValue(nullptr), ExemptionCode()});
      AddLines(document, data);
      m_case.documents.push_back(std::move(document));
    }
    // Lines of no document at all.
    for (std::size_t i = 0, n = m_random.Below(3); i < n; ++i) {
      HostileDocument stray{DocumentCode(), DocumentNumber(), std::nullopt, std::nullopt};
      AddLines(stray, DayText(m_period.year, m_period.month, DayInPeriod()));
    }
  }

  void AddLines(const HostileDocument& document, const SqlValue& data) {
    for (std::size_t i = 0, n = m_random.Below(4); i < n; ++i) {
      // The line's own code may carry other trailing blanks than the document's.
      const std::string doc = m_random.Percent(20) ? RightTrimSpaces(document.doc) + " " : document.doc;
      const std::int64_t code = m_random.Pick(ProductCodes());
      const bool no_code = m_random.Percent(5);
      m_database.Exec(
          "INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, valor, desconto, isencao, "
          "data) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
          {doc, document.numero, no_code ? SqlValue(nullptr) : SqlValue(code), Text(), Quantity(),
           Amount("vendas.punit"), Rate(), Amount("vendas.total"), Amount("vendas.valor"),
           Amount("vendas.desconto"), ExemptionCode(), m_random.Percent(85) ? data : EntryDate("vendas.data")});
    }
  }

  // Settlements between the case's documents (and some of none).
  void AddSettlements() {
    auto number_of = [this](std::initializer_list<const char*> codes) -> SqlValue {
      std::vector<std::int64_t> numbers;
      for (const auto& document : m_case.documents) {
        for (const char* code : codes) {
          if (RightTrimSpaces(document.doc) == code) numbers.push_back(document.numero);
        }
      }
      if (numbers.empty() || m_random.Percent(15)) {
        static const std::vector<SqlValue> others = {nullptr, std::int64_t{0}, std::int64_t{77}, std::int64_t{-2}};
        return m_random.Pick(others);
      }
      return m_random.Pick(numbers);
    };
    for (std::size_t i = 0, n = m_random.Below(6); i < n; ++i) {
      const bool receipt = m_random.Percent(60);
      const bool invoice = m_random.Percent(70);
      SqlValue none = nullptr;
      const SqlValue data = m_random.Percent(80)
                                ? SqlValue(DayText(m_period.year, m_period.month, DayInPeriod()))
                                : EntryDate("compensacoes.data");
      if (receipt) {
        m_database.Exec("INSERT INTO compensacoes (RC, FA, NC, valor, data) VALUES (?, ?, ?, ?, ?)",
                        {number_of({"RC"}), invoice ? number_of({"FA", "FT", "FS"}) : none,
                         invoice ? none : number_of({"NC"}), Amount("compensacoes.valor"), data});
      } else {
        static const std::vector<const char*> sales = {"TK", "VD", "FA", "FS", "FT"};
        const char* sale = m_random.Pick(sales);
        const std::string sql =
            std::string("INSERT INTO compensacoes (") + sale + ", CM, valor, data) VALUES (?, ?, ?, ?)";
        m_database.Exec(sql, {number_of({sale}), number_of({"CM"}), Amount("compensacoes.valor"), data});
      }
    }
  }

  // Texts stored as blobs, and text with bytes that are not UTF-8 put in by
  // a cast, as another program could have left them.
  void AddStrayBlobs() {
    if (m_random.Percent(70)) return;
    m_database.Exec("UPDATE clientes SET morada = X'C3A7FF00C0263C' WHERE codigo = (SELECT MIN(codigo) FROM clientes)");
    m_database.Exec(
        "UPDATE vendas SET descricao = CAST(X'E282AC80FE3C3E' AS TEXT) WHERE id = (SELECT MIN(id) FROM vendas)");
    m_database.Exec("UPDATE documentos SET emp = X'2600' WHERE rowid = (SELECT MIN(rowid) FROM documentos)");
  }

  CaseRandom m_random;
  TestDatabase& m_database;
  bool m_allow_wild;
  Period m_period{};
  HostileCase m_case;
};

bool InPeriod(const HostileCase& kase, const HostileDocument& document) {
  return document.data && *document.data >= kase.period_start && *document.data <= kase.period_end;
}

bool Listed(const HostileDocument& document) { return document.pagamento && *document.pagamento != 6; }

int CountDocuments(const HostileCase& kase, std::initializer_list<const char*> codes, bool by_payment) {
  int count = 0;
  for (const auto& document : kase.documents) {
    const std::string code = RightTrimSpaces(document.doc);
    bool known = false;
    for (const char* wanted : codes) known = known || code == wanted;
    if (known && InPeriod(kase, document) && (!by_payment || Listed(document))) ++count;
  }
  return count;
}

}  // namespace

int HostileCase::ExpectedInvoices(SchemaGeneration generation) const {
  if (generation == SchemaGeneration::Current) return CountDocuments(*this, {"TK", "VD", "FA", "NC", "FS", "FT"}, true);
  return CountDocuments(*this, {"TK", "VD", "FA", "NC"}, true);
}

int HostileCase::ExpectedWorkDocuments() const { return CountDocuments(*this, {"CM"}, true); }

int HostileCase::ExpectedPayments() const { return CountDocuments(*this, {"RC"}, false); }

HostileCase BuildHostileCase(std::uint64_t seed, TestDatabase& database, bool allow_wild) {
  return Generator(seed, database, allow_wild).Build();
}

void SetGeneration(TestDatabase& database, SchemaGeneration generation, std::uint64_t variant) {
  database.Exec("DELETE FROM versao");
  if (generation == SchemaGeneration::Current) {
    database.Exec("INSERT INTO versao (major) VALUES (?)", {variant % 2 == 0 ? 2011 : 2016});
    return;
  }
  switch (variant % 3) {
    case 0:
      break;  // no row
    case 1:
      database.Exec("INSERT INTO versao (major) VALUES (2010)");
      break;
    default:
      database.Exec("INSERT INTO versao (major) VALUES (NULL)");
      break;
  }
}

}  // namespace varnel::testing::reliability
