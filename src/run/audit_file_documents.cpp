// Reading the documents back from the audit file: the file is read in blocks
// of 1 MB and cut into lines; a line is looked at only when it starts (after
// its indentation) with one of the few tags that name a document, carry its
// worth or close it, so the pass costs little more than reading the bytes.
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

class DocumentScanner {
 public:
  explicit DocumentScanner(const std::function<void(const FileDocument&)>& each) : m_each(each) {}

  void Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || line[start] != '<' || start + 1 >= line.size()) return;
    line.remove_prefix(start);
    switch (line[1]) {
      case 'I': Start(DocumentSection::Sales, ElementValue(line, "<InvoiceNo>")); break;
      case 'D': Start(DocumentSection::Working, ElementValue(line, "<DocumentNumber>")); break;
      case 'P': Start(DocumentSection::Payments, ElementValue(line, "<PaymentRefNo>")); break;
      case 'G': Amount(ElementValue(line, "<GrossTotal>"), m_gross, m_gross_seen); break;
      case 'W': Amount(ElementValue(line, "<WithholdingTaxAmount>"), m_current.withholding, m_withholding_seen); break;
      case '/':
        if (line == "</Invoice>" || line == "</WorkDocument>" || line == "</Payment>") Finish();
        break;
      default: break;
    }
  }

 private:
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

  void Finish() {
    if (!m_open) return;
    m_open = false;
    if (m_gross && (!m_withholding_seen || m_current.withholding)) {
      m_current.worth = *m_gross - m_current.withholding.value_or(Currency());
    }
    m_each(m_current);
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
  std::string partial;  // the start of a line that the previous block cut
  while (in) {
    in.read(block.data(), static_cast<std::streamsize>(block.size()));
    const std::size_t size = static_cast<std::size_t>(in.gcount());
    if (size == 0) break;
    std::string_view rest(block.data(), size);
    while (true) {
      const char* newline = static_cast<const char*>(std::memchr(rest.data(), '\n', rest.size()));
      if (newline == nullptr) break;
      const std::size_t length = static_cast<std::size_t>(newline - rest.data());
      if (partial.empty()) {
        scanner.Line(rest.substr(0, length));
      } else {
        partial.append(rest.data(), length);
        scanner.Line(partial);
        partial.clear();
      }
      rest.remove_prefix(length + 1);
    }
    partial.append(rest);
  }
  if (in.bad()) throw std::runtime_error("erro ao ler de novo o ficheiro exportado");
  if (!partial.empty()) scanner.Line(partial);
}

}  // namespace varnel
