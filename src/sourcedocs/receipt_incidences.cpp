// The receipt VAT incidences: each per-rate sum of a settled document scaled
// by the amount settled over the document's total, in exact integer
// arithmetic (a 128-bit product, one division, ties to even), and the
// remainder of the rounding given to the document's last rate when its rates
// add up to its total.
#include "sourcedocs/receipt_incidences.h"

#include <limits>

#include "base/errors.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

std::int32_t RateOf(std::int64_t iva) {
  if (iva < std::numeric_limits<std::int32_t>::min() || iva > std::numeric_limits<std::int32_t>::max()) {
    throw ConversionError("VAT rate " + std::to_string(iva) + " out of range in a receipt's settled document");
  }
  return static_cast<std::int32_t>(iva);
}

}  // namespace

SettledDocument SettledDocumentOf(std::int64_t fa, std::int64_t nc) {
  if (fa > 0) return {"FA", fa};
  return {"NC", nc};
}

namespace incidence_arithmetic {

Currency Scaled(Currency amount, Currency settled, Currency document_total) {
  if (document_total.raw() == 0) return Currency();
  __int128 numerator = static_cast<__int128>(amount.raw()) * settled.raw();
  __int128 denominator = document_total.raw();
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  __int128 quotient = numerator / denominator;
  const __int128 remainder = numerator % denominator;  // carries the numerator's sign
  const __int128 twice_remainder = 2 * (remainder < 0 ? -remainder : remainder);
  if (twice_remainder > denominator || (twice_remainder == denominator && quotient % 2 != 0)) {
    quotient += numerator < 0 ? -1 : 1;
  }
  if (quotient > std::numeric_limits<std::int64_t>::max() || quotient < std::numeric_limits<std::int64_t>::min()) {
    throw ConversionError("a settled amount out of range in a receipt's VAT split");
  }
  return Currency::FromRaw(static_cast<std::int64_t>(quotient));
}

}  // namespace incidence_arithmetic

struct ReceiptIncidenceCalculator::Queries {
  explicit Queries(PosDatabase& database)
      : getcompRC(database, kQ_getcompRC),
        getcomp(database, kQ_getcomp),
        getval(database, kQ_getval),
        getRCValorFA(database, kQ_getRCValorFA),
        getRCValorNC(database, kQ_getRCValorNC) {}

  PosQuery getcompRC;
  PosQuery getcomp;
  PosQuery getval;
  PosQuery getRCValorFA;
  PosQuery getRCValorNC;
};

ReceiptIncidenceCalculator::ReceiptIncidenceCalculator(PosDatabase& database)
    : m_queries(std::make_unique<Queries>(database)) {}

ReceiptIncidenceCalculator::~ReceiptIncidenceCalculator() = default;

Currency ReceiptIncidenceCalculator::DocumentTotal(std::string_view document_code, std::int64_t document_number) {
  PosQuery& q_getval = m_queries->getval;
  q_getval.BindText("doc", document_code);
  q_getval.BindInteger("numero", document_number);
  q_getval.Open();
  const Currency total = q_getval.Eof() ? Currency() : q_getval.AsCurrency("total");
  q_getval.Close();
  return total;
}

// Appends one incidence per rate row of the document. When the rows' totals
// add up to the document's total, its last incidence takes the remainder, so
// the document's Totals add up to the amount settled; otherwise (a damaged or
// hand-edited document) they stay as scaled, and the comparison with the
// database shows the difference.
void ReceiptIncidenceCalculator::AppendIncidences(TIncidencias& out, std::string_view document_code,
                                                  std::int64_t document_number, Currency settled,
                                                  Currency document_total) {
  const std::size_t first = out.size();
  Currency rate_totals;
  PosQuery& q_getcomp = m_queries->getcomp;
  q_getcomp.BindText("doc", document_code);
  q_getcomp.BindInteger("numero", document_number);
  q_getcomp.Open();
  for (; !q_getcomp.Eof(); q_getcomp.Next()) {
    TIncidencia incidence;
    incidence.Taxa = RateOf(q_getcomp.AsInteger("iva"));
    const Currency rate_total = q_getcomp.AsCurrency("total");
    incidence.Incidencia = incidence_arithmetic::Scaled(q_getcomp.AsCurrency("valor"), settled, document_total);
    incidence.Total = incidence_arithmetic::Scaled(rate_total, settled, document_total);
    rate_totals += rate_total;
    out.push_back(incidence);
  }
  q_getcomp.Close();
  if (document_total.raw() == 0 || out.size() == first || rate_totals != document_total) return;
  Currency others;
  for (std::size_t i = first; i + 1 < out.size(); ++i) others += out[i].Total;
  out.back().Total = settled - others;
}

TIncidencias ReceiptIncidenceCalculator::ReceiptIncidences(std::int64_t receipt_number) {
  TIncidencias incidences;
  PosQuery& q_getcompRC = m_queries->getcompRC;
  q_getcompRC.BindInteger("numero", receipt_number);
  q_getcompRC.Open();
  for (; !q_getcompRC.Eof(); q_getcompRC.Next()) {
    const SettledDocument settled = SettledDocumentOf(q_getcompRC.AsInteger("FA"), q_getcompRC.AsInteger("NC"));
    AppendIncidences(incidences, settled.code, settled.number, q_getcompRC.AsCurrency("valor"),
                     DocumentTotal(settled.code, settled.number));
  }
  q_getcompRC.Close();
  return incidences;
}

TIncidencias ReceiptIncidenceCalculator::SettledDocumentIncidences(std::int64_t receipt_number,
                                                                   std::string_view document_code,
                                                                   std::int64_t document_number) {
  const Currency total = DocumentTotal(document_code, document_number);
  Currency settled;
  if (total.raw() != 0) {
    PosQuery& amount_query = document_code == "FA" ? m_queries->getRCValorFA : m_queries->getRCValorNC;
    amount_query.BindInteger("rc", receipt_number);
    amount_query.BindInteger("numero", document_number);
    amount_query.Open();
    settled = amount_query.Eof() ? Currency() : amount_query.AsCurrency("valor");
    amount_query.Close();
  }
  TIncidencias incidences;
  AppendIncidences(incidences, document_code, document_number, settled, total);
  return incidences;
}

}  // namespace varnel
