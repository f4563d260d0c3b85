// The thread-wide error route of libxml_handles.h. libxml2 keeps its error
// handlers per thread, so a verification on one thread does not disturb
// another.
#include "verify/libxml_handles.h"

#include <libxml/globals.h>

namespace varnel::verify {

namespace {

// Generic (unstructured) messages are dropped: everything the verifier
// reports comes through a structured handler with its line number.
void DropGenericError(void*, const char*, ...) {}

}  // namespace

ThreadErrorRoute::ThreadErrorRoute(xmlStructuredErrorFunc handler, void* context)
    : m_previous_handler(xmlStructuredError),
      m_previous_context(xmlStructuredErrorContext),
      m_previous_generic(xmlGenericError),
      m_previous_generic_context(xmlGenericErrorContext) {
  xmlSetStructuredErrorFunc(context, handler);
  xmlSetGenericErrorFunc(nullptr, DropGenericError);
}

ThreadErrorRoute::~ThreadErrorRoute() {
  xmlSetStructuredErrorFunc(m_previous_context, m_previous_handler);
  xmlSetGenericErrorFunc(m_previous_generic_context, m_previous_generic);
}

}  // namespace varnel::verify
