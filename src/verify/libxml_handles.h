// One owner type per libxml2 handle the verifier uses, each a unique_ptr whose
// deleter is the handle's own free function, so no path out of a verification
// (a parse error, an abort, an exception) leaks one. Also the guard that
// routes libxml2's thread-wide error output to the verifier while it runs.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <memory>

namespace varnel::verify {

struct DocumentDeleter {
  void operator()(xmlDocPtr document) const { xmlFreeDoc(document); }
};
struct ReaderDeleter {
  void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
};
struct SchemaParserDeleter {
  void operator()(xmlSchemaParserCtxtPtr context) const { xmlSchemaFreeParserCtxt(context); }
};
struct SchemaDeleter {
  void operator()(xmlSchemaPtr schema) const { xmlSchemaFree(schema); }
};
struct SchemaValidatorDeleter {
  void operator()(xmlSchemaValidCtxtPtr context) const { xmlSchemaFreeValidCtxt(context); }
};

using XmlDocument = std::unique_ptr<xmlDoc, DocumentDeleter>;
using XmlReader = std::unique_ptr<xmlTextReader, ReaderDeleter>;
using XmlSchemaParser = std::unique_ptr<xmlSchemaParserCtxt, SchemaParserDeleter>;
using XmlSchema = std::unique_ptr<xmlSchema, SchemaDeleter>;
using XmlSchemaValidator = std::unique_ptr<xmlSchemaValidCtxt, SchemaValidatorDeleter>;

// While alive, libxml2 errors raised outside a handler of their own on this
// thread go to `handler` (or nowhere when it is null) instead of standard
// error; the previous handler comes back afterwards.
class ThreadErrorRoute {
 public:
  ThreadErrorRoute(xmlStructuredErrorFunc handler, void* context);
  ~ThreadErrorRoute();
  ThreadErrorRoute(const ThreadErrorRoute&) = delete;
  ThreadErrorRoute& operator=(const ThreadErrorRoute&) = delete;

 private:
  xmlStructuredErrorFunc m_previous_handler;
  void* m_previous_context;
  xmlGenericErrorFunc m_previous_generic;
  void* m_previous_generic_context;
};

}  // namespace varnel::verify
