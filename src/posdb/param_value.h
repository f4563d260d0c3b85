// The value bound to a named parameter of a query: what PosQuery collects
// from its callers and what a back end binds to its statement. It belongs to
// the seam between them, so the back ends see it without seeing PosDatabase.
#pragma once

#include <cstdint>
#include <string>

#include "base/date_time.h"

namespace varnel {

enum class ParamType { DateTime, Integer, Text };

// is_null gives SQL NULL of that type; otherwise the member of the type
// holds the value.
struct ParamValue {
  ParamType type = ParamType::Text;
  bool is_null = true;
  std::int64_t integer = 0;
  std::string text;
  DateTime date_time;
};

}  // namespace varnel
