// Reading the documents back from the audit file: the file is read in blocks
// of 1 MB, each cut after its last whole line (the rest carried to the next
// block). A line is looked at only when it starts (after its indentation)
// with one of the few tags that name a document, carry its worth or close it;
// and between a document's number and its GrossTotal, where no other line
// matters, the scan jumps from one "G" to the next (memchr), so the pass costs
// little more than reading the bytes. A document without a GrossTotal (a file
// the schema rejects) would take the next one's and hide that next document:
// both then show as differences, never as a match.
#include "run/audit_file_documents.h"

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace varnel {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr int kMaxIntegerDigits = 14;

// The text between "<tag>" and the next "<" when line starts with open_tag.
std::optional<std::string_view> ElementValue(std::string_view line, std::string_view open_tag) {
  if (!line.starts_with(open_tag)) return std::nullopt;
  line.remove_prefix(open_tag.size());
  const std::size_t end = line.find('<');
  if (end == std::string_view::npos) return std::nullopt;
  return line.substr(0, end);
}

constexpr std::string_view kGrossTotalTag = "<GrossTotal>";

// Where the first "<GrossTotal>" of text starts, or npos.
std::size_t FindGrossTotal(std::string_view text) {
  std::size_t from = 1;
  while (from < text.size()) {
    const void* found = std::memchr(text.data() + from, 'G', text.size() - from);
    if (found == nullptr) return std::string_view::npos;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) - 1;
    if (text[at] == '<' && text.substr(at).starts_with(kGrossTotalTag)) return at;
    from = at + 2;
  }
  return std::string_view::npos;
}

class DocumentScanner {
 public:
  explicit DocumentScanner(const std::function<void(const FileDocument&)>& each) : m_each(each) {}

  // A run of whole lines; the last one lacks its line end only at the end of
  // the file.
  void Lines(std::string_view lines) {
    while (!lines.empty()) {
      if (m_open && !m_gross_seen) {
        const std::size_t gross = FindGrossTotal(lines);
        if (gross == std::string_view::npos) return;
        lines.remove_prefix(gross);
      }
      const std::size_t end = lines.find('\n');
      Line(lines.substr(0, end));
      if (end == std::string_view::npos) return;
      lines.remove_prefix(end + 1);
    }
  }

  void Finish() {
    if (!m_open) return;
    m_open = false;
    if (m_gross && (!m_withholding_seen || m_current.withholding)) {
      m_current.worth = *m_gross - m_current.withholding.value_or(Currency());
    }
    m_each(m_current);
  }

 private:
  void Line(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && line[start] == ' ') ++start;
    if (start + 1 >= line.size() || line[start] != '<') return;
    line.remove_prefix(start);
    if (line.back() == '\r') line.remove_suffix(1);
    switch (line[1]) {
      case 'I': Start(DocumentSection::Sales, ElementValue(line, "<InvoiceNo>")); break;
      case 'D': Start(DocumentSection::Working, ElementValue(line, "<DocumentNumber>")); break;
      case 'P': Start(DocumentSection::Payments, ElementValue(line, "<PaymentRefNo>")); break;
      case 'G': Amount(ElementValue(line, kGrossTotalTag), m_gross, m_gross_seen); break;
      case 'W': Amount(ElementValue(line, "<WithholdingTaxAmount>"), m_current.withholding, m_withholding_seen); break;
      case '/':
        if (line == "</Invoice>" || line == "</WorkDocument>" || line == "</Payment>") Finish();
        break;
      default: break;
    }
  }

  void Start(DocumentSection section, std::optional<std::string_view> number) {
    if (!number) return;
    m_current = FileDocument{section, std::string(*number), std::nullopt, std::nullopt};
    m_gross.reset();
    m_gross_seen = false;
    m_withholding_seen = false;
    m_open = true;
  }

  // A second value of the same element adds to the first; a text that is not
  // an amount leaves none for the document.
  void Amount(std::optional<std::string_view> text, std::optional<Currency>& value, bool& seen) {
    if (!text || !m_open) return;
    const std::optional<Currency> amount = ParseFileAmount(*text);
    if (!seen) {
      value = amount;
    } else if (value && amount) {
      *value += *amount;
    } else {
      value.reset();
    }
    seen = true;
  }

  const std::function<void(const FileDocument&)>& m_each;
  FileDocument m_current;
  std::optional<Currency> m_gross;
  bool m_gross_seen = false;
  bool m_withholding_seen = false;
  bool m_open = false;
};

}  // namespace

std::optional<Currency> ParseFileAmount(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  std::int64_t raw = 0;
  int integer_digits = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++integer_digits) {
    if (integer_digits == kMaxIntegerDigits) return std::nullopt;
    raw = raw * 10 + (text[i] - '0');
  }
  if (integer_digits == 0) return std::nullopt;
  raw *= Currency::kScale;
  if (i < text.size() && text[i] == '.') {
    ++i;
    std::int64_t unit = Currency::kScale;
    const std::size_t first_decimal = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      unit /= 10;
      if (unit == 0 && text[i] != '0') return std::nullopt;
      raw += unit * (text[i] - '0');
    }
    if (i == first_decimal) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return Currency::FromRaw(negative ? -raw : raw);
}

void ReadAuditFileDocuments(const std::filesystem::path& file,
                            const std::function<void(const FileDocument&)>& each) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("não foi possível abrir o ficheiro exportado para o ler de novo");
  DocumentScanner scanner(each);
  std::vector<char> block(kBlockSize);
  std::size_t carried = 0;  // the start of a line that the previous block cut
  while (true) {
    // Only a line longer than the block (no file of ours has one) grows it.
    if (carried == block.size()) block.resize(block.size() * 2);
    in.read(block.data() + carried, static_cast<std::streamsize>(block.size() - carried));
    if (in.bad()) throw std::runtime_error("erro ao ler de novo o ficheiro exportado");
    const std::size_t filled = carried + static_cast<std::size_t>(in.gcount());
    const std::string_view text(block.data(), filled);
    if (!in) {
      scanner.Lines(text);
      break;
    }
    const std::size_t last_line_end = text.rfind('\n');
    const std::size_t whole = last_line_end == std::string_view::npos ? 0 : last_line_end + 1;
    scanner.Lines(text.substr(0, whole));
    carried = filled - whole;
    std::memmove(block.data(), block.data() + whole, carried);
  }
  scanner.Finish();
}

}  // namespace varnel
