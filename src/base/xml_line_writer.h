// Writes the audit file line by line: indentation of two blanks per level,
// the line, then CR LF (the last line included), every line converted to
// Windows-1252 as it is written. Output is buffered and goes through a small
// byte-sink seam so tests can check exact bytes or simulate a failing disk.
// Every failure to create, write or close raises FileError naming the file and
// the system's reason; nothing is silently dropped. The destructor never
// throws: a writer that was not closed is closed quietly.
//
// Lines can be held aside and put in later: a section whose control totals
// stand before its documents writes the documents aside while it adds them
// up, then writes the totals and puts the documents in after them. The held
// lines wait in a file beside the output (in memory for a writer over a
// sink), so memory stays flat however long the section is.
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

// Where held-aside lines wait until they are put into the file.
class AsideStore {
 public:
  virtual ~AsideStore() = default;
  // Raise FileError on failure.
  virtual void Write(std::string_view bytes) = 0;
  // Every byte written, in order, into sink; the store is empty afterwards.
  virtual void MoveTo(ByteSink& sink) = 0;
};

class XmlLineWriter {
 public:
  // Creates the file at path (FileSink); held-aside lines wait in a file
  // named after it with ".tmp" added, removed once they are put in. A text
  // path is UTF-8.
  explicit XmlLineWriter(const std::filesystem::path& path);
  explicit XmlLineWriter(const std::string& path);
  explicit XmlLineWriter(const char* path) : XmlLineWriter(std::string(path)) {}
  // Held-aside lines wait in memory.
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

  // Lines from BeginAside to EndAside are held aside; PutAside writes them
  // at the point the file has then reached. One aside at a time; PutAside
  // without a held line does nothing.
  void BeginAside();
  void EndAside();
  void PutAside();
  bool is_aside() const { return m_aside_active; }

  // Writes out the buffer and closes the sink; raises FileError. Later calls
  // do nothing. Lines still held aside are put in first.
  void Close();
  bool is_open() const { return m_sink != nullptr; }

 private:
  void OpenBlock(std::string_view tag);
  void CloseBlock(std::string_view tag);
  void Flush();
  void Append(std::string_view text);

  std::unique_ptr<ByteSink> m_sink;
  std::filesystem::path m_aside_path;  // empty: held lines wait in memory
  std::unique_ptr<AsideStore> m_aside;
  bool m_aside_active = false;
  std::string m_buffer;
  int m_level = 0;
};

}  // namespace varnel
