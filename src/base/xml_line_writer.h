// Writes the audit file line by line: indentation of two blanks per level,
// the line, then CR LF (the last line included), every line converted to
// Windows-1252 as it is written. Output is buffered and goes through a small
// byte-sink seam so tests can check exact bytes or simulate a failing disk.
// Every failure to create, write or close raises FileError naming the file and
// the system's reason; nothing is silently dropped. The destructor never
// throws: a writer that was not closed is closed quietly.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace varnel {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Raise FileError on failure.
  virtual void Write(std::string_view bytes) = 0;
  virtual void Close() = 0;
};

// The output file on disk, created anew (an existing file is replaced).
// Messages name it with the platform's separator.
class FileSink : public ByteSink {
 public:
  explicit FileSink(const std::filesystem::path& path);  // raises FileError
  explicit FileSink(std::string_view utf8_path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;
  void Write(std::string_view bytes) override;
  void Close() override;

 private:
  std::string m_path;
  struct Handle;
  std::unique_ptr<Handle> m_handle;
};

class XmlLineWriter {
 public:
  // Creates the file at path (FileSink); a text path is UTF-8.
  explicit XmlLineWriter(const std::filesystem::path& path);
  explicit XmlLineWriter(const std::string& path);
  explicit XmlLineWriter(const char* path) : XmlLineWriter(std::string(path)) {}
  explicit XmlLineWriter(std::unique_ptr<ByteSink> sink);
  ~XmlLineWriter();
  XmlLineWriter(const XmlLineWriter&) = delete;
  XmlLineWriter& operator=(const XmlLineWriter&) = delete;

  void WriteLine(std::string_view text);     // indentation + text + CR LF
  void WriteRawLine(std::string_view text);  // text + CR LF
  // "<tag>" + value + "</tag>" as one line; value is already formatted and
  // escaped by the caller.
  void WriteElement(std::string_view tag, std::string_view value);
  // "<tag>", body() one level in, then "</tag>": both tags of an element
  // written by the one function that writes its content. When body leaves by
  // an exception (an error, or the run's abort exit) the closing tag is not
  // written and the level stays where body left it, so what the file holds
  // at that moment is exactly what the run's ending finds.
  template <typename Body>
  void WriteBlock(std::string_view tag, Body&& body) {
    OpenBlock(tag);
    body();
    CloseBlock(tag);
  }
  void Indent();
  void Outdent();  // an empty indentation stays empty
  int level() const { return m_level; }

  // Writes out the buffer and closes the sink; raises FileError. Later calls
  // do nothing.
  void Close();
  bool is_open() const { return m_sink != nullptr; }

 private:
  void OpenBlock(std::string_view tag);
  void CloseBlock(std::string_view tag);
  void Flush();
  void Append(std::string_view text);

  std::unique_ptr<ByteSink> m_sink;
  std::string m_buffer;
  int m_level = 0;
};

}  // namespace varnel
