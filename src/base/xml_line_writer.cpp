// The audit file writer. Lines collect in a 64 KiB buffer that goes to the
// sink whenever it fills and at close; the file itself is a C stdio stream,
// whose failures are turned into FileError with the system's reason.
#include "base/xml_line_writer.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "base/errors.h"
#include "base/file_names.h"
#include "platform/open_file.h"
#include "base/windows1252.h"

namespace varnel {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

std::string SystemReason(int error_number) {
  return std::error_code(error_number, std::generic_category()).message();
}

// Held lines in memory, for writers over a sink (tests).
class MemoryAside : public AsideStore {
 public:
  void Write(std::string_view bytes) override { m_bytes.append(bytes); }
  void MoveTo(ByteSink& sink) override {
    if (!m_bytes.empty()) sink.Write(m_bytes);
    m_bytes.clear();
  }

 private:
  std::string m_bytes;
};

// Held lines in a file beside the output, read back in blocks and removed.
class FileAside : public AsideStore {
 public:
  explicit FileAside(std::filesystem::path path)
      : m_path(std::move(path)), m_shown(DisplayPath(m_path)), m_sink(std::make_unique<FileSink>(m_path)) {}
  ~FileAside() override {
    m_sink.reset();
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  void Write(std::string_view bytes) override { m_sink->Write(bytes); }
  void MoveTo(ByteSink& sink) override {
    m_sink->Close();
    errno = 0;
    std::FILE* file = platform::OpenFile(m_path, "rb");
    if (file == nullptr) throw FileError("Cannot open file \"" + m_shown + "\". " + SystemReason(errno));
    std::string block(kBufferSize, '\0');
    try {
      for (;;) {
        const std::size_t read = std::fread(block.data(), 1, block.size(), file);
        if (read > 0) sink.Write(std::string_view(block.data(), read));
        if (read < block.size()) break;
      }
      if (std::ferror(file)) throw FileError("Cannot read file \"" + m_shown + "\". " + SystemReason(EIO));
    } catch (...) {
      std::fclose(file);
      throw;
    }
    std::fclose(file);
    m_sink = std::make_unique<FileSink>(m_path);  // empty again, for a later aside
  }

 private:
  std::filesystem::path m_path;
  std::string m_shown;  // as messages name it
  std::unique_ptr<FileSink> m_sink;
};

}  // namespace

struct FileSink::Handle {
  std::FILE* file = nullptr;
};

FileSink::FileSink(std::string_view utf8_path) : FileSink(PathFromUtf8(utf8_path)) {}

FileSink::FileSink(const std::filesystem::path& path) : m_path(DisplayPath(path)), m_handle(std::make_unique<Handle>()) {
  errno = 0;
  m_handle->file = platform::OpenFile(path, "wb");
  if (m_handle->file == nullptr) {
    throw FileError("Cannot create file \"" + m_path + "\". " + SystemReason(errno));
  }
}

FileSink::~FileSink() {
  if (m_handle && m_handle->file != nullptr) std::fclose(m_handle->file);
}

void FileSink::Write(std::string_view bytes) {
  if (m_handle->file == nullptr) throw FileError("Cannot write to file \"" + m_path + "\". File is closed");
  errno = 0;
  const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), m_handle->file);
  if (written != bytes.size()) {
    throw FileError("Cannot write to file \"" + m_path + "\". " + SystemReason(errno ? errno : EIO));
  }
}

void FileSink::Close() {
  if (m_handle->file == nullptr) return;
  std::FILE* file = m_handle->file;
  m_handle->file = nullptr;
  errno = 0;
  // fclose flushes stdio's own buffer: a full disk often shows only here.
  if (std::fclose(file) != 0) {
    throw FileError("Cannot write to file \"" + m_path + "\". " + SystemReason(errno ? errno : EIO));
  }
}

XmlLineWriter::XmlLineWriter(const std::filesystem::path& path) : XmlLineWriter(std::make_unique<FileSink>(path)) {
  m_aside_path = path;
  m_aside_path += ".tmp";
}

XmlLineWriter::XmlLineWriter(const std::string& path) : XmlLineWriter(PathFromUtf8(path)) {}

XmlLineWriter::XmlLineWriter(std::unique_ptr<ByteSink> sink) : m_sink(std::move(sink)) {
  m_buffer.reserve(kBufferSize + 4096);
}

XmlLineWriter::~XmlLineWriter() {
  try {
    Close();
  } catch (...) {
    // A writer dropped without Close (an error already ends the run) keeps
    // what reached the disk; the first failure has been reported.
  }
}

void XmlLineWriter::Append(std::string_view text) {
  if (!m_sink) throw FileError("Cannot write to a closed audit file");
  AppendWindows1252(m_buffer, text);
  m_buffer.append("\r\n", 2);
  if (m_buffer.size() >= kBufferSize) Flush();
}

void XmlLineWriter::WriteLine(std::string_view text) {
  m_buffer.append(static_cast<std::size_t>(m_level) * 2, ' ');
  Append(text);
}

void XmlLineWriter::WriteRawLine(std::string_view text) { Append(text); }

void XmlLineWriter::WriteElement(std::string_view tag, std::string_view value) {
  std::string line;
  line.reserve(tag.size() * 2 + value.size() + 5);
  line.append("<").append(tag).append(">").append(value).append("</").append(tag).append(">");
  WriteLine(line);
}

void XmlLineWriter::OpenBlock(std::string_view tag) {
  std::string line;
  line.reserve(tag.size() + 2);
  line.append("<").append(tag).append(">");
  WriteLine(line);
  Indent();
}

void XmlLineWriter::CloseBlock(std::string_view tag) {
  Outdent();
  std::string line;
  line.reserve(tag.size() + 3);
  line.append("</").append(tag).append(">");
  WriteLine(line);
}

void XmlLineWriter::Indent() { ++m_level; }

void XmlLineWriter::Outdent() {
  if (m_level > 0) --m_level;
}

void XmlLineWriter::Flush() {
  if (m_buffer.empty()) return;
  if (m_aside_active) {
    m_aside->Write(m_buffer);
  } else {
    m_sink->Write(m_buffer);
  }
  m_buffer.clear();
}

void XmlLineWriter::BeginAside() {
  if (!m_sink) throw FileError("Cannot write to a closed audit file");
  if (m_aside_active) return;
  Flush();
  if (!m_aside) {
    if (m_aside_path.empty()) {
      m_aside = std::make_unique<MemoryAside>();
    } else {
      m_aside = std::make_unique<FileAside>(m_aside_path);
    }
  }
  m_aside_active = true;
}

void XmlLineWriter::EndAside() {
  if (!m_aside_active) return;
  Flush();
  m_aside_active = false;
}

void XmlLineWriter::PutAside() {
  EndAside();
  if (!m_aside || !m_sink) return;
  Flush();
  m_aside->MoveTo(*m_sink);
}

void XmlLineWriter::Close() {
  if (!m_sink) return;
  try {
    PutAside();  // held lines are never lost, even when an error ends the run
  } catch (...) {
    m_aside.reset();
    m_aside_active = false;
    m_buffer.clear();
    try {
      m_sink->Close();
    } catch (...) {
      // The first failure is the one to report.
    }
    m_sink.reset();
    throw;
  }
  m_aside.reset();
  std::unique_ptr<ByteSink> sink = std::move(m_sink);
  try {
    if (!m_buffer.empty()) sink->Write(m_buffer);
    m_buffer.clear();
  } catch (...) {
    m_buffer.clear();
    try {
      sink->Close();
    } catch (...) {
      // The write failure is the one to report.
    }
    throw;
  }
  sink->Close();
}

}  // namespace varnel
