// Naming rules of documents: sales document types, document
// numbers and signature lines.
//
// A stored signed number is used only when it has the shape of one: some text,
// then a series part, "/" and the number. One that is empty, has no "/",
// starts with "/" or has a blank just before its first "/" (no series letter)
// is replaced by the number built from prefix, series letter and numero.
#include "sourcedocs/document_numbering.h"

#include "base/atcud_series_code.h"
#include "base/value_routines.h"
#include "base/xml_line_writer.h"
#include "section/section_context.h"

namespace varnel {

DocumentType MapDocumentType(std::string_view trimmed_doc) {
  if (trimmed_doc == "TK") return {"TV", "TV"};
  if (trimmed_doc == "FA") return {"FA", "FT"};
  if (trimmed_doc == "FS") return {"FS", "FS"};
  return {std::string(trimmed_doc), std::string(trimmed_doc)};
}

std::string DocumentNumber(std::string_view signed_number, std::string_view prefix, SeriesIndex series,
                           std::int64_t numero) {
  const std::size_t slash = signed_number.find('/');
  if (slash != std::string_view::npos && slash > 0 && signed_number[slash - 1] != ' ') {
    return std::string(signed_number);
  }
  std::string built(prefix);
  built += ' ';
  built += series.Letter();
  built += '/';
  built += IntText(numero);
  return built;
}

void WriteSignature(XmlLineWriter& writer, SchemaGeneration generation, std::string_view signed_number,
                    SeriesIndex series, std::string_view hash, std::string_view hash_control,
                    const AuditFileRules& rules) {
  // Documents signed without a series letter keep their stored signature;
  // an unsigned document of a lettered series carries none.
  const bool stored = generation == SchemaGeneration::Current &&
                      (!signed_number.empty() || !series.has_letter());
  if (!stored) {
    writer.WriteLine("<Hash>0</Hash>");
    if (rules.hash_control_always) writer.WriteLine("<HashControl>0</HashControl>");
    return;
  }
  writer.WriteElement("Hash", XmlEscape(OrDefault(hash, "0")));
  if (rules.hash_control_always) {
    writer.WriteElement("HashControl", XmlText(OrDefault(hash_control, "0"), rules.hash_control_length));
    return;
  }
  const auto control = ReadInteger(hash_control);
  if (control && *control != 0) writer.WriteElement("HashControl", XmlEscape(hash_control));
}

void WriteDocumentNumber(SectionContext& context, std::string_view tag, const std::string& number) {
  XmlLineWriter& out = context.writer();
  out.WriteElement(tag, XmlEscape(number));
  if (context.fileRules().atcud) out.WriteElement("ATCUD", XmlEscape(Atcud(number, context.request().atcudCodes)));
}

}  // namespace varnel
