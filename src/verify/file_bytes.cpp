// Reading the audit file for libxml2 while checking its bytes. Plain text is
// skipped eight bytes at a time; the rest takes a table look-up per byte.
#include "verify/file_bytes.h"

#include "platform/open_file.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace varnel::verify {

namespace {

enum ByteClass : unsigned char { kPlain = 0, kLineFeed = 1, kCarriageReturn = 2, kHigh = 3 };

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  classes['\n'] = kLineFeed;
  classes['\r'] = kCarriageReturn;
  for (unsigned b = 0x80; b < 0x100; ++b) classes[b] = kHigh;
  return classes;
}

bool IsUndefined1252(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// Continuation bytes a UTF-8 lead byte announces; 0 for a byte that leads
// no sequence.
int Utf8Continuations(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return 1;
  if (byte >= 0xE0 && byte <= 0xEF) return 2;
  if (byte >= 0xF0 && byte <= 0xF4) return 3;
  return 0;
}

constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

// Whether one of the eight bytes of word is below 0x0E (CR, LF and a few
// other controls) or above 0x7F: only then does the word need a closer look.
bool MayNeedALook(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  return ((((word - kOnes * 0x0E) & ~word) | word) & kHigh) != 0;
}

}  // namespace

AuditFileBytes::AuditFileBytes(const std::filesystem::path& path) {
  errno = 0;
  m_file = platform::OpenFile(path, "rb");
  if (m_file == nullptr) {
    m_open_error = errno != 0 ? std::strerror(errno) : "erro desconhecido";
    return;
  }
  std::setvbuf(m_file, nullptr, _IOFBF, 1 << 20);
}

AuditFileBytes::~AuditFileBytes() {
  if (m_file != nullptr) std::fclose(m_file);
}

int AuditFileBytes::Read(void* context, char* buffer, int length) {
  auto* self = static_cast<AuditFileBytes*>(context);
  if (self->m_file == nullptr || length <= 0) return 0;
  const std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(length), self->m_file);
  if (got == 0 && std::ferror(self->m_file)) {
    self->m_findings.read_error = std::strerror(errno);
    return -1;
  }
  self->Scan(reinterpret_cast<unsigned char*>(buffer), got);
  return static_cast<int>(got);
}

int AuditFileBytes::Close(void*) { return 0; }

int AuditFileBytes::Peek(const std::filesystem::path& path, unsigned char* into, std::size_t size) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) return -1;
  const std::size_t got = std::fread(into, 1, size, file);
  std::fclose(file);
  return static_cast<int>(got);
}

void AuditFileBytes::Scan(unsigned char* data, std::size_t size) {
  m_findings.bytes += size;
  if (m_encoding == ByteEncoding::Wide) return;
  // A UTF-8 sequence the previous read left open goes on here.
  std::size_t i = m_utf8_expected > 0 ? ContinueUtf8(data, 0, size) : 0;
  for (; i < size; ++i) {
    // Plain text goes by eight bytes at a time.
    while (!m_pending_carriage_return && i + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, data + i, sizeof word);
      if (MayNeedALook(word)) break;
      i += 8;
    }
    if (i == size) break;
    const unsigned char type = kClasses[data[i]];
    if (type == kPlain && !m_pending_carriage_return) continue;
    if (m_pending_carriage_return) {
      // The CR of the previous byte (possibly of the previous read).
      m_pending_carriage_return = false;
      ++m_line;
      if (type == kLineFeed) continue;  // CR LF
      if (m_findings.bare_carriage_returns++ == 0) m_findings.first_bare_carriage_return_line = m_line - 1;
    }
    switch (type) {
      case kLineFeed:
        if (m_findings.bare_line_feeds++ == 0) m_findings.first_bare_line_feed_line = m_line;
        ++m_line;
        break;
      case kCarriageReturn: m_pending_carriage_return = true; break;
      case kHigh: i = HighBytes(data, i, size); break;
      default: break;
    }
  }
}

// The high byte at data[i] in a single-byte code page, and the UTF-8
// continuation bytes after it in this read when it leads a sequence: each
// checked against the code page. Returns the index of the last byte taken.
std::size_t AuditFileBytes::HighBytes(unsigned char* data, std::size_t i, std::size_t size) {
  if (m_encoding == ByteEncoding::Utf8) return i;
  CodePageByte(data[i]);
  m_utf8_expected = Utf8Continuations(data[i]);
  if (m_utf8_expected == 0) {
    ++m_findings.other_high_bytes;
    return i;
  }
  m_utf8_taken = 1;
  return ContinueUtf8(data, i + 1, size) - 1;
}

// Takes the continuation bytes the open UTF-8 sequence still needs from
// data[i] on; returns the index after those taken. A byte that cannot
// continue it ends the sequence as not UTF-8, and is left for the caller.
std::size_t AuditFileBytes::ContinueUtf8(unsigned char* data, std::size_t i, std::size_t size) {
  ByteFindings& f = m_findings;
  for (; m_utf8_expected > 0 && i < size; ++i) {
    if (data[i] < 0x80 || data[i] > 0xBF) {
      BreakUtf8Sequence();
      return i;
    }
    CodePageByte(data[i]);
    ++m_utf8_taken;
    if (--m_utf8_expected == 0 && f.utf8_sequences++ == 0) f.first_utf8_sequence_line = m_line;
  }
  return i;
}

// One byte of 0x80 or above against the declared code page.
void AuditFileBytes::CodePageByte(unsigned char& byte) {
  ByteFindings& f = m_findings;
  if (m_encoding == ByteEncoding::Windows1252 && IsUndefined1252(byte)) {
    if (f.undefined_bytes++ == 0) {
      f.first_undefined_line = m_line;
      f.first_undefined_value = byte;
    }
    byte = '?';
  } else if (m_encoding != ByteEncoding::Windows1252 && byte <= 0x9F) {
    if (f.control_bytes++ == 0) {
      f.first_control_line = m_line;
      f.first_control_value = byte;
    }
  }
}

// The open UTF-8 sequence ends early: its bytes were not UTF-8.
void AuditFileBytes::BreakUtf8Sequence() {
  m_findings.other_high_bytes += static_cast<std::uint64_t>(m_utf8_taken);
  m_utf8_expected = 0;
  m_utf8_taken = 0;
}

void AuditFileBytes::Finish() {
  if (m_pending_carriage_return) {
    if (m_findings.bare_carriage_returns++ == 0) m_findings.first_bare_carriage_return_line = m_line;
    m_pending_carriage_return = false;
  }
  if (m_utf8_expected > 0) BreakUtf8Sequence();
}

}  // namespace varnel::verify
