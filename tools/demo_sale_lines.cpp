// Draws the lines of the demo sales. Each line takes its draws in one fixed
// order (product, quantity, discount, then the stored exemption), so one
// seed gives the same lines. An exempt product without a code of its own
// gets M07 on the line; otherwise the line repeats its product's code half
// the time and the exporter finds it on the product the other half.
#include "tools/demo_sale_lines.h"

#include <utility>

namespace varnel::demo {

DemoSaleLines::DemoSaleLines(DemoRandom& random) : m_random(random) {
  for (LineContext each : {LineContext::Table, LineContext::Counter, LineContext::Invoice}) {
    std::vector<int> weights;
    for (const DemoProduct& product : Products()) {
      weights.push_back(each == LineContext::Table     ? product.table_weight
                        : each == LineContext::Counter ? product.counter_weight
                                                       : product.invoice_weight);
    }
    m_product_weights.push_back(std::move(weights));
  }
}

const DemoProduct& DemoSaleLines::PickProduct(LineContext context) {
  const std::vector<int>& weights = m_product_weights[static_cast<std::size_t>(context)];
  return Products()[m_random.Weighted(weights)];
}

std::int64_t DemoSaleLines::PickQuantityMilli(const DemoProduct& product, LineContext context) {
  if (product.by_weight) return m_random.Between(70, 360) * 5;  // 0.350 to 1.800 kg
  if (context == LineContext::Invoice) {
    switch (product.code) {
      case 81:
      case 82:
        return m_random.Between(6, 40) * 1000;
      case kRoomRentalProduct:
        return 1000;
      case 70:
      case 71:
        return m_random.Between(1, 3) * 1000;
      default:
        return m_random.Between(1, 12) * 1000;
    }
  }
  static constexpr int kWeights[] = {70, 20, 6, 4};
  return (static_cast<std::int64_t>(m_random.Weighted(kWeights)) + 1) * 1000;
}

SaleLine DemoSaleLines::MakeLine(const DemoProduct& product, LineContext context) {
  SaleLine line;
  line.product = product.code;
  line.description = product.description;
  line.quantity_milli = PickQuantityMilli(product, context);
  line.unit_cents = product.price_cents;
  line.vat = product.vat;
  std::int64_t gross = DivideRounded(line.quantity_milli * line.unit_cents, 1000);
  if (m_random.Chance(50)) line.discount_cents = DivideRounded(gross * 10, 100);
  line.total_cents = gross - line.discount_cents;
  line.net_raw = DivideRounded(line.total_cents * 10000, 100 + line.vat);
  if (product.vat == 0) {
    if (product.exemption == nullptr) {
      line.line_exemption = "M07";
    } else if (m_random.Chance(500)) {
      line.line_exemption = product.exemption;
    }
    line.exemption = !line.line_exemption.empty() ? line.line_exemption : product.exemption;
  }
  return line;
}

std::vector<SaleLine> DemoSaleLines::MakeLines(LineContext context,
                                               std::span<const int> count_weights) {
  std::size_t count = m_random.Weighted(count_weights) + 1;
  std::vector<SaleLine> lines;
  for (std::size_t i = 0; i < count; ++i) lines.push_back(MakeLine(PickProduct(context), context));
  return lines;
}

SaleLine DemoSaleLines::WithholdingLine(std::int64_t cents) {
  SaleLine line;
  line.product = kWithholdingProduct;
  line.description = kWithholdingDescription;
  line.quantity_milli = 1000;
  line.unit_cents = -cents;
  line.vat = 0;
  line.total_cents = -cents;
  line.net_raw = -cents * 100;
  return line;
}

}  // namespace varnel::demo
