// The audit file writer. Lines collect in a 64 KiB buffer that goes to the
// sink whenever it fills and at close; the file itself is a C stdio stream,
// whose failures are turned into FileError with the system's reason.
#include "base/xml_line_writer.h"

#include <cerrno>
#include <cstdio>
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

XmlLineWriter::XmlLineWriter(const std::filesystem::path& path) : XmlLineWriter(std::make_unique<FileSink>(path)) {}

XmlLineWriter::XmlLineWriter(const std::string& path)
    : XmlLineWriter(std::make_unique<FileSink>(std::string_view(path))) {}

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
  m_sink->Write(m_buffer);
  m_buffer.clear();
}

void XmlLineWriter::Close() {
  if (!m_sink) return;
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
