// A section context of its own for tests that exercise one section without a
// run: the request as given, a chosen schema generation, a writer over
// memory, the test database's connection, and progress and abort recorded as
// plain calls. The abort flag can be set at the n-th call of aborted(), so a
// test can stop a section at an exact point of its loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/xml_line_writer.h"
#include "section/section_context.h"
#include "support/memory_sink.h"

namespace varnel::testing {

class FakeSectionContext : public SectionContext {
 public:
  FakeSectionContext(PosDatabase& database, ExportRequest request,
                     SchemaGeneration generation = SchemaGeneration::Current)
      : m_database(database), m_request(std::move(request)), m_generation(generation),
        m_writer(MemoryWriter(m_bytes)) {}

  const ExportRequest& request() const override { return m_request; }
  SchemaGeneration generation() const override { return m_generation; }
  XmlLineWriter& writer() override { return *m_writer; }
  PosDatabase& database() override { return m_database; }
  void showStage(std::string_view text) override { calls.push_back("stage " + std::string(text)); }
  void reportProgress() override { calls.push_back("progress"); }
  void documentDone() override { calls.push_back("document"); }
  bool aborted() const override { return abort_at_check >= 0 && ++m_checks > abort_at_check; }

  // The bytes written so far (the writer flushed and closed).
  std::string Text() {
    m_writer->Close();
    return *m_bytes;
  }

  std::vector<std::string> calls;
  int abort_at_check = -1;  // aborted() is true from the check after this many

 private:
  PosDatabase& m_database;
  ExportRequest m_request;
  SchemaGeneration m_generation;
  std::shared_ptr<std::string> m_bytes;
  std::unique_ptr<XmlLineWriter> m_writer;
  mutable int m_checks = 0;
};

}  // namespace varnel::testing
