// A back end that passes every call on to a real one, for tests that watch or
// disturb statements (a link that breaks, a hook before each run, a count of
// open cursors): a test derives from ForwardingStatement and overrides only
// the calls it watches, and from ForwardingConnection only WrapStatement
// (and Prepare or is_broken where it counts them or decides itself).
// Transactions are not passed on: they run through Prepare like any
// statement (see BackendConnection), so a wrapper sees them too.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "posdb/backend.h"

namespace varnel::testing {

class ForwardingStatement : public BackendStatement {
 public:
  ForwardingStatement(std::unique_ptr<BackendStatement> inner, std::string query_name)
      : m_inner(std::move(inner)), m_query_name(std::move(query_name)) {}

  void Run(const ParameterValues& values) override { m_inner->Run(values); }
  std::size_t ColumnCount() const override { return m_inner->ColumnCount(); }
  std::string ColumnName(std::size_t column) const override { return m_inner->ColumnName(column); }
  bool FetchRow(ResultStore& store) override { return m_inner->FetchRow(store); }
  void Finish() noexcept override { m_inner->Finish(); }

  const std::string& query_name() const { return m_query_name; }

 private:
  std::unique_ptr<BackendStatement> m_inner;
  std::string m_query_name;
};

class ForwardingConnection : public BackendConnection {
 public:
  explicit ForwardingConnection(std::unique_ptr<BackendConnection> inner) : m_inner(std::move(inner)) {}

  std::string backend_name() const override { return m_inner->backend_name(); }
  bool is_broken() const override { return m_inner->is_broken(); }
  std::unique_ptr<BackendStatement> Prepare(std::string_view sql, const std::string& query_name) override {
    return WrapStatement(m_inner->Prepare(sql, query_name), query_name);
  }

 protected:
  // The statement the tests see in place of the real one.
  virtual std::unique_ptr<BackendStatement> WrapStatement(std::unique_ptr<BackendStatement> inner,
                                                          const std::string& query_name) = 0;

 private:
  std::unique_ptr<BackendConnection> m_inner;
};

}  // namespace varnel::testing
