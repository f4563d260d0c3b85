// The output path's forced extension and file look-up ignoring letter case.
#include "base/file_names.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace varnel
