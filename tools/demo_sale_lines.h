// The lines of the demo sales: products drawn by how often each is ordered
// at a table, over the counter or on a company invoice, their quantities
// (by the kilogram for what is sold by weight), a tenth off now and then,
// and the exemption code of a line at rate 0. A line's tax-exclusive amount
// is its total / ((100 + rate) / 100), rounded to four decimals.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/demo_catalogue.h"
#include "tools/demo_document.h"
#include "tools/demo_random.h"

namespace varnel::demo {

enum class LineContext { Table, Counter, Invoice };

class DemoSaleLines {
 public:
  explicit DemoSaleLines(DemoRandom& random);

  // 1 to count_weights.size() lines, the count drawn by those weights.
  std::vector<SaleLine> MakeLines(LineContext context, std::span<const int> count_weights);

  // The IRS withholding line of a company invoice: cents withheld, as a
  // negative amount outside VAT.
  static SaleLine WithholdingLine(std::int64_t cents);

 private:
  const DemoProduct& PickProduct(LineContext context);
  std::int64_t PickQuantityMilli(const DemoProduct& product, LineContext context);
  SaleLine MakeLine(const DemoProduct& product, LineContext context);

  DemoRandom& m_random;
  std::vector<std::vector<int>> m_product_weights;  // by LineContext, then product
};

}  // namespace varnel::demo
