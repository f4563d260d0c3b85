// The receipt VAT incidences: settled shares, per-rate amounts scaled by them
// and the period's settled totals. Shares and scaled amounts go through long
// double (64-bit significand on x86-64) and come back by rounding ties to
// even; the order of operations is the rule's own (the share's quotient is
// formed before it is multiplied by 10000).
#include "sourcedocs/receipt_incidences.h"

#include <limits>

#include "base/errors.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"

namespace varnel {

namespace {

constexpr long double kShareScale = 10000.0L;

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

std::int64_t SettledShare(Currency settled, Currency document_total) {
  if (document_total.raw() == 0) return 0;
  const long double quotient =
      static_cast<long double>(settled.raw()) / static_cast<long double>(document_total.raw());
  return RoundHalfEvenToInt64(quotient * kShareScale, "a settled share");
}

Currency Scaled(Currency amount, std::int64_t share) {
  const long double product = static_cast<long double>(amount.raw()) * static_cast<long double>(share);
  return Currency::FromRawFloat(product / kShareScale);
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

void ReceiptIncidenceCalculator::AppendIncidences(TIncidencias& out, std::string_view document_code,
                                                  std::int64_t document_number, std::int64_t share) {
  PosQuery& q_getcomp = m_queries->getcomp;
  q_getcomp.BindText("doc", document_code);
  q_getcomp.BindInteger("numero", document_number);
  q_getcomp.Open();
  for (; !q_getcomp.Eof(); q_getcomp.Next()) {
    TIncidencia incidence;
    incidence.Taxa = RateOf(q_getcomp.AsInteger("iva"));
    incidence.Incidencia = incidence_arithmetic::Scaled(q_getcomp.AsCurrency("valor"), share);
    incidence.Total = incidence_arithmetic::Scaled(q_getcomp.AsCurrency("total"), share);
    out.push_back(incidence);
  }
  q_getcomp.Close();
}

TIncidencias ReceiptIncidenceCalculator::ReceiptIncidences(std::int64_t receipt_number) {
  TIncidencias incidences;
  PosQuery& q_getcompRC = m_queries->getcompRC;
  q_getcompRC.BindInteger("numero", receipt_number);
  q_getcompRC.Open();
  for (; !q_getcompRC.Eof(); q_getcompRC.Next()) {
    const SettledDocument settled = SettledDocumentOf(q_getcompRC.AsInteger("FA"), q_getcompRC.AsInteger("NC"));
    const std::int64_t share = incidence_arithmetic::SettledShare(q_getcompRC.AsCurrency("valor"),
                                                                  DocumentTotal(settled.code, settled.number));
    AppendIncidences(incidences, settled.code, settled.number, share);
  }
  q_getcompRC.Close();
  return incidences;
}

TIncidencias ReceiptIncidenceCalculator::SettledDocumentIncidences(std::int64_t receipt_number,
                                                                   std::string_view document_code,
                                                                   std::int64_t document_number) {
  const Currency total = DocumentTotal(document_code, document_number);
  std::int64_t share = 0;
  if (total.raw() != 0) {
    PosQuery& amount_query = document_code == "FA" ? m_queries->getRCValorFA : m_queries->getRCValorNC;
    amount_query.BindInteger("rc", receipt_number);
    amount_query.BindInteger("numero", document_number);
    amount_query.Open();
    const Currency settled = amount_query.Eof() ? Currency() : amount_query.AsCurrency("valor");
    amount_query.Close();
    share = incidence_arithmetic::SettledShare(settled, total);
  }
  TIncidencias incidences;
  AppendIncidences(incidences, document_code, document_number, share);
  return incidences;
}

}  // namespace varnel
