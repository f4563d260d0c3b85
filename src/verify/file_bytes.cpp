// Reading the audit file for libxml2 while checking its bytes. Plain text is
// skipped eight bytes at a time; the rest takes a table look-up per byte.
#include "verify/file_bytes.h"

#include "platform/open_file.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace varnel::verify {

namespace {

enum ByteClass : unsigned char { kPlain = 0, kLineFeed = 1, kCarriageReturn = 2, kUndefined1252 = 3 };

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  classes['\n'] = kLineFeed;
  classes['\r'] = kCarriageReturn;
  for (const unsigned b : {0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du}) classes[b] = kUndefined1252;
  return classes;
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

void AuditFileBytes::Scan(unsigned char* data, std::size_t size) {
  m_findings.bytes += size;
  for (std::size_t i = 0; i < size; ++i) {
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
      if (type == kLineFeed) continue;  // CR LF, the line end the file must use
      if (m_findings.bare_carriage_returns++ == 0) m_findings.first_bare_carriage_return_line = m_line - 1;
    }
    switch (type) {
      case kLineFeed:
        if (m_findings.bare_line_feeds++ == 0) m_findings.first_bare_line_feed_line = m_line;
        ++m_line;
        break;
      case kCarriageReturn:
        m_pending_carriage_return = true;
        break;
      case kUndefined1252:
        if (m_windows1252) {
          if (m_findings.undefined_bytes++ == 0) {
            m_findings.first_undefined_line = m_line;
            m_findings.first_undefined_value = data[i];
          }
          data[i] = '?';
        }
        break;
      default:
        break;
    }
  }
}

void AuditFileBytes::Finish() {
  if (m_pending_carriage_return) {
    if (m_findings.bare_carriage_returns++ == 0) m_findings.first_bare_carriage_return_line = m_line;
    m_pending_carriage_return = false;
  }
}

}  // namespace varnel::verify
