// The tax-region rule and the tax-code rule, shared by the tax table and the
// invoice and working-document lines. Each writes at the writer's current
// level.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/tax_region.h"

namespace varnel {

class XmlLineWriter;

// PT, PT-MA or PT-AC; nothing chosen writes no line.
void WriteTaxRegion(XmlLineWriter& writer, TaxRegion region);
// 0 ISE; below 10 RED; below 16 INT; otherwise NOR.
std::string_view TaxCodeOf(std::int64_t rate);
void WriteTaxCode(XmlLineWriter& writer, std::int64_t rate);

}  // namespace varnel
