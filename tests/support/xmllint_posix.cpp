// xmllint, the host's XML checker, run through the shell on the written file.
#include <array>
#include <cstdio>

#include "support/export_harness.h"
#include "support/test_paths.h"

namespace varnel::testing {

namespace {

std::string RunXmlLint(const std::filesystem::path& file, const std::string& schema) {
  std::string command = "xmllint --noout ";
  if (!schema.empty()) command += "--schema '" + SourcePath(schema).string() + "' ";
  command += "'" + file.string() + "' 2>&1";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "cannot run xmllint";
  std::array<char, 4096> buffer{};
  std::size_t read = 0;
  while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), read);
  const int status = pclose(pipe);
  if (status == 0) return "";
  // Keep the report short: the first lines name the problem.
  if (output.size() > 4000) output.resize(4000);
  return output.empty() ? "xmllint failed" : output;
}

}  // namespace

std::string XmlLintErrors(const std::filesystem::path& file, bool schema) {
  return RunXmlLint(file, schema ? "third_party/reference/saftpt1.03_01.xsd" : "");
}

std::string XmlLintErrorsAgainst(const std::filesystem::path& file, const std::string& schema) {
  return RunXmlLint(file, schema);
}

}  // namespace varnel::testing
