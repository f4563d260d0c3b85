// Byte sinks for writer tests: one that keeps the bytes in memory, one that
// fails after a given number of bytes as a full disk would.
#pragma once

#include <memory>
#include <string>

#include "base/errors.h"
#include "base/xml_line_writer.h"

namespace varnel::testing {

class MemorySink : public ByteSink {
 public:
  explicit MemorySink(std::shared_ptr<std::string> bytes) : m_bytes(std::move(bytes)) {}
  void Write(std::string_view bytes) override { m_bytes->append(bytes); }
  void Close() override { *m_closed = true; }
  std::shared_ptr<bool> closed() const { return m_closed; }

 private:
  std::shared_ptr<std::string> m_bytes;
  std::shared_ptr<bool> m_closed = std::make_shared<bool>(false);
};

class FailingSink : public ByteSink {
 public:
  void Write(std::string_view) override { throw FileError("Cannot write to file \"mem\". No space left on device"); }
  void Close() override {}
};

// A writer over memory; the returned string fills as the writer flushes.
inline std::unique_ptr<XmlLineWriter> MemoryWriter(std::shared_ptr<std::string>& bytes) {
  bytes = std::make_shared<std::string>();
  return std::make_unique<XmlLineWriter>(std::make_unique<MemorySink>(bytes));
}

}  // namespace varnel::testing
