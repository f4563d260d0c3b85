// Schema validation as a pass of its own, for a thread of its own: libxml2's
// push parser with the schema validator plugged into its SAX stream reads the
// file again (from the page cache, as a rule) while the reader's pass does
// the content checks, so the two costs overlap on two cores. It reports only
// the schema's messages; well-formedness and bytes are the reader pass's.
#pragma once

#include <atomic>
#include <filesystem>

#include <libxml/xmlschemas.h>

#include "verify/schema_messages.h"

namespace varnel::verify {

// Validates file against schema, collecting into messages, until the end of
// the file, a fatal parse error or stop. Never throws; a failure to run is
// set on messages.
void RunSchemaPass(const std::filesystem::path& file, xmlSchemaPtr schema, SchemaMessages& messages,
                   const std::atomic<bool>& stop);

}  // namespace varnel::verify
