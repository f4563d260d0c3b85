// The two error types of the database layer, kept apart because they say
// different things. DatabaseError: the database or its driver failed (the
// back end, the driver's code and message and the query's name travel with
// it). QueryMisuseError: the program used a query against its rules (a
// parameter or field the statement does not have, a field read where there
// is no row, a search the query cannot make), a fault of the calling code
// that no database would cure. Both texts read "<message> (<back end>, query
// <name>)", so the operator's box shows either the same way. A password
// never appears in them: connection texts are masked before they reach a
// message.
#pragma once

#include <string>

#include "base/errors.h"

namespace varnel {

class DatabaseError : public VarnelError {
 public:
  DatabaseError(std::string backend, long code, std::string driver_message, std::string query_name);

  const std::string& backend() const { return m_backend; }
  long code() const { return m_code; }
  const std::string& driver_message() const { return m_driver_message; }
  const std::string& query_name() const { return m_query_name; }

 private:
  std::string m_backend;
  long m_code;
  std::string m_driver_message;
  std::string m_query_name;
};

class QueryMisuseError : public VarnelError {
 public:
  QueryMisuseError(const std::string& backend, const std::string& message, std::string query_name);

  const std::string& query_name() const { return m_query_name; }

 private:
  std::string m_query_name;
};

}  // namespace varnel
