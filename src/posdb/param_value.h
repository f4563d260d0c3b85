// The values a query takes from its callers: the value bound to a named
// parameter (what PosQuery collects and a back end binds to its statement)
// and the value a search looks for in a held result. They belong to the seam
// between PosQuery and the back ends, so the back ends and the result store
// see them without seeing PosDatabase.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

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

// A value searched for by PosQuery::Locate.
using LocateValue = std::variant<std::int64_t, std::string>;

}  // namespace varnel
