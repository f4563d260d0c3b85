// The output path's forced extension and file look-up ignoring letter case.
#include "base/file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/xml_line_writer.h"
#include "support/platform_facts.h"
#include "support/test_paths.h"

namespace varnel {
namespace {

TEST(FileNames, ForceXmlExtensionReplacesOnlyARealExtension) {
  const struct {
    const char* typed;
    const char* forced;
  } cases[] = {
      {"C:\\saft\\export.txt", "C:\\saft\\export.xml"},
      {"C:\\saft.dir\\export", "C:\\saft.dir\\export.xml"},
      {"export.XML", "export.xml"},
      {"export", "export.xml"},
      {"/tmp/saft.d/export", "/tmp/saft.d/export.xml"},
      {"/tmp/out.tar.gz", "/tmp/out.tar.xml"},
      {"C:file.txt", "C:file.xml"},
      {"C:.", "C:.xml"},
      {"a.b:c", "a.b:c.xml"},
      {" x.txt ", " x.xml"},
      {"", ".xml"},
  };
  for (const auto& c : cases) EXPECT_EQ(ForceXmlExtension(c.typed), c.forced) << c.typed;
}

TEST(FileNames, FindsFilesIgnoringLetterCase) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir / "Korvel.UDL", "x");
  EXPECT_EQ(FindFileIgnoringCase(dir.path(), "Korvel.udl"), dir / "Korvel.UDL");
  EXPECT_EQ(FindFileIgnoringCase(dir.path(), "KORVEL.UDL"), dir / "Korvel.UDL");
  EXPECT_EQ(FindFileIgnoringCase(dir.path(), "Korvel.ini"), std::nullopt);
  EXPECT_EQ(FindFileIgnoringCase(dir / "missing", "Korvel.udl"), std::nullopt);
  EXPECT_EQ(PathFromTyped(".\\data\\korvel.db"), std::filesystem::path("./data/korvel.db"));
}

TEST(FileNames, NamesWithAccentsAndTheEuroSignRoundTripThroughTheFileSystem) {
  testing::TempDir dir;
  const std::string name = "Mar\xC3\xA7o \xE2\x82\xAC.xml";  // "Março €.xml" in UTF-8
  const std::filesystem::path path = dir.path() / PathFromUtf8(name);
  EXPECT_EQ(Utf8FromPath(path.filename()), name);
  {
    XmlLineWriter writer(Utf8FromPath(path));
    writer.WriteLine("<a/>");
    writer.Close();
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  EXPECT_EQ(names, std::vector<std::string>{name});
  EXPECT_EQ(testing::ReadFileBytes(path), "<a/>\r\n");
  const auto found = FindFileIgnoringCase(dir.path(), "MAR\xC3\xA7O \xE2\x82\xAC.XML");
  ASSERT_TRUE(found.has_value()) << "letter case of the ASCII letters is ignored, the others are kept";
  EXPECT_TRUE(std::filesystem::equivalent(*found, path));
}

TEST(FileNames, MessagesShowThePlatformsSeparator) {
  const std::string shown = DisplayPath(PathFromTyped("pasta\\sub/out.xml"));
  EXPECT_EQ(shown, testing::kOnWindows ? "pasta\\sub\\out.xml" : "pasta/sub/out.xml");
}

}  // namespace
}  // namespace varnel
