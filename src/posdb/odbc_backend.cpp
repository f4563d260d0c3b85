// The ODBC back end, through the unixODBC (or Windows) driver manager: SQL
// Server through its installed driver, or any raw ODBC connection string.
// Texts go to the driver as written (T-SQL), with the named parameters turned
// into positional "?". Text is exchanged as UTF-16 (the wide functions and
// SQL_C_WCHAR) and fetched in chunks until the driver says the value is
// complete; decimals are fetched as text and so read exactly; date-times as
// timestamps. Handles have owner types and every call is checked; ODBC
// diagnostics are gathered by one function, with the password removed.
#include "posdb/odbc_backend.h"

#include "platform/odbc_api.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/text_encoding.h"
#include "platform/sql_server_drivers.h"
#include "posdb/backend.h"
#include "posdb/database_error.h"
#include "posdb/result_store.h"
#include "posdb/sql_dialect.h"

namespace varnel {
namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 wide characters");

constexpr const char* kBackend = "ODBC";
constexpr SQLLEN kTextChunkUnits = 1024;  // UTF-16 units fetched per SQLGetData call
constexpr SQLULEN kLoginTimeoutSeconds = 15;
// UTF-16 units of a diagnostic message read at first (room for the closing
// NUL included), and the most a message buffer may have: its length is
// passed as an SQLSMALLINT.
constexpr std::size_t kDiagnosticFirstUnits = 1024;
constexpr std::size_t kDiagnosticMostUnits = 32767;

std::u16string Wide(std::string_view utf8) { return Utf8ToUtf16(utf8); }
SQLWCHAR* WidePointer(std::u16string& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }

// Owner of one ODBC handle of any type; the deleter keeps the type, which
// SQLFreeHandle and the diagnostics need. Freeing fails only for a handle
// still in use, which the order of the owners rules out (statements before
// their connection, the connection before its environment).
struct OdbcHandleFree {
  SQLSMALLINT type = SQL_HANDLE_ENV;
  void operator()(SQLHANDLE handle) const { SQLFreeHandle(type, handle); }
};
using OdbcHandle = std::unique_ptr<void, OdbcHandleFree>;

// Takes over a handle SQLAllocHandle gave out.
OdbcHandle OwnHandle(SQLSMALLINT type, SQLHANDLE handle) { return OdbcHandle(handle, OdbcHandleFree{type}); }

SQLSMALLINT TypeOf(const OdbcHandle& handle) { return handle.get_deleter().type; }

// The diagnostic records of a handle, "[SQLSTATE] message; ...". The first
// record's SQLSTATE and native code come back through the pointers. A message
// that does not fit the first buffer (the driver answers SQL_SUCCESS_WITH_INFO
// with the whole length) is read again into a buffer of that length, up to
// the 32766 units that SQLGetDiagRecW's length argument can describe.
std::string CollectDiagnostics(const OdbcHandle& handle, std::string* first_state, long* native_code) {
  std::string text;
  if (handle == nullptr) return text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    std::vector<SQLWCHAR> message(kDiagnosticFirstUnits);
    SQLSMALLINT length = 0;
    const auto read_record = [&] {
      return SQLGetDiagRecW(TypeOf(handle), handle.get(), record, state, &native, message.data(),
                            static_cast<SQLSMALLINT>(message.size()), &length);
    };
    const auto whole_units = [&] { return static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)); };
    SQLRETURN rc = read_record();
    if (rc == SQL_SUCCESS_WITH_INFO && whole_units() >= message.size() && message.size() < kDiagnosticMostUnits) {
      message.assign(std::min(whole_units() + 1, kDiagnosticMostUnits), 0);
      rc = read_record();
    }
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
    const std::string state_text = Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(state), 5));
    const std::size_t units = std::min(whole_units(), message.size() - 1);  // a driver may still cut it short
    const std::string message_text =
        Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(message.data()), units));
    if (record == 1) {
      if (first_state != nullptr) *first_state = state_text;
      if (native_code != nullptr) *native_code = native;
    }
    if (!text.empty()) text += "; ";
    text += "[" + state_text + "] " + message_text;
  }
  return text;
}

// Every occurrence of secret replaced by "***".
std::string Scrub(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3)) {
    text.replace(at, secret.size(), "***");
  }
  return text;
}

// The environment and connection handles, shared by the connection and its
// statements so that no statement outlives the handles it was made on.
struct OdbcSession {
  OdbcHandle environment;
  OdbcHandle connection;
  bool connected = false;
  bool broken = false;
  std::string password;  // only to remove it from driver messages

  ~OdbcSession() {
    if (connected) SQLDisconnect(connection.get());
  }

  // The one check after every ODBC call.
  void Check(SQLRETURN rc, const OdbcHandle& handle, const char* call, const std::string& query_name) {
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) return;
    Raise(rc, handle, call, query_name);
  }

  [[noreturn]] void Raise(SQLRETURN rc, const OdbcHandle& handle, const char* call, const std::string& query_name) {
    std::string state;
    long native = rc;
    std::string diagnostics = CollectDiagnostics(handle, &state, &native);
    if (diagnostics.empty()) diagnostics = "the driver gave no message (return code " + std::to_string(rc) + ")";
    // SQLSTATE class 08: the connection is gone; PosDatabase connects afresh.
    if (state.rfind("08", 0) == 0) broken = true;
    throw DatabaseError(kBackend, native, Scrub(std::string(call) + ": " + diagnostics, password), query_name);
  }
};

enum class FetchKind { Integer, Real, Decimal, DateTime, Text };

FetchKind KindOf(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return FetchKind::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return FetchKind::Real;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return FetchKind::Decimal;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_DATETIME:
    case SQL_TIMESTAMP:
      return FetchKind::DateTime;
    default:
      return FetchKind::Text;
  }
}

struct Column {
  std::string name;
  FetchKind kind = FetchKind::Text;
};

// Storage of one bound parameter; its address must not move while bound.
struct ParameterBuffer {
  std::u16string text;
  SQLBIGINT integer = 0;
  SQL_TIMESTAMP_STRUCT timestamp{};
  SQLLEN indicator = 0;
};

class OdbcStatement : public BackendStatement {
 public:
  OdbcStatement(std::shared_ptr<OdbcSession> session, std::string_view sql, std::string query_name)
      : m_session(std::move(session)), m_query_name(std::move(query_name)) {
    const PositionalSql positional = ToPositionalParameters(sql);
    m_parameters = positional.parameters;
    SQLHANDLE raw = SQL_NULL_HANDLE;
    const SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, m_session->connection.get(), &raw);
    m_session->Check(rc, m_session->connection, "SQLAllocHandle", m_query_name);
    m_statement = OwnHandle(SQL_HANDLE_STMT, raw);
    std::u16string text = Wide(positional.text);
    m_session->Check(SQLPrepareW(m_statement.get(), WidePointer(text), static_cast<SQLINTEGER>(text.size())),
                     m_statement, "SQLPrepareW", m_query_name);
  }

  ~OdbcStatement() override { Finish(); }

  void Run(const ParameterValues& values) override {
    Finish();
    Check(SQLFreeStmt(m_statement.get(), SQL_RESET_PARAMS), "SQLFreeStmt");
    m_buffers.clear();
    m_buffers.resize(m_parameters.size());
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
      BindParameter(i, FindParameter(values, m_parameters[i], kBackend, m_query_name));
    }
    SQLRETURN rc = SQLExecute(m_statement.get());
    // An UPDATE or DELETE that touches no row answers SQL_NO_DATA: no failure.
    if (rc == SQL_NO_DATA) rc = SQL_SUCCESS;
    Check(rc, "SQLExecute");
    m_active = true;

    // SQL Server answers a batch (DECLARE / SET lines before the SELECT) with
    // results that carry no columns before the rows; move past them.
    SQLSMALLINT columns = 0;
    Check(SQLNumResultCols(m_statement.get(), &columns), "SQLNumResultCols");
    while (columns == 0) {
      rc = SQLMoreResults(m_statement.get());
      if (rc == SQL_NO_DATA) break;
      Check(rc, "SQLMoreResults");
      Check(SQLNumResultCols(m_statement.get(), &columns), "SQLNumResultCols");
    }
    m_columns.clear();
    for (SQLSMALLINT column = 1; column <= columns; ++column) {
      SQLWCHAR name[256] = {};
      SQLSMALLINT name_length = 0;
      SQLSMALLINT sql_type = 0;
      SQLULEN size = 0;
      SQLSMALLINT digits = 0;
      SQLSMALLINT nullable = 0;
      Check(SQLDescribeColW(m_statement.get(), column, name, static_cast<SQLSMALLINT>(sizeof name / sizeof name[0]),
                            &name_length, &sql_type, &size, &digits, &nullable),
            "SQLDescribeColW");
      const auto units = std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(name_length, 0)),
                                               sizeof name / sizeof name[0] - 1);
      m_columns.push_back(
          Column{Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(name), units)), KindOf(sql_type)});
    }
    if (columns == 0) Finish();
  }

  std::size_t ColumnCount() const override { return m_columns.size(); }
  std::string ColumnName(std::size_t column) const override { return m_columns[column].name; }

  bool FetchRow(ResultStore& store) override {
    if (!m_active || m_columns.empty()) return false;
    const SQLRETURN rc = SQLFetch(m_statement.get());
    if (rc == SQL_NO_DATA) {
      Finish();
      return false;
    }
    Check(rc, "SQLFetch");
    for (std::size_t column = 0; column < m_columns.size(); ++column) {
      const auto number = static_cast<SQLUSMALLINT>(column + 1);
      switch (m_columns[column].kind) {
        case FetchKind::Integer:
          FetchInteger(number, store);
          break;
        case FetchKind::Real:
          FetchReal(number, store);
          break;
        case FetchKind::Decimal:
          FetchDecimal(number, store);
          break;
        case FetchKind::DateTime:
          FetchDateTime(number, store);
          break;
        case FetchKind::Text:
          FetchText(number, store);
          break;
      }
    }
    return true;
  }

  void Finish() noexcept override {
    if (m_active && m_statement != nullptr) SQLFreeStmt(m_statement.get(), SQL_CLOSE);
    m_active = false;
  }

 private:
  void Check(SQLRETURN rc, const char* call) { m_session->Check(rc, m_statement, call, m_query_name); }

  void BindParameter(std::size_t index, const ParamValue& value) {
    ParameterBuffer& buffer = m_buffers[index];
    const auto number = static_cast<SQLUSMALLINT>(index + 1);
    buffer.indicator = value.is_null ? SQL_NULL_DATA : 0;
    SQLRETURN rc = SQL_SUCCESS;
    switch (value.type) {
      case ParamType::Integer:
        buffer.integer = value.integer;
        rc = SQLBindParameter(m_statement.get(), number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                              &buffer.integer, 0, &buffer.indicator);
        break;
      case ParamType::DateTime: {
        const DateTimeParts parts = value.date_time.Decode();
        buffer.timestamp.year = static_cast<SQLSMALLINT>(parts.year);
        buffer.timestamp.month = static_cast<SQLUSMALLINT>(parts.month);
        buffer.timestamp.day = static_cast<SQLUSMALLINT>(parts.day);
        buffer.timestamp.hour = static_cast<SQLUSMALLINT>(parts.hour);
        buffer.timestamp.minute = static_cast<SQLUSMALLINT>(parts.minute);
        buffer.timestamp.second = static_cast<SQLUSMALLINT>(parts.second);
        buffer.timestamp.fraction = 0;  // whole seconds, as the embedded database's text form
        if (!value.is_null) buffer.indicator = sizeof buffer.timestamp;
        rc = SQLBindParameter(m_statement.get(), number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                              19, 0, &buffer.timestamp, sizeof buffer.timestamp, &buffer.indicator);
        break;
      }
      case ParamType::Text: {
        buffer.text = Wide(value.text);
        const auto units = static_cast<SQLULEN>(buffer.text.size());
        if (!value.is_null) buffer.indicator = static_cast<SQLLEN>(units * sizeof(SQLWCHAR));
        // Longer than nvarchar(4000) goes as a long text.
        const SQLSMALLINT sql_type = units > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
        rc = SQLBindParameter(m_statement.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, sql_type,
                              std::max<SQLULEN>(units, 1), 0, WidePointer(buffer.text),
                              static_cast<SQLLEN>(units * sizeof(SQLWCHAR)), &buffer.indicator);
        break;
      }
    }
    Check(rc, "SQLBindParameter");
  }

  void FetchInteger(SQLUSMALLINT column, ResultStore& store) {
    SQLBIGINT value = 0;
    SQLLEN indicator = 0;
    Check(SQLGetData(m_statement.get(), column, SQL_C_SBIGINT, &value, 0, &indicator), "SQLGetData");
    if (indicator == SQL_NULL_DATA) {
      store.AppendNull();
    } else {
      store.AppendInteger(value);
    }
  }

  void FetchReal(SQLUSMALLINT column, ResultStore& store) {
    double value = 0;
    SQLLEN indicator = 0;
    Check(SQLGetData(m_statement.get(), column, SQL_C_DOUBLE, &value, 0, &indicator), "SQLGetData");
    if (indicator == SQL_NULL_DATA) {
      store.AppendNull();
    } else {
      store.AppendReal(value);
    }
  }

  void FetchDecimal(SQLUSMALLINT column, ResultStore& store) {
    char text[128] = {};
    SQLLEN indicator = 0;
    Check(SQLGetData(m_statement.get(), column, SQL_C_CHAR, text, sizeof text, &indicator), "SQLGetData");
    if (indicator == SQL_NULL_DATA) {
      store.AppendNull();
    } else {
      const auto length = indicator == SQL_NO_TOTAL ? std::char_traits<char>::length(text)
                                                    : std::min<std::size_t>(static_cast<std::size_t>(indicator),
                                                                            sizeof text - 1);
      store.AppendDecimal(std::string_view(text, length));
    }
  }

  void FetchDateTime(SQLUSMALLINT column, ResultStore& store) {
    SQL_TIMESTAMP_STRUCT value{};
    SQLLEN indicator = 0;
    Check(SQLGetData(m_statement.get(), column, SQL_C_TYPE_TIMESTAMP, &value, sizeof value, &indicator),
          "SQLGetData");
    if (indicator == SQL_NULL_DATA) {
      store.AppendNull();
      return;
    }
    DateTimeParts parts;
    parts.year = value.year;
    parts.month = value.month;
    parts.day = value.day;
    parts.hour = value.hour;
    parts.minute = value.minute;
    parts.second = value.second;
    parts.millisecond = static_cast<int>(value.fraction / 1000000);
    store.AppendDateTime(DateTime::FromParts(parts));
  }

  // Wide text in chunks: each call returns what fits; the driver says the
  // value is complete by SQL_SUCCESS (or SQL_NO_DATA on the call after).
  void FetchText(SQLUSMALLINT column, ResultStore& store) {
    std::u16string value;
    SQLWCHAR chunk[kTextChunkUnits + 1];
    constexpr SQLLEN kChunkBytes = sizeof chunk;
    constexpr SQLLEN kUsableBytes = kChunkBytes - static_cast<SQLLEN>(sizeof(SQLWCHAR));
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(m_statement.get(), column, SQL_C_WCHAR, chunk, kChunkBytes, &indicator);
      if (rc == SQL_NO_DATA) break;
      Check(rc, "SQLGetData");
      if (indicator == SQL_NULL_DATA) {
        store.AppendNull();
        return;
      }
      const bool truncated = rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator > kUsableBytes);
      const SQLLEN bytes = truncated ? kUsableBytes : std::min(indicator, kUsableBytes);
      value.append(reinterpret_cast<const char16_t*>(chunk), static_cast<std::size_t>(bytes) / sizeof(SQLWCHAR));
      if (!truncated) break;
    }
    store.AppendText(Utf16ToUtf8(value));
  }

  std::shared_ptr<OdbcSession> m_session;
  std::string m_query_name;
  OdbcHandle m_statement;  // after m_session: freed before the session goes
  std::vector<std::string> m_parameters;
  std::vector<ParameterBuffer> m_buffers;
  std::vector<Column> m_columns;
  bool m_active = false;
};

class OdbcConnection : public BackendConnection {
 public:
  explicit OdbcConnection(std::shared_ptr<OdbcSession> session) : m_session(std::move(session)) {}
  std::string backend_name() const override { return kBackend; }
  bool is_broken() const override { return m_session->broken; }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    return std::make_unique<OdbcStatement>(m_session, sql, query_name);
  }

 private:
  std::shared_ptr<OdbcSession> m_session;
};

OdbcHandle NewEnvironment() {
  SQLHANDLE raw = SQL_NULL_HANDLE;
  if (SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw) != SQL_SUCCESS) {
    throw DatabaseError(kBackend, 0, "The ODBC driver manager cannot be started.", "");
  }
  OdbcHandle environment = OwnHandle(SQL_HANDLE_ENV, raw);
  const SQLRETURN rc = SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
    throw DatabaseError(kBackend, rc, "SQLSetEnvAttr: " + CollectDiagnostics(environment, nullptr, nullptr), "");
  }
  return environment;
}

std::vector<std::string> DriversOf(const OdbcHandle& environment) {
  std::vector<std::string> drivers;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR description[512] = {};
    SQLCHAR attributes[2048] = {};
    SQLSMALLINT description_length = 0;
    SQLSMALLINT attributes_length = 0;
    const SQLRETURN rc = SQLDrivers(environment.get(), direction, description, sizeof description,
                                    &description_length, attributes, sizeof attributes, &attributes_length);
    if (rc == SQL_NO_DATA) break;
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) {
      throw DatabaseError(kBackend, rc, "SQLDrivers: " + CollectDiagnostics(environment, nullptr, nullptr), "");
    }
    drivers.emplace_back(reinterpret_cast<const char*>(description));
    direction = SQL_FETCH_NEXT;
  }
  return drivers;
}


}  // namespace

const std::vector<std::string>& SqlServerDriverPreference() { return platform::SqlServerDriverNames(); }

std::string ChooseSqlServerDriver(const std::vector<std::string>& installed) {
  for (const auto& wanted : SqlServerDriverPreference()) {
    for (const auto& driver : installed) {
      if (driver == wanted) return driver;
    }
  }
  return {};
}

std::string SqlServerConnectionString(const ConnectionDescription& description, const std::string& driver) {
  std::string text = "DRIVER={" + driver + "};";
  const auto comma = description.server.find(',');
  if (driver == "FreeTDS" && comma != std::string::npos) {
    // FreeTDS does not read "host,port" in SERVER; it takes the port apart.
    text += "SERVER=" + QuoteOdbcValue(description.server.substr(0, comma)) + ";";
    text += "PORT=" + QuoteOdbcValue(description.server.substr(comma + 1)) + ";";
  } else {
    text += "SERVER=" + QuoteOdbcValue(description.server) + ";";
  }
  if (!description.database.empty()) text += "DATABASE=" + QuoteOdbcValue(description.database) + ";";
  if (description.trusted_connection) {
    text += "Trusted_Connection=yes;";
  } else {
    text += "UID=" + QuoteOdbcValue(description.user) + ";PWD=" + QuoteOdbcValue(description.password) + ";";
  }
  // Streamed (forward-only) queries keep their cursor open while other
  // queries run on the same connection; SQL Server allows that only with
  // multiple active result sets.
  text += "MARS_Connection=yes;";
  if (driver == "ODBC Driver 18 for SQL Server") {
    // Driver 18 encrypts by default and rejects the self-signed certificate
    // that a SQL Server Express of a point of sale usually has; the OLE DB
    // providers of the data link file did not check it either.
    text += "TrustServerCertificate=yes;";
  }
  text += "APP=Varnel;";
  return text;
}

std::vector<std::string> InstalledOdbcDrivers() { return DriversOf(NewEnvironment()); }

namespace {

// unixODBC (2.3.11 here) copies the DRIVER value of a connection string into
// a buffer of 1001 bytes without checking its length, and a longer value
// aborts the whole program inside SQLDriverConnect. No driver has a name or
// a path that long, so such a string is refused before it is passed on.
constexpr std::size_t kDriverValueMostBytes = 1000;

void RefuseOverlongDriver(const std::string& connection_string) {
  const auto pairs = ParseInitString(connection_string);
  const auto driver = pairs.find("driver");
  if (driver == pairs.end() || driver->second.size() <= kDriverValueMostBytes) return;
  throw DatabaseError(kBackend, 0,
                      "The ODBC connection string names a driver of " + std::to_string(driver->second.size()) +
                          " bytes; the driver manager takes at most " + std::to_string(kDriverValueMostBytes) + ".",
                      "");
}

}  // namespace

std::unique_ptr<BackendConnection> OpenOdbcConnection(const ConnectionDescription& description) {
  auto session = std::make_shared<OdbcSession>();
  session->environment = NewEnvironment();
  session->password = description.password;

  std::string connection_string;
  if (description.kind == ConnectionDescription::Kind::SqlServer) {
    const std::string driver = ChooseSqlServerDriver(DriversOf(session->environment));
    if (driver.empty()) {
      std::string wanted;
      for (const auto& name : SqlServerDriverPreference()) wanted += (wanted.empty() ? "" : ", ") + name;
      throw DatabaseError(kBackend, 0, "No ODBC driver for SQL Server is installed (looked for " + wanted + ").", "");
    }
    connection_string = SqlServerConnectionString(description, driver);
  } else {
    connection_string = description.odbc_connection_string;
    RefuseOverlongDriver(connection_string);
  }

  SQLHANDLE raw = SQL_NULL_HANDLE;
  session->Check(SQLAllocHandle(SQL_HANDLE_DBC, session->environment.get(), &raw), session->environment,
                 "SQLAllocHandle", "");
  session->connection = OwnHandle(SQL_HANDLE_DBC, raw);
  session->Check(SQLSetConnectAttrW(raw, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0),
                 session->connection, "SQLSetConnectAttrW", "");
  std::u16string wide = Wide(connection_string);
  SQLWCHAR completed[1024] = {};
  SQLSMALLINT completed_length = 0;
  const SQLRETURN rc = SQLDriverConnectW(raw, nullptr, WidePointer(wide), static_cast<SQLSMALLINT>(wide.size()),
                                         completed, static_cast<SQLSMALLINT>(sizeof completed / sizeof completed[0]),
                                         &completed_length, SQL_DRIVER_NOPROMPT);
  session->Check(rc, session->connection, "SQLDriverConnectW", "");
  session->connected = true;
  return std::make_unique<OdbcConnection>(std::move(session));
}

}  // namespace varnel
