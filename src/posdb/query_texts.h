// Every SQL text of the system, word for word as the point-of-sale product's
// database (T-SQL) is asked, one constant per query holding its name and its
// text: kQ_ plus the query's own name without its "q_" (kQ_cli is q_cli); the
// two variants of one query by schema generation share its name. Lines are
// joined with "\n"; empty lines and double blanks are kept exactly. Some
// texts differ on purpose from the product's originals, to mend faults in
// them:
//   - kQ_doc_old and kQ_consultas_old read anulado as ISNULL(anulado, 0) (the
//     original names `false`, which SQL Server does not know) and supply ''
//     for saftsign (and 0 for CashVATScheme in kQ_doc_old), which the
//     document loops read.
// The two ALTER statements run through the spare query object q_usertable.
// The three transaction statements are the back ends' default way to group
// the maintenance's writes (backend.h).
#pragma once

#include <string_view>
#include <vector>

namespace varnel {

// A query: the name it carries in every message and statement count, and its
// T-SQL text. Each query of the system is one such value, so a name never
// travels without its text.
struct QueryText {
  std::string_view name;
  std::string_view sql;
};

inline constexpr QueryText kQ_versao{"q_versao",
    "SELECT major FROM versao"};

inline constexpr QueryText kQ_docNoCli{"q_docNoCli",
    "SELECT numero, doc, nome, morada, contribuinte FROM documentos\n"
    "WHERE ((cliente = 0) OR (cliente = 1)) AND (contribuinte <> '') AND (contribuinte NOT LIKE '*%')"};

inline constexpr QueryText kQ_CliByContrib{"q_CliByContrib",
    "SELECT codigo FROM Clientes\n"
    "WHERE contribuinte = :contribuinte"};

inline constexpr QueryText kQ_MaxCli{"q_MaxCli",
    "SELECT ISNULL(MAX(codigo) + 1, 2) AS codigo FROM Clientes"};

inline constexpr QueryText kQ_AddCli{"q_AddCli",
    "INSERT INTO Clientes (codigo, nome, morada, datacriacao, valormov, valordivida, contribuinte)\n"
    "VALUES (:codigo, :nome, :morada, 0, 0, 0, :contribuinte)"};

inline constexpr QueryText kQ_UpdDoc{"q_UpdDoc",
    "UPDATE documentos\n"
    "SET cliente = :cliente\n"
    "WHERE numero = :numero AND doc = :doc"};

inline constexpr QueryText kBeginTransaction{"q_begin", "BEGIN TRANSACTION"};
inline constexpr QueryText kCommitTransaction{"q_commit", "COMMIT TRANSACTION"};
inline constexpr QueryText kRollbackTransaction{"q_rollback", "ROLLBACK TRANSACTION"};

inline constexpr QueryText kAlterCompensacoes{"q_usertable",
    "ALTER TABLE compensacoes ADD FS int, FT int"};

inline constexpr QueryText kAlterDocumentos{"q_usertable",
    "ALTER TABLE documentos ADD saftsign varchar(255)"};

inline constexpr QueryText kQ_cli{"q_cli",
    "SELECT codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1 FROM clientes\n"
    "WHERE codigo > 1\n"
    "ORDER BY codigo"};

inline constexpr QueryText kQ_forn{"q_forn",
    "SELECT codigo, nome, contribuinte, morada, localidade, codpostal, codpostal1 FROM fornecedores\n"
    "WHERE codigo > 0\n"
    "ORDER BY codigo"};

inline constexpr QueryText kQ_prod{"q_prod",
    "SELECT distinct v.codigo AS codigo, ISNULL(p.descricao, v.descricao) AS descricao , ISNULL(p.familia, 0) AS familia FROM vendas v\n"
    "LEFT JOIN produtos p ON p.codigo=v.codigo\n"
    "WHERE v.codigo > 0\n"
    "AND v.data >=:datai\n"
    "AND v.data <=:dataf\n"
    "AND v.codigo <> -999\n"
    "UNION\n"
    "SELECT codigo, descricao, familia FROM produtos\n"
    "WHERE codigo > 0\n"
    "AND codigo <> -999\n"
    "ORDER BY codigo"};

inline constexpr QueryText kQ_iva{"q_iva",
    "SELECT codigo, descricao FROM iva ORDER BY codigo"};

inline constexpr QueryText kQ_doc_new{"q_doc",
    "SELECT doc, numero, data, datahora, cliente, total, liquido, anulado, hash, hashcontrol, saftsign, emp, CashVATScheme FROM documentos\n"
    "WHERE data >=:datai\n"
    "AND data <= :dataf\n"
    "AND doc IN ('TK','VD','FA','NC','FS','FT')\n"
    "AND pagamento <> 6\n"
    "ORDER BY doc, numero"};

inline constexpr QueryText kQ_doc_old{"q_doc",
    "SELECT doc, numero, data, datahora, cliente, total, liquido, ISNULL(anulado, 0) as anulado, '' as hash, 0 as hashcontrol, '' as saftsign, emp, 0 as CashVATScheme FROM documentos\n"
    "WHERE data >=:datai\n"
    "AND data <= :dataf\n"
    "AND doc IN ('TK','VD','FA','NC')\n"
    "AND pagamento <> 6\n"
    "ORDER BY doc, numero"};

inline constexpr QueryText kQ_ven{"q_ven",
    "SELECT v.doc, v.numero, v.codigo, v.descricao, v.qtd, v.punit, v.iva, (v.total / ((100.0+v.iva)/100)) as valor, v.total, v.desconto, v.isencao, ISNULL(u.descricao,'N/D') AS unidade FROM vendas v\n"
    "LEFT JOIN produtos p on p.codigo=v.codigo\n"
    "LEFT JOIN unidades u ON p.unidade = u.codigo\n"
    "WHERE v.doc=:doc AND v.numero=:numero"};

inline constexpr QueryText kQ_comp_new{"q_comp",
    "DECLARE @datai DATETIME, @dataf DATETIME\n"
    "SET @datai=:datai\n"
    "SET @dataf=:dataf\n"
    "SELECT 'TK' AS doc, TK AS numero, 'CM' AS ref, CM AS refnum, data FROM compensacoes WHERE ISNULL(CM,0) <> 0 AND ISNULL(TK,0)<>0 AND data >=@datai AND data <= @dataf\n"
    "UNION\n"
    "SELECT 'VD' AS doc, VD AS numero, 'CM' AS ref, CM AS refnum, data FROM compensacoes WHERE ISNULL(CM,0) <> 0 AND ISNULL(VD,0)<>0 AND data >=@datai AND data <= @dataf\n"
    "UNION\n"
    "SELECT 'FA' AS doc, FA AS numero, 'CM' AS ref, CM AS refnum, data FROM compensacoes WHERE ISNULL(CM,0) <> 0 AND ISNULL(FA,0)<>0 AND data >=@datai AND data <= @dataf\n"
    "UNION\n"
    "SELECT 'FS' AS doc, FS AS numero, 'CM' AS ref, CM AS refnum, data FROM compensacoes WHERE ISNULL(CM,0) <> 0 AND ISNULL(FS,0)<>0 AND data >=@datai AND data <= @dataf\n"
    "UNION\n"
    "SELECT 'FT' AS doc, FT AS numero, 'CM' AS ref, CM AS refnum, data FROM compensacoes WHERE ISNULL(CM,0) <> 0 AND ISNULL(FT,0)<>0 AND data >=@datai AND data <= @dataf\n"
    "ORDER BY doc, numero, data, ref\n"
    ""};

inline constexpr QueryText kQ_comp_old{"q_comp",
    "DECLARE @datai DATETIME, @dataf DATETIME\n"
    "SET @datai=:datai\n"
    "SET @dataf=:dataf\n"
    "SELECT 'NA' AS doc, 0 AS numero, 0 AS ref, 0 AS refnum, GETDATE() AS data\n"
    ""};

inline constexpr QueryText kQ_norma{"q_norma",
    "SELECT norma FROM motivos_isencao\n"
    "WHERE codigo = :codigo"};

inline constexpr QueryText kQ_isencaoprod{"q_isencaoprod",
    "SELECT isencao FROM Produtos\n"
    "WHERE codigo = :codigo"};

inline constexpr QueryText kQ_consultas_new{"q_consultas",
    "SELECT doc, numero, data, datahora, cliente, total, liquido, anulado, hash, hashcontrol, saftsign, emp FROM documentos\n"
    "WHERE data >=:datai\n"
    "AND data <= :dataf\n"
    "AND doc = 'CM'\n"
    "AND pagamento <> 6\n"
    "ORDER BY doc, numero"};

inline constexpr QueryText kQ_consultas_old{"q_consultas",
    "SELECT doc, numero, data, datahora, cliente, total, liquido, ISNULL(anulado, 0) as anulado, '' as hash, 0 as hashcontrol, '' as saftsign, emp FROM documentos\n"
    "WHERE data >=:datai\n"
    "AND data <= :dataf\n"
    "AND doc = 'CM'\n"
    "AND pagamento <> 6\n"
    "ORDER BY doc, numero"};

inline constexpr QueryText kQ_venCM{"q_venCM",
    "SELECT doc, numero, v.codigo, v.descricao, qtd, punit, v.iva, (total / ((100.0+v.iva)/100)) as valor, total, desconto, ISNULL(u.descricao,'N/D') AS unidade, v.isencao FROM vendas v\n"
    "LEFT JOIN produtos p ON p.codigo=v.codigo\n"
    "LEFT JOIN unidades u ON u.codigo=p.unidade\n"
    "WHERE doc=:doc AND numero=:numero"};

inline constexpr QueryText kQ_docRC{"q_docRC",
    "SELECT numero, data, anulado, cliente, total, saftsign, datahora, CashVATScheme FROM documentos\n"
    "WHERE (doc = 'RC') AND ((data >= :datai) AND (data <= :dataf))"};

inline constexpr QueryText kQ_countRC{"q_countRC",
    "DECLARE @datai DATETIME, @dataf DATETIME\n"
    "SET @datai=:datai\n"
    "SET @dataf=:dataf\n"
    "SELECT ISNULL((SELECT COUNT(numero)  FROM documentos WHERE doc = 'RC' AND data >=@datai AND data <= @dataf),0) AS nrecs"};

inline constexpr QueryText kQ_RCLines{"q_RCLines",
    "SELECT FA, NC, valor FROM compensacoes c\n"
    "WHERE RC = :numero AND ((ISNULL(c.FA, 0) > 0) OR (ISNULL(c.NC, 0) > 0))\n"
    "ORDER BY data"};

inline constexpr QueryText kQ_getSaftSign{"q_getSaftSign",
    "SELECT saftsign, data FROM documentos\n"
    "WHERE doc = :doc AND numero = :numero"};

inline constexpr QueryText kQ_getnorma{"q_getnorma",
    "SELECT m.norma FROM motivos_isencao m\n"
    "INNER JOIN documentos d ON m.codigo = d.isencao\n"
    "WHERE (d.doc = :doc) AND (d.numero = :numero)"};

inline constexpr QueryText kQ_getcompRC{"q_getcompRC",
    "SELECT FA, NC, valor  FROM compensacoes\n"
    "WHERE RC=:numero AND ((ISNULL(FA, 0) > 0) OR (ISNULL(NC, 0) > 0))"};

inline constexpr QueryText kQ_getcomp{"q_getcomp",
    "SELECT iva, SUM(valor) AS valor, SUM(total) AS total FROM vendas\n"
    "WHERE numero=:numero AND doc =:doc GROUP BY iva, isencao"};

inline constexpr QueryText kQ_getval{"q_getval",
    "SELECT total FROM documentos\n"
    "WHERE numero=:numero AND doc = :doc"};

inline constexpr QueryText kQ_getRCValorFA{"q_getRCValorFA",
    "SELECT valor FROM compensacoes\n"
    "WHERE RC=:rc AND (FA = :numero)"};

inline constexpr QueryText kQ_getRCValorNC{"q_getRCValorNC",
    "SELECT valor FROM compensacoes\n"
    "WHERE RC=:rc AND (NC = :numero)"};

// Every document of the period with its payment, its signed number and its
// stored total, for comparing the finished file with the database it came
// from; in the database's order, which costs no sort.
inline constexpr QueryText kQ_reconcile{"q_reconcile",
    "SELECT doc, numero, pagamento, saftsign, total FROM documentos\n"
    "WHERE data >= :datai AND data <= :dataf"};

// The settlement rows of every receipt of the period, the amounts its
// Payment must add up to, for the same comparison.
inline constexpr QueryText kQ_reconcileRC{"q_reconcileRC",
    "SELECT c.RC, c.valor FROM compensacoes c\n"
    "INNER JOIN documentos d ON d.numero = c.RC\n"
    "WHERE d.doc = 'RC' AND d.data >= :datai AND d.data <= :dataf\n"
    "AND ((ISNULL(c.FA, 0) > 0) OR (ISNULL(c.NC, 0) > 0))\n"
    "ORDER BY c.RC"};

// The settlement rows of one receipt, and a settled document's stored total
// with the sum of its lines' totals: why a receipt's worth in the file
// differs from the database's, for the comparison's message.
inline constexpr QueryText kQ_reconcileRCRows{"q_reconcileRCRows",
    "SELECT FA, NC FROM compensacoes\n"
    "WHERE RC = :numero AND ((ISNULL(FA, 0) > 0) OR (ISNULL(NC, 0) > 0))"};

inline constexpr QueryText kQ_reconcileSettled{"q_reconcileSettled",
    "SELECT d.total, (SELECT SUM(v.total) FROM vendas v WHERE v.doc = d.doc AND v.numero = d.numero) AS linhas\n"
    "FROM documentos d\n"
    "WHERE d.doc = :doc AND d.numero = :numero"};

// The products the period sold, for the Resumido type's product list: the
// first half of q_prod alone, with its order.
inline constexpr QueryText kQ_prodVend{"q_prodVend",
    "SELECT distinct v.codigo AS codigo, ISNULL(p.descricao, v.descricao) AS descricao , ISNULL(p.familia, 0) AS familia FROM vendas v\n"
    "LEFT JOIN produtos p ON p.codigo=v.codigo\n"
    "WHERE v.codigo > 0\n"
    "AND v.data >=:datai\n"
    "AND v.data <=:dataf\n"
    "AND v.codigo <> -999\n"
    "ORDER BY codigo"};

// The signed document just before the first one of the period, per document
// code, whatever its date: the previous link of each series' signature chain,
// so the verification of an export checks the period's first documents too.
// A document counts as signed when its hash is neither empty nor "0"; the
// first one of the period is the first the document queries select.
inline constexpr QueryText kQ_hashAnterior{"q_hashAnterior",
    "SELECT d.doc, d.numero, d.hash, d.saftsign FROM documentos d\n"
    "INNER JOIN (SELECT a.doc, MAX(a.numero) AS numero FROM documentos a\n"
    "INNER JOIN (SELECT doc, MIN(numero) AS primeiro FROM documentos\n"
    "WHERE data >= :datai AND data <= :dataf AND doc IN ('TK','VD','FA','NC','FS','FT','CM') AND pagamento <> 6\n"
    "GROUP BY doc) p ON p.doc = a.doc\n"
    "WHERE a.numero < p.primeiro AND LTRIM(RTRIM(ISNULL(a.hash, ''))) NOT IN ('', '0')\n"
    "GROUP BY a.doc) u ON u.doc = d.doc AND u.numero = d.numero"};

// Every text above, in the order above (the variants of one query share its
// name).
const std::vector<QueryText>& AllQueryTexts();

}  // namespace varnel
