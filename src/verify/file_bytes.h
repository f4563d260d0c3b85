// The audit file's bytes on their way from disk into libxml2. The reader asks
// for them through Read; as they pass, every byte is checked against the
// declared code page and every line end counted:
//   - Windows-1252: the five bytes it leaves undefined are replaced by "?"
//     before libxml2 sees them, so one bad byte is reported once and the rest
//     of the file is still checked instead of the parse stopping at it;
//   - ISO-8859-1 and -15: bytes 0x80 to 0x9F, control characters there (and
//     "€" or curly quotes in Windows-1252), are counted;
//   - any single-byte code page: the high bytes are followed as UTF-8, so a
//     file whose high bytes all form UTF-8 sequences shows as UTF-8 bytes
//     under a single-byte declaration;
//   - UTF-8 is libxml2's to check; UTF-16 and wider are not scanned at all.
// Line ends: CR LF, bare LF and bare CR are counted apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace varnel::verify {

enum class ByteEncoding { Windows1252, Latin1, Latin9, Utf8, Wide };

struct ByteFindings {
  std::uint64_t bytes = 0;
  std::uint64_t undefined_bytes = 0;
  std::uint64_t first_undefined_line = 0;
  unsigned first_undefined_value = 0;
  std::uint64_t control_bytes = 0;  // 0x80-0x9F under ISO-8859-1/-15
  std::uint64_t first_control_line = 0;
  unsigned first_control_value = 0;
  std::uint64_t utf8_sequences = 0;  // whole UTF-8 sequences of two to four bytes
  std::uint64_t first_utf8_sequence_line = 0;
  std::uint64_t other_high_bytes = 0;  // high bytes in no UTF-8 sequence
  std::uint64_t bare_line_feeds = 0;
  std::uint64_t first_bare_line_feed_line = 0;
  std::uint64_t bare_carriage_returns = 0;
  std::uint64_t first_bare_carriage_return_line = 0;
  std::string read_error;  // "" unless reading the file failed part-way

  // Whether the high bytes of a single-byte file are UTF-8 and nothing else.
  bool LooksLikeUtf8() const { return utf8_sequences > 0 && other_high_bytes == 0; }
};

class AuditFileBytes {
 public:
  explicit AuditFileBytes(const std::filesystem::path& path);
  ~AuditFileBytes();
  AuditFileBytes(const AuditFileBytes&) = delete;
  AuditFileBytes& operator=(const AuditFileBytes&) = delete;

  // false, with the system's reason, when the file could not be opened.
  bool is_open() const { return m_file != nullptr; }
  const std::string& open_error() const { return m_open_error; }

  // The declared encoding, which decides what is checked; Windows-1252
  // until set.
  void set_encoding(ByteEncoding encoding) { m_encoding = encoding; }

  // Up to size of the first bytes of the file at path, without checking
  // them; the count read, or -1 when it cannot be opened.
  static int Peek(const std::filesystem::path& path, unsigned char* into, std::size_t size);

  // libxml2's input callbacks; context is the AuditFileBytes. Close leaves
  // the file open: the object owns it.
  static int Read(void* context, char* buffer, int length);
  static int Close(void* context);

  // The findings so far; a line end or UTF-8 sequence left pending at the
  // end of the file is counted by Finish.
  void Finish();
  const ByteFindings& findings() const { return m_findings; }

 private:
  void Scan(unsigned char* data, std::size_t size);
  std::size_t HighBytes(unsigned char* data, std::size_t i, std::size_t size);
  std::size_t ContinueUtf8(unsigned char* data, std::size_t i, std::size_t size);
  void CodePageByte(unsigned char& byte);
  void BreakUtf8Sequence();

  std::FILE* m_file = nullptr;
  std::string m_open_error;
  ByteEncoding m_encoding = ByteEncoding::Windows1252;
  bool m_pending_carriage_return = false;
  int m_utf8_expected = 0;  // continuation bytes still due in the open UTF-8 sequence
  int m_utf8_taken = 0;     // bytes of it seen so far
  std::uint64_t m_line = 1;
  ByteFindings m_findings;
};

}  // namespace varnel::verify
