// One verification: the file's root is looked at first (its namespace picks
// the schema version, its declaration the code page), then libxml2's reader
// streams the file through the content checks while its bytes are checked on
// their way in. The compiled-in schema validates either in that same pass
// (the default) or in a pass of its own on a second thread that reads the
// file alongside. The signature chain, when asked for, is fed by the content
// checks and checks its RSA signatures on a thread of its own; an abort drops
// it. libxml2's messages (English, with line numbers) are collected
// through the structured error handlers, capped, and wrapped in Portuguese.
#include "verify/audit_file_verifier.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <thread>

#include "base/file_names.h"
#include "verify/content_checks.h"
#include "verify/declared_encoding.h"
#include "verify/file_bytes.h"
#include "verify/finding_list.h"
#include "verify/libxml_handles.h"
#include "verify/queued_signature_chain.h"
#include "verify/schema_messages.h"
#include "verify/schema_pass.h"
#include "verify/schema_versions.h"

namespace varnel {

int VerificationReport::errors() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.severity == FindingSeverity::Error; }));
}

int VerificationReport::warnings() const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [](const Finding& f) { return f.severity == FindingSeverity::Warning; }));
}

namespace verify {
namespace {

constexpr int kProgressEvery = 50;
constexpr int kReaderOptions = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT | XML_PARSE_BIG_LINES;

void IgnoreError(void*, xmlErrorPtr) {}

// A file in another encoding than Windows-1252 is read in its own, and said
// once. The tax authority's published structure notes, as far as this
// program's authors could read them, ask for XML valid against the schema
// and name no code page; Windows-1252 is what billing programs write and
// what some receiving programs expect. Hence a note, not a warning.
constexpr FindingSeverity kOtherEncodingSeverity = FindingSeverity::Note;

std::string Hex(unsigned value) {
  static const char digits[] = "0123456789ABCDEF";
  return std::string("0x") + digits[(value >> 4) & 15] + digits[value & 15];
}

// What the start of the file says: the root's name and namespace and the
// declared encoding. Read by a reader of its own that stops at the root.
struct FileStart {
  bool found_root = false;
  std::string root_name;
  std::string namespace_uri;
};

FileStart ReadFileStart(const std::filesystem::path& file) {
  FileStart start;
  ThreadErrorRoute route(IgnoreError, nullptr);
  AuditFileBytes bytes(file);
  if (!bytes.is_open()) return start;
  const std::string file_name = Utf8FromPath(file);
  XmlReader reader(xmlReaderForIO(AuditFileBytes::Read, AuditFileBytes::Close, &bytes, file_name.c_str(), nullptr,
                                  kReaderOptions));
  if (!reader) return start;
  xmlTextReaderSetStructuredErrorHandler(reader.get(), IgnoreError, nullptr);
  while (xmlTextReaderRead(reader.get()) == 1) {
    if (xmlTextReaderNodeType(reader.get()) != XML_READER_TYPE_ELEMENT) continue;
    start.found_root = true;
    const auto text = [](const xmlChar* s) { return s != nullptr ? std::string(reinterpret_cast<const char*>(s)) : ""; };
    start.root_name = text(xmlTextReaderConstLocalName(reader.get()));
    start.namespace_uri = text(xmlTextReaderConstNamespaceUri(reader.get()));
    break;
  }
  return start;
}

class Verification {
 public:
  Verification(const std::filesystem::path& file, const VerificationOptions& options, VerificationProgress* progress,
               VerificationReport& report)
      : m_file(file), m_options(options), m_progress(progress), m_report(report) {}

  void Run();
  // The findings, the signature chain's last (it caps its own).
  std::vector<Finding> TakeFindings() {
    std::vector<Finding> findings = m_findings.Take();
    for (Finding& finding : m_signature_findings) findings.push_back(std::move(finding));
    return findings;
  }
  void AddInternalError(const std::string& what) {
    m_findings.Add(FindingKind::WellFormed, FindingSeverity::Error, "Ficheiro", "",
                   "A verificação parou por um erro interno: " + what);
  }

 private:
  // Called from inside libxml2, so nothing may be thrown through it.
  static void OnError(void* context, xmlErrorPtr error) noexcept {
    try {
      static_cast<Verification*>(context)->Collect(error);
    } catch (...) {
    }
  }
  void Collect(xmlErrorPtr error);
  XmlSchema CompileSchema(const SchemaVersion& version);
  void ReportBytes(const ByteFindings& bytes);
  void ReportCodePage(const ByteFindings& bytes);
  void ReportLineEnds(const ByteFindings& bytes);
  bool ReportProgress(int documents);

  // How the reader's pass ended: libxml2's last read status, whether
  // "Abortar" stopped it, whether the reader could be made at all.
  struct ReadEnd {
    int status = 0;
    bool stopped = false;
    bool created = true;
  };
  void CheckFileStart(AuditFileBytes& bytes);
  void CheckEncoding(AuditFileBytes& bytes);
  ReadEnd ReadContent(AuditFileBytes& bytes, xmlSchemaValidCtxtPtr validator, ContentChecks& checks);
  static void Dispatch(xmlTextReaderPtr reader, ElementNames& names, ContentChecks& checks);
  void Conclude(const ReadEnd& end, const AuditFileBytes& bytes, ContentChecks& checks,
                const SchemaMessages& schema_messages);
  void ReportUnfinishedRead();

  const std::filesystem::path& m_file;
  const VerificationOptions& m_options;
  VerificationProgress* m_progress;
  VerificationReport& m_report;
  FindingList m_findings;
  std::vector<Finding> m_signature_findings;
  const SchemaVersion* m_version = nullptr;
  XmlDocument m_schema_document;  // the schema as a tree, when its constraints are taken out
  // The schema's messages when it validates in the reader's pass.
  SchemaMessages* m_schema_messages = nullptr;

  DeclaredEncoding m_encoding{ByteEncoding::Windows1252, "Windows-1252", "Windows-1252", ""};
  bool m_fatal = false;
  int m_fatal_line = 0;
};

void Verification::Collect(xmlErrorPtr error) {
  if (error == nullptr) return;
  if (error->domain == XML_FROM_SCHEMASV) {
    if (m_schema_messages) m_schema_messages->Collect(*error, error->line);
    return;
  }
  std::string message = OneLine(error->message);
  const bool warning = error->level == XML_ERR_WARNING;
  if (error->level == XML_ERR_FATAL && !m_fatal) {
    m_fatal = true;
    m_fatal_line = error->line;
  }
  // Bytes the declared encoding cannot read: said in words first.
  if (error->code == XML_ERR_INVALID_ENCODING || message.find("not proper UTF-8") != std::string::npos) {
    message = "os bytes não correspondem à codificação declarada (" + m_encoding.label + "): " + message;
  }
  m_findings.Add(FindingKind::WellFormed, warning ? FindingSeverity::Warning : FindingSeverity::Error, "Ficheiro", "",
                 (warning ? "Aviso do leitor XML na linha " : "XML mal formado na linha ") +
                     std::to_string(error->line) + ": " + message);
}

// Removes the identity constraints (xs:unique, xs:key, xs:keyref) from a
// schema document, wherever they stand.
void RemoveIdentityConstraints(xmlNodePtr node) {
  static const xmlChar kSchemaNamespace[] = "http://www.w3.org/2001/XMLSchema";
  for (xmlNodePtr child = node->children; child != nullptr;) {
    xmlNodePtr next = child->next;
    if (child->type == XML_ELEMENT_NODE) {
      const bool constraint = child->ns != nullptr && xmlStrEqual(child->ns->href, kSchemaNamespace) &&
                              (xmlStrEqual(child->name, BAD_CAST "unique") ||
                               xmlStrEqual(child->name, BAD_CAST "key") || xmlStrEqual(child->name, BAD_CAST "keyref"));
      if (constraint) {
        xmlUnlinkNode(child);
        xmlFreeNode(child);
      } else {
        RemoveIdentityConstraints(child);
      }
    }
    child = next;
  }
}

XmlSchema Verification::CompileSchema(const SchemaVersion& version) {
  const char* bytes = reinterpret_cast<const char*>(version.schema_bytes);
  const int size = static_cast<int>(version.schema_size);
  XmlSchemaParser parser;
  if (m_options.schema_key_constraints) {
    parser.reset(xmlSchemaNewMemParserCtxt(bytes, size));
  } else {
    m_schema_document.reset(xmlReadMemory(bytes, size, "schema.xsd", nullptr, XML_PARSE_NONET));
    if (m_schema_document) {
      RemoveIdentityConstraints(reinterpret_cast<xmlNodePtr>(m_schema_document.get()));
      parser.reset(xmlSchemaNewDocParserCtxt(m_schema_document.get()));
    }
  }
  if (!parser) {
    m_findings.Add(FindingKind::Schema, FindingSeverity::Error, "Ficheiro", "",
                   "O esquema " + std::string(version.label) + " incluído no programa não pôde ser lido");
    return nullptr;
  }
  std::string first_error;
  xmlSchemaSetParserStructuredErrors(
      parser.get(),
      [](void* context, xmlErrorPtr error) {
        auto* text = static_cast<std::string*>(context);
        if (text->empty() && error != nullptr) *text = OneLine(error->message);
      },
      &first_error);
  XmlSchema schema(xmlSchemaParse(parser.get()));
  if (!schema) {
    m_findings.Add(FindingKind::Schema, FindingSeverity::Error, "Ficheiro", "",
                   "O esquema " + std::string(version.label) + " incluído no programa não pôde ser lido: " +
                       first_error);
  }
  return schema;
}

bool Verification::ReportProgress(int documents) {
  if (m_progress == nullptr) return true;
  m_progress->documentsChecked(documents);
  return !m_progress->aborted();
}

// The schema's own pass on a second thread, when the options ask for one:
// started over the file, stopped and joined on every way out.
class SchemaThread {
 public:
  SchemaThread() = default;
  SchemaThread(const SchemaThread&) = delete;
  SchemaThread& operator=(const SchemaThread&) = delete;
  ~SchemaThread() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
  }

  void Start(const std::filesystem::path& file, xmlSchemaPtr schema, SchemaMessages& messages) {
    m_thread = std::thread([this, &file, schema, &messages] {
      RunSchemaPass(file, schema, messages, m_stop);
      m_done = true;
    });
  }

  // Waits for the pass to end, unless stopped already; true when "Abortar"
  // stopped it first.
  bool Await(VerificationProgress* progress, bool stopped) {
    while (m_thread.joinable() && !stopped && !m_done) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      stopped = progress != nullptr && progress->aborted();
    }
    m_stop = stopped;
    if (m_thread.joinable()) m_thread.join();
    return stopped;
  }

 private:
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_done{false};
};

void Verification::Run() {
  m_report.completed = true;
  xmlInitParser();  // idempotent; libxml2 wants it before use on a second thread
  AuditFileBytes bytes(m_file);
  if (!bytes.is_open()) {
    m_findings.Add(FindingKind::Bytes, FindingSeverity::Error, "Ficheiro", "",
                   "Não foi possível abrir o ficheiro " + DisplayPath(m_file) + ": " + bytes.open_error());
    return;
  }
  CheckFileStart(bytes);
  // What libxml2 reports outside the reader's and the validator's own
  // handlers (the parser's end-of-input errors among them) comes here too,
  // and nothing goes to standard error.
  ThreadErrorRoute route(OnError, this);
  // Declared before the reader and the schema's thread, which use them.
  XmlSchema schema = m_version != nullptr ? CompileSchema(*m_version) : nullptr;
  const bool own_thread = schema && m_options.schema_on_second_thread;
  XmlSchemaValidator validator(schema && !own_thread ? xmlSchemaNewValidCtxt(schema.get()) : nullptr);
  SchemaMessages in_pass(m_version);    // the reader's validator's messages
  SchemaMessages on_thread(m_version);  // the schema thread's, read only once it has ended
  m_schema_messages = &in_pass;
  SchemaThread schema_thread;
  if (own_thread) schema_thread.Start(m_file, schema.get(), on_thread);

  // The signature chain's thread ends with this function: drained by Finish,
  // or, after an abort or a failure, stopped with what it had left.
  std::unique_ptr<QueuedSignatureChain> signatures;
  if (m_options.signatures != nullptr) signatures = std::make_unique<QueuedSignatureChain>(*m_options.signatures);
  ContentChecks checks(m_version, m_findings, m_report.summary, signatures.get());
  ReadEnd end = ReadContent(bytes, validator.get(), checks);
  if (!end.created) return;
  bytes.Finish();
  if (!end.stopped && m_progress != nullptr) m_progress->documentsChecked(checks.documents());
  // The schema's thread may still be reading; an abort stops it too.
  if (own_thread) end.stopped = schema_thread.Await(m_progress, end.stopped);
  Conclude(end, bytes, checks, own_thread ? on_thread : in_pass);
  // A file read only in part still has its documents read checked.
  if (signatures && !end.stopped) m_signature_findings = signatures->Finish();
}

void Verification::CheckFileStart(AuditFileBytes& bytes) {
  CheckEncoding(bytes);
  const FileStart start = ReadFileStart(m_file);
  if (!start.found_root) return;
  m_version = FindSchemaVersion(start.namespace_uri);
  if (start.root_name != "AuditFile" || m_version == nullptr) {
    m_findings.Add(FindingKind::Version, FindingSeverity::Error, "Ficheiro", "",
                   "O elemento raiz " + start.root_name + " (espaço de nomes \"" + start.namespace_uri +
                       "\") não é o AuditFile de uma versão conhecida do SAF-T (PT); não validado pelo esquema");
  }
}

// The declared encoding from the file's first bytes: the bytes are checked
// against it, a mark that contradicts it is an error and another encoding
// than Windows-1252 one finding.
void Verification::CheckEncoding(AuditFileBytes& bytes) {
  unsigned char head[256];
  const int size = AuditFileBytes::Peek(m_file, head, sizeof head);
  m_encoding = ReadDeclaredEncoding(head, size > 0 ? static_cast<std::size_t>(size) : 0);
  bytes.set_encoding(m_encoding.bytes);
  if (m_encoding.MarkContradicts()) {
    m_findings.Add(FindingKind::Encoding, FindingSeverity::Error, "Ficheiro", "",
                   "O ficheiro começa pela marca de " + m_encoding.byte_order_mark +
                       " (BOM) mas declara a codificação " + m_encoding.label +
                       ": a declaração tem de corresponder aos bytes");
  }
  if (m_encoding.bytes == ByteEncoding::Windows1252 || size <= 0) return;
  m_findings.Add(FindingKind::Encoding, kOtherEncodingSeverity, "Ficheiro", "",
                 (m_encoding.declared.empty()
                      ? "Sem codificação declarada: o ficheiro foi lido em " + m_encoding.label
                      : "Codificação " + m_encoding.label + ": o ficheiro foi lido nessa codificação") +
                     ", não em Windows-1252. O SAF-T (PT) escreve-se habitualmente em Windows-1252 e há programas "
                     "de receção que só leem essa codificação");
}

// Streams the file through libxml2's reader into the content checks (and
// the schema's validator, when it validates in this pass).
Verification::ReadEnd Verification::ReadContent(AuditFileBytes& bytes, xmlSchemaValidCtxtPtr validator,
                                                ContentChecks& checks) {
  ReadEnd end;
  const std::string file_name = Utf8FromPath(m_file);
  XmlReader reader(
      xmlReaderForIO(AuditFileBytes::Read, AuditFileBytes::Close, &bytes, file_name.c_str(), nullptr, kReaderOptions));
  if (!reader) {
    m_findings.Add(FindingKind::WellFormed, FindingSeverity::Error, "Ficheiro", "",
                   "O leitor XML não pôde ser criado para o ficheiro");
    end.status = -1;
    end.created = false;
    return end;
  }
  xmlTextReaderSetStructuredErrorHandler(reader.get(), OnError, this);
  if (validator != nullptr) {
    xmlSchemaSetValidStructuredErrors(validator, OnError, this);
    if (xmlTextReaderSchemaValidateCtxt(reader.get(), validator, 0) != 0) {
      m_findings.Add(FindingKind::Schema, FindingSeverity::Error, "Ficheiro", "",
                     "A validação pelo esquema não pôde ser ligada ao leitor");
    }
  }
  ElementNames names;
  int reported = 0;
  while ((end.status = xmlTextReaderRead(reader.get())) == 1) {
    Dispatch(reader.get(), names, checks);
    if (checks.documents() - reported >= kProgressEvery) {
      reported = checks.documents();
      if (!ReportProgress(reported)) {
        end.stopped = true;
        break;
      }
    }
  }
  return end;
}

void Verification::Dispatch(xmlTextReaderPtr reader, ElementNames& names, ContentChecks& checks) {
  switch (xmlTextReaderNodeType(reader)) {
    case XML_READER_TYPE_ELEMENT:
      checks.StartElement(names.Find(xmlTextReaderConstLocalName(reader)));
      if (xmlTextReaderIsEmptyElement(reader) == 1) checks.EndElement();
      break;
    case XML_READER_TYPE_END_ELEMENT: checks.EndElement(); break;
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
    case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
      if (checks.WantsText()) {
        const xmlChar* value = xmlTextReaderConstValue(reader);
        if (value != nullptr) checks.Text(reinterpret_cast<const char*>(value));
      }
      break;
    default: break;
  }
}

// The findings of the end of the reading: an abort, a file that could not
// be read to its end, or the checks that need the whole file.
void Verification::Conclude(const ReadEnd& end, const AuditFileBytes& bytes, ContentChecks& checks,
                            const SchemaMessages& schema_messages) {
  if (end.stopped) {
    m_report.completed = false;
    m_findings.Add(FindingKind::Summary, FindingSeverity::Note, "Ficheiro", "",
                   "Verificação interrompida ao fim de " + std::to_string(checks.documents()) +
                       " documentos; o resto do ficheiro não foi verificado");
  }
  ReportBytes(bytes.findings());
  if (end.stopped) {
    schema_messages.Report(m_findings, checks, false);
    return;
  }
  if (end.status != 0 || m_fatal) {
    ReportUnfinishedRead();
    schema_messages.Report(m_findings, checks, false);
    return;
  }
  checks.Finish(m_options);
  schema_messages.Report(m_findings, checks, true);
}

void Verification::ReportUnfinishedRead() {
  if (!m_fatal) {
    // The reader stopped without a message through the handlers (libxml2
    // leaves some end-of-input errors only in its last-error record).
    const xmlError* last = xmlGetLastError();
    const int line = last != nullptr ? last->line : 0;
    m_findings.Add(FindingKind::WellFormed, FindingSeverity::Error, "Ficheiro", "",
                   last != nullptr && last->message != nullptr
                       ? "XML mal formado na linha " + std::to_string(line) + ": " + OneLine(last->message)
                       : std::string("A leitura do ficheiro falhou antes do fim"));
  }
  m_findings.Add(FindingKind::Summary, FindingSeverity::Note, "Ficheiro", "",
                 "O ficheiro não pôde ser lido até ao fim" +
                     (m_fatal ? " (linha " + std::to_string(m_fatal_line) + ")" : std::string()) +
                     ": as verificações de numeração, de referências e o resumo ficaram por fazer");
}

void Verification::ReportBytes(const ByteFindings& bytes) {
  if (!bytes.read_error.empty()) {
    m_findings.Add(FindingKind::Bytes, FindingSeverity::Error, "Ficheiro", "",
                   "Erro de leitura do ficheiro: " + bytes.read_error);
  }
  if (bytes.undefined_bytes > 0) {
    m_findings.Add(FindingKind::Bytes, FindingSeverity::Error, "Ficheiro", "",
                   std::to_string(bytes.undefined_bytes) +
                       " bytes sem caractere definido em Windows-1252 (o primeiro, " +
                       Hex(bytes.first_undefined_value) + ", na linha " + std::to_string(bytes.first_undefined_line) +
                       ")");
  }
  ReportCodePage(bytes);
  ReportLineEnds(bytes);
}

// Bytes that the declared code page reads as other characters than meant.
void Verification::ReportCodePage(const ByteFindings& bytes) {
  const bool single_byte = m_encoding.bytes == ByteEncoding::Windows1252 || m_encoding.bytes == ByteEncoding::Latin1 ||
                           m_encoding.bytes == ByteEncoding::Latin9;
  if (single_byte && bytes.LooksLikeUtf8() && !m_encoding.MarkContradicts()) {
    m_findings.Add(FindingKind::Encoding, FindingSeverity::Error, "Ficheiro", "",
                   "Declarada a codificação " + m_encoding.label + ", mas os bytes são UTF-8 (" +
                       std::to_string(bytes.utf8_sequences) + " caracteres de vários bytes, o primeiro na linha " +
                       std::to_string(bytes.first_utf8_sequence_line) +
                       "): lidos assim, os acentos saem trocados (\"Ã§\" em vez de \"ç\")");
  }
  if (bytes.control_bytes > 0) {
    m_findings.Add(FindingKind::Encoding, FindingSeverity::Error, "Ficheiro", "",
                   "Declarada a codificação " + m_encoding.label + ", mas " + std::to_string(bytes.control_bytes) +
                       " bytes entre 0x80 e 0x9F (o primeiro, " + Hex(bytes.first_control_value) + ", na linha " +
                       std::to_string(bytes.first_control_line) +
                       ") são nela caracteres de controlo: os bytes parecem Windows-1252 (\"€\", aspas curvas)");
  }
}

// Line ends other than CR LF: one note at most, for no SAF-T rule asks for
// CR LF and XML reads every line end alike.
void Verification::ReportLineEnds(const ByteFindings& bytes) {
  if (bytes.bare_line_feeds == 0 && bytes.bare_carriage_returns == 0) return;
  std::string what;
  if (bytes.bare_line_feeds > 0) {
    what = std::to_string(bytes.bare_line_feeds) + " fins de linha LF sem CR (o primeiro na linha " +
           std::to_string(bytes.first_bare_line_feed_line) + ")";
  }
  if (bytes.bare_carriage_returns > 0) {
    what += (what.empty() ? "" : " e ") + std::to_string(bytes.bare_carriage_returns) +
            " fins de linha CR sem LF (o primeiro na linha " +
            std::to_string(bytes.first_bare_carriage_return_line) + ")";
  }
  m_findings.Add(FindingKind::LineEnds, FindingSeverity::Note, "Ficheiro", "",
                 what + "; nenhuma regra do SAF-T (PT) pede CR LF e o XML lê todos da mesma forma");
}

}  // namespace
}  // namespace verify

VerificationReport VerifyAuditFile(const std::filesystem::path& file, const VerificationOptions& options,
                                   VerificationProgress* progress) {
  VerificationReport report;
  verify::Verification verification(file, options, progress, report);
  try {
    verification.Run();
  } catch (const std::exception& error) {
    // Not verified to the end: said as an error, and not completed.
    report.completed = false;
    verification.AddInternalError(error.what());
  }
  report.findings = verification.TakeFindings();
  return report;
}

}  // namespace varnel
