// Where tests find the project's files and where they may write: a fresh
// temporary folder per call, removed by the object's destructor.
#pragma once

#include <filesystem>
#include <string>

namespace varnel::testing {

std::filesystem::path SourcePath(const std::string& relative);
std::filesystem::path BinaryPath(const std::string& relative);

// A folder of its own under the system's temporary folder, deleted with all
// its content when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// Whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace varnel::testing
