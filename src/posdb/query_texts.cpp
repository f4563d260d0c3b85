// The list of every SQL text of the system, so a test can run each one
// against a real schema and a dialect gap shows at once.
#include "posdb/query_texts.h"

namespace varnel {

const std::vector<QueryText>& AllQueryTexts() {
  static const std::vector<QueryText> texts = {
      kQ_versao,
      kQ_docNoCli,
      kQ_CliByContrib,
      kQ_MaxCli,
      kQ_AddCli,
      kQ_UpdDoc,
      kAlterCompensacoes,
      kAlterDocumentos,
      kQ_cli,
      kQ_forn,
      kQ_prod,
      kQ_iva,
      kQ_doc_new,
      kQ_doc_old,
      kQ_ven,
      kQ_comp_new,
      kQ_comp_old,
      kQ_norma,
      kQ_isencaoprod,
      kQ_consultas_new,
      kQ_consultas_old,
      kQ_venCM,
      kQ_docRC,
      kQ_countRC,
      kQ_RCLines,
      kQ_getSaftSign,
      kQ_getnorma,
      kQ_getcompRC,
      kQ_getcomp,
      kQ_getval,
      kQ_getRCValorFA,
      kQ_getRCValorNC,
      kQ_reconcile,
      kQ_reconcileRC,
      kQ_reconcileRCRows,
      kQ_reconcileSettled,
      kQ_prodVend,
      kQ_hashAnterior,
  };
  return texts;
}

}  // namespace varnel
