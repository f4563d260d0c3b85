// The writer's exact bytes and its failures.
#include "base/xml_line_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/memory_sink.h"
#include "support/platform_facts.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

using testing::MemoryWriter;

TEST(XmlLineWriter, WritesIndentedWindows1252LinesEndingInCrLf) {
  std::shared_ptr<std::string> bytes;
  auto writer = MemoryWriter(bytes);
  writer->WriteRawLine("<?xml version=\"1.0\"?>");
  writer->Indent();
  writer->WriteLine("<Header>");
  writer->Indent();
  writer->WriteLine("<City>Conceição Łódź 日</City>");
  writer->Outdent();
  writer->Outdent();
  writer->Outdent();  // an empty indentation stays empty
  writer->WriteLine("</AuditFile>");
  writer->Close();
  EXPECT_EQ(*bytes,
            "<?xml version=\"1.0\"?>\r\n"
            "  <Header>\r\n"
            "    <City>Concei\xE7\xE3o L\xF3" "dz ?</City>\r\n"
            "</AuditFile>\r\n");
  EXPECT_EQ(writer->level(), 0);
}

TEST(XmlLineWriter, LargeOutputIsFlushedInFullAndInOrder) {
  std::shared_ptr<std::string> bytes;
  auto writer = MemoryWriter(bytes);
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    writer->WriteLine("<Line>" + std::to_string(i) + "</Line>");
    expected += "<Line>" + std::to_string(i) + "</Line>\r\n";
  }
  EXPECT_LT(bytes->size(), expected.size());  // buffered, partly out already
  EXPECT_GT(bytes->size(), 0u);
  writer->Close();
  EXPECT_EQ(*bytes, expected);
  writer->Close();  // a second close does nothing
  EXPECT_THROW(writer->WriteLine("late"), FileError);
}

TEST(XmlLineWriter, CreatesTheFileAnewAndReportsWhyItCannot) {
  testing::TempDir dir;
  const auto path = dir / "out.xml";
  testing::WriteFileBytes(path, "old content that is longer");
  {
    XmlLineWriter writer(path.string());
    writer.WriteLine("<a/>");
    writer.Close();
  }
  EXPECT_EQ(testing::ReadFileBytes(path), "<a/>\r\n");

  const auto missing = (dir / "no-such-folder" / "out.xml").string();
  try {
    XmlLineWriter writer(missing);
    FAIL() << "created a file in a missing folder";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()),
              "Cannot create file \"" + missing + "\". No such file or directory");
  }
}

TEST(XmlLineWriter, AFullDiskRaisesAtWriteOrClose) {
  if (testing::kOnWindows) GTEST_SKIP() << "Windows has no /dev/full (a full disk cannot be made for a test)";
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full on this machine";
  XmlLineWriter small("/dev/full");
  small.WriteLine("<a/>");
  try {
    small.Close();
    FAIL() << "a write to a full disk reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot write to file \"/dev/full\". No space left on device");
  }

  XmlLineWriter large("/dev/full");
  EXPECT_THROW(
      {
        for (int i = 0; i < 100000; ++i) large.WriteLine("<Line>some text of a line</Line>");
      },
      FileError);
}

TEST(XmlLineWriter, AFailingSinkRaisesAndTheDestructorStaysQuiet) {
  auto writer = std::make_unique<XmlLineWriter>(std::make_unique<testing::FailingSink>());
  writer->WriteLine("<a/>");
  EXPECT_THROW(writer->Close(), FileError);
  auto dropped = std::make_unique<XmlLineWriter>(std::make_unique<testing::FailingSink>());
  dropped->WriteLine("<a/>");
  EXPECT_NO_THROW(dropped.reset());
}

}  // namespace
}  // namespace varnel
