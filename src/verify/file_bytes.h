// The audit file's bytes on their way from disk into libxml2. The reader asks
// for them through Read; as they pass, every byte is checked against the
// declared code page (the five bytes Windows-1252 leaves undefined) and every
// line end against CR LF. An undefined byte is replaced by "?" before libxml2
// sees it, so one bad byte is reported once and the rest of the file is still
// checked instead of the parse stopping at it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace varnel::verify {

struct ByteFindings {
  std::uint64_t bytes = 0;
  std::uint64_t undefined_bytes = 0;
  std::uint64_t first_undefined_line = 0;
  unsigned first_undefined_value = 0;
  std::uint64_t bare_line_feeds = 0;
  std::uint64_t first_bare_line_feed_line = 0;
  std::uint64_t bare_carriage_returns = 0;
  std::uint64_t first_bare_carriage_return_line = 0;
  std::string read_error;  // "" unless reading the file failed part-way
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

  // Whether the bytes are Windows-1252 (the declared encoding); only then
  // are the undefined bytes looked for and replaced.
  void set_windows1252(bool on) { m_windows1252 = on; }

  // libxml2's input callbacks; context is the AuditFileBytes. Close leaves
  // the file open: the object owns it.
  static int Read(void* context, char* buffer, int length);
  static int Close(void* context);

  // The findings so far; a line end left pending at the end of the file is
  // counted by Finish.
  void Finish();
  const ByteFindings& findings() const { return m_findings; }

 private:
  void Scan(unsigned char* data, std::size_t size);

  std::FILE* m_file = nullptr;
  std::string m_open_error;
  bool m_windows1252 = true;
  bool m_pending_carriage_return = false;
  std::uint64_t m_line = 1;
  ByteFindings m_findings;
};

}  // namespace varnel::verify
