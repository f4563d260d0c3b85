// The signature pass. The SAX handler follows the element depth only: the
// Header's SoftwareCertificateNumber (depth 3), the three document sections
// (depth 3), their documents (depth 4), the signed values right inside a
// document (depth 5) and SourceBilling and GrossTotal one level further, in
// DocumentStatus and DocumentTotals. Text is kept only while one of those
// values is open; everything else passes by without a copy.
#include "verify/signature_pass.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include <libxml/parser.h>

#include "base/file_names.h"
#include "platform/open_file.h"
#include "verify/libxml_handles.h"

namespace varnel::verify {

namespace {

constexpr std::size_t kChunk = 1 << 18;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct PushParserDeleter {
  void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};
using XmlPushParser = std::unique_ptr<xmlParserCtxt, PushParserDeleter>;

bool Is(const xmlChar* name, const char* expected) {
  return std::strcmp(reinterpret_cast<const char*>(name), expected) == 0;
}

std::optional<SignedSection> SectionNamed(const xmlChar* name) {
  if (Is(name, "SalesInvoices")) return SignedSection::SalesInvoices;
  if (Is(name, "MovementOfGoods")) return SignedSection::MovementOfGoods;
  if (Is(name, "WorkingDocuments")) return SignedSection::WorkingDocuments;
  return std::nullopt;
}

const char* DocumentElement(SignedSection section) {
  switch (section) {
    case SignedSection::SalesInvoices: return "Invoice";
    case SignedSection::MovementOfGoods: return "StockMovement";
    case SignedSection::WorkingDocuments: return "WorkDocument";
  }
  return "Invoice";
}

// Follows the SAX events and hands each finished document on.
class SignedDocumentReader {
 public:
  explicit SignedDocumentReader(const SignedDocumentSink& sink) : m_sink(sink) {}

  void Start(const xmlChar* name) {
    ++m_depth;
    if (m_depth == 2) {
      m_in_header = Is(name, "Header");
      m_in_sources = Is(name, "SourceDocuments");
    } else if (m_depth == 3) {
      if (m_in_header && Is(name, "SoftwareCertificateNumber")) Capture(m_certificate);
      if (m_in_sources) m_section = SectionNamed(name);
    } else if (m_depth == 4 && m_section && Is(name, DocumentElement(*m_section))) {
      m_in_document = true;
      m_document = SignedDocument{};
      m_document.section = *m_section;
    } else if (m_depth == 5 && m_in_document) {
      m_in_status = Is(name, "DocumentStatus");
      m_in_totals = Is(name, "DocumentTotals");
      DocumentValue(name);
    } else if (m_depth == 6 && m_in_status && Is(name, "SourceBilling")) {
      Capture(m_document.source_billing);
    } else if (m_depth == 6 && m_in_totals && Is(name, "GrossTotal")) {
      Capture(m_document.gross_total);
    }
  }

  void End() {
    if (m_capture != nullptr && m_depth == m_capture_depth) m_capture = nullptr;
    if (m_depth == 4 && m_in_document) {
      m_sink(m_document);
      m_in_document = false;
    } else if (m_depth == 5) {
      m_in_status = m_in_totals = false;
    } else if (m_depth == 3) {
      m_section.reset();
    }
    --m_depth;
  }

  void Text(const xmlChar* text, int length) {
    if (m_capture != nullptr) m_capture->append(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
  }

  const std::string& certificate() const { return m_certificate; }

 private:
  void DocumentValue(const xmlChar* name) {
    if (Is(name, "InvoiceNo") || Is(name, "DocumentNumber")) {
      Capture(m_document.number);
    } else if (Is(name, "InvoiceDate") || Is(name, "WorkDate") || Is(name, "MovementDate")) {
      Capture(m_document.date);
    } else if (Is(name, "SystemEntryDate")) {
      Capture(m_document.system_entry);
    } else if (Is(name, "Hash")) {
      Capture(m_document.hash);
    } else if (Is(name, "HashControl")) {
      m_document.hash_control.emplace();
      Capture(*m_document.hash_control);
    }
  }

  void Capture(std::string& target) {
    target.clear();
    m_capture = &target;
    m_capture_depth = m_depth;
  }

  const SignedDocumentSink& m_sink;
  int m_depth = 0;
  bool m_in_header = false;
  bool m_in_sources = false;
  std::optional<SignedSection> m_section;
  bool m_in_document = false;
  bool m_in_status = false;
  bool m_in_totals = false;
  SignedDocument m_document;
  std::string m_certificate;
  std::string* m_capture = nullptr;
  int m_capture_depth = 0;
};

// libxml2's callbacks: nothing may be thrown through them, so a failure
// (memory, as a rule) is kept and the parser stopped.
struct PassContext {
  SignedDocumentReader& reader;
  xmlParserCtxtPtr parser = nullptr;
  std::string failure;
};

template <typename Step>
void Guarded(void* context, Step step) noexcept {
  auto* pass = static_cast<PassContext*>(context);
  if (!pass->failure.empty()) return;
  try {
    step(pass->reader);
  } catch (const std::exception& error) {
    pass->failure = error.what();
    if (pass->parser != nullptr) xmlStopParser(pass->parser);
  }
}

void OnStart(void* context, const xmlChar* name, const xmlChar*, const xmlChar*, int, const xmlChar**, int, int,
             const xmlChar**) {
  Guarded(context, [name](SignedDocumentReader& reader) { reader.Start(name); });
}
void OnEnd(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  Guarded(context, [](SignedDocumentReader& reader) { reader.End(); });
}
void OnText(void* context, const xmlChar* text, int length) {
  Guarded(context, [text, length](SignedDocumentReader& reader) { reader.Text(text, length); });
}
void IgnoreText(void*, const xmlChar*, int) {}
void IgnoreError(void*, xmlErrorPtr) {}

// Feeds the file to the reader until its end, an error or stop; false when
// stopped.
bool ReadFile(const std::filesystem::path& file, SignedDocumentReader& reader, const std::atomic<bool>& stop) {
  std::unique_ptr<std::FILE, FileCloser> input(platform::OpenFile(file, "rb"));
  if (!input) return true;  // the verifier's pass says why
  static xmlSAXHandler empty_handler;
  xmlSAXHandler handler = empty_handler;
  handler.initialized = XML_SAX2_MAGIC;
  handler.startElementNs = OnStart;
  handler.endElementNs = OnEnd;
  handler.characters = OnText;
  handler.cdataBlock = OnText;
  handler.ignorableWhitespace = IgnoreText;
  handler.serror = IgnoreError;
  std::vector<char> chunk(kChunk);
  const std::size_t first = std::fread(chunk.data(), 1, 4, input.get());
  const std::string file_name = Utf8FromPath(file);
  PassContext pass{reader, nullptr, {}};
  XmlPushParser parser(xmlCreatePushParserCtxt(&handler, &pass, chunk.data(), static_cast<int>(first),
                                               file_name.c_str()));
  if (!parser) return true;
  pass.parser = parser.get();
  xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT);
  for (;;) {
    if (stop.load(std::memory_order_relaxed)) return false;
    const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), input.get());
    const bool last = got < chunk.size();
    const int status = xmlParseChunk(parser.get(), chunk.data(), static_cast<int>(got), last ? 1 : 0);
    if (!pass.failure.empty()) throw std::runtime_error(pass.failure);
    if ((status != 0 && !parser->wellFormed) || last) return true;
  }
}

}  // namespace

bool ReadSignedDocuments(const std::filesystem::path& file, const SignedDocumentSink& sink, std::string& certificate,
                         const std::atomic<bool>& stop) {
  xmlInitParser();  // idempotent; libxml2 wants it before use on a second thread
  ThreadErrorRoute route(IgnoreError, nullptr);
  SignedDocumentReader reader(sink);
  const bool read = ReadFile(file, reader, stop);
  certificate = reader.certificate();
  return read;
}

SignatureCheckResult CheckSignatures(const std::filesystem::path& file, SignatureChainSetup setup,
                                     const std::atomic<bool>& stop) {
  SignatureCheckResult result;
  try {
    SignatureChain chain(std::move(setup));
    std::string certificate;
    const SignedDocumentSink sink = [&](const SignedDocument& document) {
      chain.Add(document);
      ++result.documents;
    };
    if (!ReadSignedDocuments(file, sink, certificate, stop)) return {};
    chain.SetCertificateNumber(certificate);
    result.findings = chain.Finish();
    result.completed = true;
    result.checked = chain.signatures_checked();
    result.verified = chain.signatures_verified();
  } catch (const std::exception& error) {
    result.findings.push_back({FindingSeverity::Error, "Ficheiro", "",
                               std::string("A verificação das assinaturas parou por um erro interno: ") + error.what()});
    result.completed = true;
  }
  return result;
}

SignatureCheckThread::SignatureCheckThread(std::filesystem::path file, SignatureChainSetup setup) {
  // libxml2's first initialization is not safe on two threads at once: it
  // happens here, before the second thread exists.
  xmlInitParser();
  m_thread = std::thread([this, file = std::move(file), setup = std::move(setup)]() mutable {
    m_result = CheckSignatures(file, std::move(setup), m_stop);
    m_done = true;
  });
}

SignatureCheckThread::~SignatureCheckThread() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
}

SignatureCheckResult SignatureCheckThread::Await(const std::function<bool()>& aborted) {
  while (!m_done.load() && !(aborted && aborted())) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (!m_done.load()) m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  if (m_stop.load() && !m_result.completed) return {};
  return std::move(m_result);
}

}  // namespace varnel::verify
