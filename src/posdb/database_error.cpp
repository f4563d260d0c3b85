// The database layer's errors: the message followed by the back end and the
// query, so the operator's box says what went wrong and where. Callers mask
// connection texts before they reach the message.
#include "posdb/database_error.h"

#include <utility>

namespace varnel {
namespace {

std::string ComposeMessage(const std::string& backend, const std::string& message, const std::string& query_name) {
  std::string text = message.empty() ? std::string("Database error") : message;
  text += " (";
  text += backend;
  if (!query_name.empty()) {
    text += ", query ";
    text += query_name;
  }
  text += ")";
  return text;
}

}  // namespace

DatabaseError::DatabaseError(std::string backend, long code, std::string driver_message,
                             std::string query_name)
    : VarnelError(ComposeMessage(backend, driver_message, query_name)),
      m_backend(std::move(backend)),
      m_code(code),
      m_driver_message(std::move(driver_message)),
      m_query_name(std::move(query_name)) {}

QueryMisuseError::QueryMisuseError(const std::string& backend, const std::string& message, std::string query_name)
    : VarnelError(ComposeMessage(backend, message, query_name)), m_query_name(std::move(query_name)) {}

}  // namespace varnel
