// The one error type of the database layer. It carries the back end, the
// driver's code and message and the name of the query that failed, and its
// text reads "<message> (<back end>, query <name>)". A password never appears
// in it: connection texts are masked before they reach a message.
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

}  // namespace varnel
