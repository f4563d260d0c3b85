// The previous documents' Hash: one row per document code, numbered by the
// same document number rule the sections write (the stored signed number, or
// the number built with the request's series), so its series matches the
// file's.
#include "run/previous_signatures.h"

#include "base/value_routines.h"
#include "posdb/pos_database.h"
#include "posdb/query_texts.h"
#include "sourcedocs/document_numbering.h"

namespace varnel {

std::map<std::string, verify::PreviousSignature> PreviousSignatures(PosDatabase& database,
                                                                    const ExportRequest& request,
                                                                    SchemaGeneration generation) {
  std::map<std::string, verify::PreviousSignature> previous;
  if (generation != SchemaGeneration::Current) return previous;
  PosQuery q_hashAnterior(database, kQ_hashAnterior);
  q_hashAnterior.BindDateTime("datai", request.datai.DatePart());
  q_hashAnterior.BindDateTime("dataf", request.dataf.DatePart());
  for (q_hashAnterior.Open(); !q_hashAnterior.Eof(); q_hashAnterior.Next()) {
    const std::string code = TrimBlanks(q_hashAnterior.AsText("doc"));
    const bool consultation = code == "CM";
    const std::string number =
        DocumentNumber(q_hashAnterior.AsText("saftsign"), consultation ? "CM" : MapDocumentType(code).number_prefix,
                       request.fserienum, q_hashAnterior.AsInteger("numero"));
    const auto section =
        consultation ? verify::SignedSection::WorkingDocuments : verify::SignedSection::SalesInvoices;
    previous[verify::SignatureSeriesKey(section, number)] = {number, TrimBlanks(q_hashAnterior.AsText("hash"))};
  }
  q_hashAnterior.Close();
  return previous;
}

}  // namespace varnel
