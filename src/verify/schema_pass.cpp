// The schema's own pass. The SAX handler is empty: the validator plugged in
// front of it sees every event, and nothing is built. libxml2 gives the
// validator's messages no line in this mode, so the parser's current line
// (the end of the element in question, as a rule) stands in for it.
#include "verify/schema_pass.h"

#include <cstring>
#include <vector>

#include "base/file_names.h"
#include "verify/file_bytes.h"
#include "verify/libxml_handles.h"

namespace varnel::verify {

namespace {

constexpr std::size_t kChunk = 1 << 18;

struct PushParserDeleter {
  void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};
using XmlPushParser = std::unique_ptr<xmlParserCtxt, PushParserDeleter>;

struct PlugDeleter {
  void operator()(xmlSchemaSAXPlugPtr plug) const { xmlSchemaSAXUnplug(plug); }
};
using XmlSchemaPlug = std::unique_ptr<xmlSchemaSAXPlugStruct, PlugDeleter>;

struct PassState {
  SchemaMessages* messages;
  xmlParserCtxtPtr parser = nullptr;
};

void OnValidityError(void* context, xmlErrorPtr error) noexcept {
  auto* state = static_cast<PassState*>(context);
  if (error == nullptr || error->domain != XML_FROM_SCHEMASV) return;
  try {
    const int line = error->line > 0                                            ? error->line
                     : state->parser != nullptr && state->parser->input != nullptr ? state->parser->input->line
                                                                                     : 0;
    state->messages->Collect(*error, line);
  } catch (...) {
  }
}

void IgnoreError(void*, xmlErrorPtr) {}

}  // namespace

void RunSchemaPass(const std::filesystem::path& file, xmlSchemaPtr schema, SchemaMessages& messages,
                   const std::atomic<bool>& stop) {
  try {
    ThreadErrorRoute route(IgnoreError, nullptr);
    PassState state{&messages};
    AuditFileBytes bytes(file);
    if (!bytes.is_open()) return;  // the reader's pass says so
    XmlSchemaValidator validator(xmlSchemaNewValidCtxt(schema));
    if (!validator) {
      messages.SetFailure("A validação pelo esquema não pôde começar");
      return;
    }
    xmlSchemaSetValidStructuredErrors(validator.get(), OnValidityError, &state);

    std::vector<char> chunk(kChunk);
    const int first = AuditFileBytes::Read(&bytes, chunk.data(), 4);
    static xmlSAXHandler empty_handler;
    xmlSAXHandler handler = empty_handler;
    handler.initialized = XML_SAX2_MAGIC;
    handler.serror = IgnoreError;  // well-formedness is the reader pass's to report
    const std::string file_name = Utf8FromPath(file);
    XmlPushParser parser(
        xmlCreatePushParserCtxt(&handler, nullptr, chunk.data(), first > 0 ? first : 0, file_name.c_str()));
    if (!parser) {
      messages.SetFailure("A validação pelo esquema não pôde começar");
      return;
    }
    state.parser = parser.get();
    xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_COMPACT);
    XmlSchemaPlug plug(xmlSchemaSAXPlug(validator.get(), &parser->sax, &parser->userData));
    if (!plug) {
      messages.SetFailure("A validação pelo esquema não pôde começar");
      return;
    }
    for (;;) {
      if (stop.load(std::memory_order_relaxed)) return;
      const int got = AuditFileBytes::Read(&bytes, chunk.data(), static_cast<int>(chunk.size()));
      if (got < 0) return;
      if (xmlParseChunk(parser.get(), chunk.data(), got, got == 0 ? 1 : 0) != 0 && !parser->wellFormed) return;
      if (got == 0) return;
    }
  } catch (const std::exception& error) {
    messages.SetFailure(std::string("A validação pelo esquema parou por um erro interno: ") + error.what());
  } catch (...) {
    messages.SetFailure("A validação pelo esquema parou por um erro interno");
  }
}

}  // namespace varnel::verify
