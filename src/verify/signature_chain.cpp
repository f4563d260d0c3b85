// The signature chain, one series at a time. Per series the checker holds
// the Hash of its last signed document and the failures since the last
// document that verified: a document that verifies closes them (each is then
// reported on its own, as a changed document or a swap breaks two or three
// signatures and the chain goes on), while failures still open at the end
// are one break of the series from their first document on. Documents
// without a signature ("0") and documents the program did not sign
// (SourceBilling "I" or "M") stay out of the chain.
#include "verify/signature_chain.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "base/ascii_text.h"
#include "base/value_routines.h"
#include "platform/signature_check.h"
#include "verify/document_numbers.h"
#include "verify/signature_keys.h"

namespace varnel::verify {

namespace {

// Per-document errors listed before the rest are only counted, and failures
// kept per series while they are open.
constexpr std::size_t kMaxDocumentErrors = 50;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The bytes of a base64 text, or nothing when it is not one.
std::optional<std::vector<unsigned char>> DecodeBase64(std::string_view text) {
  if (text.empty() || text.size() % 4 != 0) return std::nullopt;
  std::vector<unsigned char> bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int count = 0;
  std::size_t padding = 0;
  for (char c : text) {
    int value = -1;
    if (c >= 'A' && c <= 'Z') value = c - 'A';
    else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
    else if (c >= '0' && c <= '9') value = c - '0' + 52;
    else if (c == '+') value = 62;
    else if (c == '/') value = 63;
    else if (c == '=') value = 0, ++padding;
    if (value < 0 || (padding > 0 && c != '=')) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    if (++count == 4) {
      bytes.push_back(static_cast<unsigned char>(bits >> 16));
      bytes.push_back(static_cast<unsigned char>(bits >> 8));
      bytes.push_back(static_cast<unsigned char>(bits));
      bits = 0;
      count = 0;
    }
  }
  if (padding > 2) return std::nullopt;
  bytes.resize(bytes.size() - padding);
  return bytes;
}

// The key version a document of this program names: HashControl as a whole
// number (1.03_01 files may leave it out: version 1).
std::optional<int> KeyVersion(const std::optional<std::string>& hash_control) {
  if (!hash_control) return 1;
  const std::string_view text = TrimWhiteSpace(*hash_control);
  if (!AllDigits(text) || text.size() > 6) return std::nullopt;
  return std::stoi(std::string(text));
}

// The number of "FT A/12" (12), when it has one.
std::optional<std::uint32_t> SeriesNumber(std::string_view number) {
  const std::optional<DocumentNumberParts> parts = SplitDocumentNumber(number);
  if (!parts) return std::nullopt;
  return parts->number;
}

// HashControl of a document recovered or issued by hand (SourceBilling "M"):
// "1-FTM abc/00001", or for a duplicate "1-FTD FT abc/00001".
bool IsRecoveredHashControl(std::string_view text) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos || !AllDigits(text.substr(0, dash)) || text.size() < dash + 5) return false;
  const std::string_view type = text.substr(dash + 1, 2);
  const char kind = text[dash + 3];
  if (!std::all_of(type.begin(), type.end(), [](char c) { return c >= 'A' && c <= 'Z'; }) ||
      (kind != 'M' && kind != 'D') || text[dash + 4] != ' ') {
    return false;
  }
  const std::string_view rest = text.substr(dash + 5);
  const std::size_t blanks = static_cast<std::size_t>(std::count(rest.begin(), rest.end(), ' '));
  const std::size_t slash = rest.rfind('/');
  return blanks == (kind == 'M' ? 0u : 1u) && slash != std::string_view::npos && slash > 0 &&
         AllDigits(rest.substr(slash + 1)) && rest.find('/') == slash;
}

// HashControl of a document integrated from another program (SourceBilling
// "I"): its own key version, or the other program's certificate and key
// version ("9999.1"), or "0" when that program was not certified.
bool IsIntegratedHashControl(std::string_view text) {
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return AllDigits(text);
  return AllDigits(text.substr(0, dot)) && AllDigits(text.substr(dot + 1));
}

}  // namespace

const char* SignedSectionName(SignedSection section) {
  switch (section) {
    case SignedSection::SalesInvoices: return "SalesInvoices";
    case SignedSection::MovementOfGoods: return "MovementOfGoods";
    case SignedSection::WorkingDocuments: return "WorkingDocuments";
  }
  return "SalesInvoices";
}

std::string SignatureSeriesKey(SignedSection section, std::string_view number) {
  const std::size_t slash = number.rfind('/');
  std::string key = SignedSectionName(section);
  key += '|';
  key += number.substr(0, slash == std::string_view::npos ? number.size() : slash);
  return key;
}

std::optional<std::string> TwoDecimals(std::string_view amount) {
  amount = TrimWhiteSpace(amount);
  const bool negative = !amount.empty() && amount.front() == '-';
  if (negative || (!amount.empty() && amount.front() == '+')) amount.remove_prefix(1);
  const std::size_t point = amount.find('.');
  std::string whole(amount.substr(0, point));
  std::string fraction(point == std::string_view::npos ? "" : amount.substr(point + 1));
  if ((whole.empty() && fraction.empty()) || (!whole.empty() && !AllDigits(whole)) ||
      (!fraction.empty() && !AllDigits(fraction))) {
    return std::nullopt;
  }
  if (whole.empty()) whole = "0";
  const bool round_up = fraction.size() > 2 && fraction[2] >= '5';
  fraction.resize(2, '0');
  std::string digits = whole + fraction;  // the amount in cents
  for (std::size_t i = digits.size(); round_up && i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      break;
    }
    digits[i] = '0';
    if (i == 0) digits.insert(digits.begin(), '1');
  }
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 3));
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  return std::string(negative && !zero ? "-" : "") + digits.substr(0, digits.size() - 2) + "." +
         digits.substr(digits.size() - 2);
}

std::string SignedText(const SignedDocument& document, std::string_view previous_hash) {
  const std::optional<std::string> gross = TwoDecimals(document.gross_total);
  std::string text;
  text.reserve(64 + previous_hash.size());
  text.append(TrimWhiteSpace(document.date)).append(";");
  text.append(TrimWhiteSpace(document.system_entry)).append(";");
  text.append(document.number).append(";");
  text.append(gross ? *gross : std::string(TrimWhiteSpace(document.gross_total))).append(";");
  text.append(previous_hash);
  return text;
}

struct SignatureChain::Failure {
  std::string document;
  std::string message;
};

struct SignatureChain::Series {
  SignedSection section = SignedSection::SalesInvoices;
  std::string name;  // "FT A"
  bool chain_started = false;
  std::string previous_hash;
  std::string previous_document;
  std::uint64_t checked = 0;    // signatures of the series checked with a key
  // Failures since the last document that verified: the first ones kept.
  std::vector<Failure> open;
  std::uint64_t open_count = 0;
  bool open_from_first = false;  // no signature of the series verified yet
  std::uint64_t unsigned_count = 0;
  std::string first_unsigned;
};

SignatureChain::SignatureChain(SignatureChainSetup setup) : m_setup(std::move(setup)) {}

SignatureChain::~SignatureChain() = default;

void SignatureChain::SetCertificateNumber(std::string_view number) { m_certificate = TrimWhiteSpace(number); }

SignatureChain::Series& SignatureChain::SeriesOf(const SignedDocument& document) {
  std::unique_ptr<Series>& series = m_series[SignatureSeriesKey(document.section, document.number)];
  if (!series) {
    series = std::make_unique<Series>();
    series->section = document.section;
    const std::size_t slash = document.number.rfind('/');
    series->name = document.number.substr(0, slash == std::string::npos ? document.number.size() : slash);
  }
  return *series;
}

void SignatureChain::Add(const SignedDocument& document) {
  const std::string_view origin = TrimWhiteSpace(document.source_billing);
  if (origin == "I" || origin == "M") {
    CheckOtherOrigin(document);
    return;
  }
  Series& series = SeriesOf(document);
  const std::string hash(TrimWhiteSpace(document.hash));
  if (hash.empty() || hash == "0") {
    if (series.unsigned_count++ == 0) series.first_unsigned = document.number;
    return;
  }
  ++m_signed;
  CheckSigned(series, document, hash);
  series.chain_started = true;
  series.previous_hash = hash;
  series.previous_document = document.number;
}

// A signed document of this program: its key version, its key, then the
// signature. Whatever the outcome, its Hash is the next one's previous Hash.
void SignatureChain::CheckSigned(Series& series, const SignedDocument& document, const std::string& hash) {
  const std::optional<int> version = KeyVersion(document.hash_control);
  if (!version) {
    Add(FindingSeverity::Warning, SignedSectionName(document.section), document.number,
        "HashControl \"" + std::string(TrimWhiteSpace(*document.hash_control)) +
            "\" não é uma versão de chave: num documento emitido pelo programa (SourceBilling P) é a versão da "
            "chave privada que o assinou; a assinatura não foi verificada");
    return;
  }
  VersionCount& count = m_versions[*version];
  if (count.documents++ == 0) count.first = document.number;
  if (m_setup.keys == nullptr || m_setup.keys->Find(*version) == nullptr) return;
  Verify(series, document, *version, hash);
}

void SignatureChain::Verify(Series& series, const SignedDocument& document, int version, const std::string& hash) {
  const std::optional<std::vector<unsigned char>> signature = DecodeBase64(hash);
  if (!signature) return;  // the Hash's form is the verifier's form check to report
  platform::RsaPublicKey& key = *m_setup.keys->Find(version);
  std::string previous = series.previous_hash;
  std::string previous_name = series.previous_document;
  if (!series.chain_started) {
    const auto given = m_setup.previous.find(SignatureSeriesKey(document.section, document.number));
    if (given != m_setup.previous.end()) {
      previous = given->second.hash;
      previous_name = given->second.document + ", da base de dados";
    } else if (!m_setup.previous_from_database && SeriesNumber(document.number) != 1u &&
               !key.Verify(SignedText(document, ""), *signature)) {
      const std::optional<std::uint32_t> number = SeriesNumber(document.number);
      Add(FindingSeverity::Note, SignedSectionName(document.section), document.number,
          "Primeiro documento da série " + series.name +
              " no ficheiro: a assinatura não foi verificada, porque encadeia com a do documento anterior" +
              (number && *number > 0 ? " (" + series.name + "/" + std::to_string(*number - 1) + ")" : std::string()) +
              ", que não está no ficheiro");
      return;
    }
  }
  ++m_checked;
  ++series.checked;
  VersionCount& count = m_versions[version];
  if (key.Verify(SignedText(document, previous), *signature)) {
    ++m_verified;
    ++count.verified;
    CloseFailures(series);
    return;
  }
  ++count.failed;
  if (series.open_count++ == 0) series.open_from_first = series.checked == 1;
  if (series.open.size() < kMaxDocumentErrors) {
    const std::string text = SignedText(document, "");
    series.open.push_back(
        {document.number, "Assinatura não confere (chave versão " + std::to_string(version) + ") com \"" + text +
                              (previous.empty() ? std::string() : "<Hash de " + previous_name + ">") +
                              "\": um destes valores foi alterado depois de assinado" +
                              (previous.empty() ? " (primeiro documento da série, sem Hash anterior)" : "")});
  }
}

// A document that verified ends the failures before it: each was a document
// of its own whose signature does not verify.
void SignatureChain::CloseFailures(Series& series) {
  for (Failure& failure : series.open) {
    AddDocumentError(series.section, std::move(failure.document), std::move(failure.message));
  }
  m_document_errors_left += series.open_count - series.open.size();
  series.open.clear();
  series.open_count = 0;
}

void SignatureChain::CheckOtherOrigin(const SignedDocument& document) {
  const std::string_view origin = TrimWhiteSpace(document.source_billing);
  const std::string_view control = document.hash_control ? TrimWhiteSpace(*document.hash_control) : std::string_view();
  if (origin == "M" && !IsRecoveredHashControl(control)) {
    Add(FindingSeverity::Warning, SignedSectionName(document.section), document.number,
        "HashControl \"" + std::string(control) +
            "\" de um documento de recuperação ou de emissão manual (SourceBilling M): a forma é versão da chave, "
            "\"-\", tipo do documento com M, série/número do documento manual (por exemplo 1-FTM abc/00001)");
  } else if (origin == "I" && !IsIntegratedHashControl(control)) {
    Add(FindingSeverity::Warning, SignedSectionName(document.section), document.number,
        "HashControl \"" + std::string(control) +
            "\" de um documento integrado de outro programa (SourceBilling I): a forma é a versão da chave, ou o "
            "certificado do programa de origem e a versão da sua chave (por exemplo 9999.1), ou 0");
  }
}

void SignatureChain::AddDocumentError(SignedSection section, std::string document, std::string message) {
  if (m_document_errors >= kMaxDocumentErrors) {
    ++m_document_errors_left;
    return;
  }
  ++m_document_errors;
  Add(FindingSeverity::Error, SignedSectionName(section), std::move(document), std::move(message));
}

void SignatureChain::Add(FindingSeverity severity, std::string section, std::string document,
                         std::string message) {
  m_findings.push_back({severity, std::move(section), std::move(document), std::move(message)});
}

std::vector<Finding> SignatureChain::Finish() {
  for (auto& [key, series] : m_series) ReportSeries(*series);
  if (m_document_errors_left > 0) {
    Add(FindingSeverity::Error, "Ficheiro", "",
        "Mais " + CountText(m_document_errors_left, "documento", "documentos") +
            " cujas assinaturas não conferem, além dos listados");
  }
  ReportKeys();
  return std::move(m_findings);
}

void SignatureChain::ReportSeries(Series& series) {
  ReportOpenFailures(series);
  const bool certified = !m_certificate.empty() && m_certificate != "0";
  if (series.unsigned_count > 0 && certified) {
    const bool one = series.unsigned_count == 1;
    Add(FindingSeverity::Warning, SignedSectionName(series.section), series.first_unsigned,
        (one ? "1 documento da série " + series.name + " sem assinatura (Hash 0), " + series.first_unsigned +
                   ", emitido"
             : std::to_string(series.unsigned_count) + " documentos da série " + series.name +
                   " sem assinatura (Hash 0) emitidos") +
            " pelo programa (SourceBilling P), que é certificado (n.º " + m_certificate +
            ") e assina todos os documentos que emite" + (one ? "" : "; o primeiro é " + series.first_unsigned));
  }
}

// Failures still open at the end of the series: one alone is that
// document's; more are a break of the series from the first of them on.
void SignatureChain::ReportOpenFailures(Series& series) {
  if (series.open_count < 2) {
    CloseFailures(series);
    return;
  }
  const std::string first = series.open.front().document;
  const std::string count = std::to_string(series.open_count);
  Add(FindingSeverity::Error, SignedSectionName(series.section), first,
      series.open_from_first
          ? "Nenhuma das " + count + " assinaturas da série " + series.name + " confere, desde " + first +
                ", a primeira verificada"
          : "A cadeia de assinaturas da série " + series.name + " quebra em " + first + ": nenhuma das " + count +
                " assinaturas desde esse documento até ao fim da série confere");
  series.open.clear();
  series.open_count = 0;
}

void SignatureChain::ReportKeys() {
  if (m_setup.keys == nullptr || m_setup.keys->empty()) {
    if (m_signed > 0) {
      Add(FindingSeverity::Note, "Ficheiro", "",
          "Assinaturas não verificadas: falta a chave pública do produtor do programa que assinou os " +
              CountText(m_signed, "documento", "documentos") +
              " (Varnel.ini, secção [Assinaturas], ou --public-key); só a forma do Hash foi verificada");
    }
    return;
  }
  for (const auto& [version, count] : m_versions) {
    const std::string name = "versão " + std::to_string(version);
    if (m_setup.keys->Find(version) == nullptr) {
      Add(FindingSeverity::Note, "Ficheiro", count.first,
          "Assinaturas da chave " + name + " não verificadas: falta a chave pública dessa versão (" +
              CountText(count.documents, "documento", "documentos") + ", o primeiro " + count.first + ")");
    } else if (count.verified == 0 && count.failed >= 2) {
      Add(FindingSeverity::Note, "Ficheiro", "",
          "Nenhuma das " + std::to_string(count.failed) + " assinaturas da chave " + name +
              " confere com a chave pública \"" + m_setup.keys->Source(version) +
              "\": será a chave de outro produtor, ou de outra versão?");
    }
  }
}

}  // namespace varnel::verify
