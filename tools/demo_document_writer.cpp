// Writes documentos, vendas and compensacoes rows for the demo documents.
// Amounts go in as the point of sale keeps them: money in euros with two
// decimals, tax-exclusive amounts with four, quantities with three; a
// document's date is its day at midnight and datahora its stamp. Every
// document is issued by operator 1 (emp), outside the cash VAT scheme.
#include "tools/demo_document_writer.h"

#include <string_view>

#include "tools/demo_calendar.h"
#include "tools/demo_catalogue.h"

namespace varnel::demo {

namespace {

constexpr const char* kSourceId = "1";

}  // namespace

DemoDocumentWriter::DemoDocumentWriter(tools::SqliteFile& file, const DemoDatabaseOptions& options,
                                       DemoRandom& random, DemoDatabaseSummary& summary)
    : m_options(options), m_random(random), m_summary(summary), m_timeline(options, random), m_signer(options) {
  m_insert_document = file.Prepare(
      "INSERT INTO documentos (doc, numero, data, datahora, cliente, nome, morada, contribuinte, "
      "total, liquido, anulado, hash, hashcontrol, saftsign, emp, CashVATScheme, pagamento, "
      "isencao) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
      "?17, ?18)",
      "insert documentos");
  m_insert_line = file.Prepare(
      "INSERT INTO vendas (doc, numero, codigo, descricao, qtd, punit, iva, total, valor, "
      "desconto, isencao, data) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)",
      "insert vendas");
  m_insert_settlement = file.Prepare(
      "INSERT INTO compensacoes (RC, FA, NC, TK, VD, FS, FT, CM, valor, data) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
      "insert compensacoes");
}

void DemoDocumentWriter::Emit(Document& document) {
  Stamp stamp = m_timeline.TakeStamp(m_produced);
  document.day = stamp.day;
  document.second = stamp.second;
  document.number = ++m_numbers[document.code];
  std::string exemption = AddUpLines(document);
  DemoSignature signature = SignDocument(document);
  std::string day_text = DayTimeText(document.day, 0);
  InsertDocument(document, signature, exemption, day_text);
  InsertLines(document, day_text);
  CountDocument(document, signature);
}

// The audit file signs sales and table consultations, not receipts nor the
// internal consumption it leaves out. Its GrossTotal is the total before
// withholding, on a credit note with the sign turned; a consultation's is
// its total as stored.
DemoSignature DemoDocumentWriter::SignDocument(const Document& document) {
  const bool signs = document.code != "RC" && document.payment != kPaymentLeftOut;
  std::int64_t withheld_cents = 0;
  for (const SaleLine& line : document.lines) {
    if (line.product == kWithholdingProduct && document.code != "CM") withheld_cents += line.total_cents;
  }
  const std::int64_t gross = document.lines.empty() ? 0 : document.total_cents - withheld_cents;
  const SignedFields fields{document.day, document.second, document.code == "NC" ? -gross : gross};
  return m_signer.Sign(m_random, document.code, document.number, signs, fields);
}

std::string DemoDocumentWriter::AddUpLines(Document& document) {
  document.total_cents = 0;
  document.net_raw = 0;
  std::string exemption;
  for (const SaleLine& line : document.lines) {
    document.total_cents += line.total_cents;
    if (line.product == kWithholdingProduct) {
      document.has_withholding = true;
      continue;
    }
    document.net_raw += line.net_raw;
    if (line.vat == 0 && exemption.empty()) exemption = line.exemption;
  }
  if (document.receipt_total_cents) document.total_cents = *document.receipt_total_cents;
  if (document.receipt_net_raw) document.net_raw = *document.receipt_net_raw;
  return exemption;
}

void DemoDocumentWriter::InsertDocument(const Document& document, const DemoSignature& signature,
                                        const std::string& exemption,
                                        const std::string& day_text) {
  tools::SqliteStatement& insert = m_insert_document;
  insert.BindText(1, document.code);
  insert.BindInteger(2, document.number);
  insert.BindText(3, day_text);
  insert.BindText(4, DayTimeText(document.day, document.second));
  insert.BindInteger(5, document.party.customer);
  insert.BindOptionalText(6, document.party.name);
  insert.BindOptionalText(7, document.party.address);
  insert.BindOptionalText(8, document.party.taxpayer);
  insert.BindReal(9, FromCents(document.total_cents));
  insert.BindReal(10, FromTenThousandths(document.net_raw));
  insert.BindInteger(11, document.annulled ? 1 : 0);
  insert.BindText(12, signature.hash);
  insert.BindText(13, signature.hash_control);
  insert.BindText(14, signature.signed_number);
  insert.BindText(15, kSourceId);
  insert.BindInteger(16, 0);
  insert.BindInteger(17, document.payment);
  insert.BindTextOrNull(18, exemption);
  insert.Execute();
}

void DemoDocumentWriter::InsertLines(const Document& document, const std::string& day_text) {
  for (const SaleLine& line : document.lines) {
    tools::SqliteStatement& row = m_insert_line;
    row.BindText(1, document.code);
    row.BindInteger(2, document.number);
    row.BindInteger(3, line.product);
    row.BindText(4, line.description);
    row.BindReal(5, static_cast<double>(line.quantity_milli) / 1000.0);
    row.BindReal(6, FromCents(line.unit_cents));
    row.BindInteger(7, line.vat);
    row.BindReal(8, FromCents(line.total_cents));
    row.BindReal(9, FromTenThousandths(line.net_raw));
    row.BindReal(10, FromCents(line.discount_cents));
    row.BindTextOrNull(11, line.line_exemption);
    row.BindText(12, day_text);
    row.Execute();
    ++m_summary.sale_lines;
    if (line.product == kWithholdingProduct) {
      ++m_summary.withholding_lines;
    } else if (line.vat == 0) {
      ++m_summary.exempt_lines;
    }
    if (line.discount_cents != 0) ++m_summary.discounted_lines;
  }
}

void DemoDocumentWriter::CountDocument(const Document& document, const DemoSignature& signature) {
  ++m_produced;
  if (!signature.hash.empty()) ++m_summary.signed_documents;
  if (signature.signed_number.empty()) {
    if (document.code != "RC" && document.payment != kPaymentLeftOut) ++m_summary.never_signed;
  } else if (signature.signed_number.find(" /") != std::string::npos) {
    ++m_summary.without_series_letter;
  }
  ++m_summary.documents;
  ++m_summary.documents_by_code[document.code];
  if (document.annulled) ++m_summary.annulled;
  if (document.payment == kPaymentLeftOut) ++m_summary.left_out;
  if (document.party.customer <= 1 && document.party.taxpayer) ++m_summary.without_customer;
}

void DemoDocumentWriter::Settle(std::initializer_list<std::pair<const char*, std::int64_t>> columns,
                                std::int64_t valor_cents, std::int64_t day) {
  static constexpr const char* kColumns[] = {"RC", "FA", "NC", "TK", "VD", "FS", "FT", "CM"};
  tools::SqliteStatement& row = m_insert_settlement;
  for (int i = 0; i < 8; ++i) {
    row.BindNull(i + 1);
    for (const auto& [name, number] : columns) {
      if (std::string_view(name) == kColumns[i]) row.BindInteger(i + 1, number);
    }
  }
  row.BindReal(9, FromCents(valor_cents));
  row.BindText(10, DayTimeText(day, 0));
  row.Execute();
}

}  // namespace varnel::demo
