// The list of every SQL text of the system, so a test can run each one
// against a real schema and a dialect gap shows at once.
#include "posdb/query_texts.h"

namespace varnel {

const std::vector<QueryText>& AllQueryTexts() {
  static const std::vector<QueryText> texts = {
      {"q_versao", kQ_versao},
      {"q_docNoCli", kQ_docNoCli},
      {"q_CliByContrib", kQ_CliByContrib},
      {"q_MaxCli", kQ_MaxCli},
      {"q_AddCli", kQ_AddCli},
      {"q_UpdDoc", kQ_UpdDoc},
      {"q_usertable (compensacoes)", kAlterCompensacoes},
      {"q_usertable (documentos)", kAlterDocumentos},
      {"q_cli", kQ_cli},
      {"q_forn", kQ_forn},
      {"q_prod", kQ_prod},
      {"q_iva", kQ_iva},
      {"q_tot", kQ_tot},
      {"q_doc_new", kQ_doc_new},
      {"q_doc_old", kQ_doc_old},
      {"q_ven", kQ_ven},
      {"q_comp_new", kQ_comp_new},
      {"q_comp_old", kQ_comp_old},
      {"q_norma", kQ_norma},
      {"q_isencaoprod", kQ_isencaoprod},
      {"q_consultas_new", kQ_consultas_new},
      {"q_consultas_old", kQ_consultas_old},
      {"q_totcm", kQ_totcm},
      {"q_venCM", kQ_venCM},
      {"q_docRC", kQ_docRC},
      {"q_countRC", kQ_countRC},
      {"q_RCLines", kQ_RCLines},
      {"q_getSaftSign", kQ_getSaftSign},
      {"q_getnorma", kQ_getnorma},
      {"q_getcompRC", kQ_getcompRC},
      {"q_getcomp", kQ_getcomp},
      {"q_getval", kQ_getval},
      {"q_getRCValorFA", kQ_getRCValorFA},
      {"q_getRCValorNC", kQ_getRCValorNC},
      {"q_getcompRCTotal", kQ_getcompRCTotal},
      {"q_getcompRCTotalDebit", kQ_getcompRCTotalDebit},
  };
  return texts;
}

}  // namespace varnel
