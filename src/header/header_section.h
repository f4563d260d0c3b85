// The first lines of every audit file: the XML declaration and the comment
// that names the exporting program, the AuditFile root's opening tag, and
// the Header element. While writing the Header the section reads versao and
// decides the SchemaGeneration.
#pragma once

#include <string>
#include <string_view>

#include "section/audit_file_rules.h"
#include "section/schema_generation.h"

namespace varnel {

class SectionContext;
class XmlLineWriter;
struct ExportRequest;

// The root element's name, and its opening tag with the version's namespace.
inline constexpr std::string_view kAuditFileTag = "AuditFile";
std::string AuditFileOpening(const AuditFileRules& rules);

// The XML declaration and the program's comment, without indentation.
void WritePrologue(XmlLineWriter& out, const ExportRequest& request);

// "<Header>" to "</Header>" at level 1; returns the database's generation.
SchemaGeneration WriteHeader(SectionContext& context);

}  // namespace varnel
