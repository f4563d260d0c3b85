// The validation codes' table: what its cells refuse where they are typed,
// what saving refuses, and the codes written into Varnel.ini beside the
// company data; and a 1.04_01 export that a hand-edited malformed code stops
// before the run.
#include <gtest/gtest.h>

#include "fake_view.h"
#include "support/test_paths.h"
#include "window/atcud_codes_model.h"

using namespace varnel;
using namespace varnel::testing;

using Column = AtcudCodesModel::Column;

TEST(AtcudCodesModel, RefusesMalformedValuesWhereTheyAreTyped) {
  TempDir dir;
  AtcudCodesModel model(dir.path());
  EXPECT_TRUE(model.rows().empty());
  const std::size_t row = model.addRow();
  EXPECT_FALSE(model.setCell(row, Column::type, " FT "));
  EXPECT_FALSE(model.setCell(row, Column::series, "A"));
  EXPECT_FALSE(model.setCell(row, Column::code, "AAJFJMVN"));  // 8 letters, the shortest
  const struct {
    Column column;
    const char* text;
  } refused[] = {
      {Column::code, "AAJFJMV"},     // 7
      {Column::code, "AAJF-JMVNTN"}, // a hyphen
      {Column::code, "AAJFJMVNTÃ"},  // not ASCII
      {Column::code, ""},
      {Column::type, "F T"},
      {Column::type, ""},
      {Column::series, "A=B"},
  };
  for (const auto& value : refused) {
    const std::optional<std::string> message = model.setCell(row, value.column, value.text);
    ASSERT_TRUE(message) << value.text;
  }
  EXPECT_EQ(*model.setCell(row, Column::code, "123"),
            "Código de validação inválido: tem de ter pelo menos 8 caracteres, só letras e algarismos.");
  EXPECT_EQ(model.cell(row, Column::type), "FT") << "trimmed";
  EXPECT_EQ(model.cell(row, Column::code), "AAJFJMVN") << "a refused value leaves the old one";
}

TEST(AtcudCodesModel, SavesCompleteRowsIntoTheSettingsFile) {
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[Company Info]\r\nCompanyName=Loja\r\n");
  AtcudCodesModel model(dir.path());
  std::size_t row = model.addRow();
  model.setCell(row, Column::type, "FT");
  model.setCell(row, Column::series, "A");
  EXPECT_EQ(*model.save(), "Linha 1: falta o tipo, a série ou o código de validação.");
  model.setCell(row, Column::code, "AAJFJMVNTN");
  row = model.addRow();
  model.setCell(row, Column::type, "ft");
  model.setCell(row, Column::series, "a");
  model.setCell(row, Column::code, "BBBBBBBB");
  EXPECT_EQ(*model.save(), "Linha 2: o tipo ft e a série a já estão na linha 1.");
  model.setCell(row, Column::type, "RC");
  EXPECT_FALSE(model.save());

  const std::string ini = ReadFileBytes(dir / "Varnel.ini");
  EXPECT_NE(ini.find("CompanyName=Loja\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("FT A=AAJFJMVNTN"), std::string::npos) << ini;
  AtcudCodesModel again(dir.path());
  ASSERT_EQ(again.rows().size(), 2u);
  EXPECT_EQ(again.cell(1, Column::type), "RC");
  EXPECT_EQ(again.cell(1, Column::code), "BBBBBBBB");
  again.removeRow(0);
  EXPECT_FALSE(again.save());
  EXPECT_EQ(AtcudCodesModel(dir.path()).rows().size(), 1u);
}

TEST(AtcudCodesModel, AMalformedStoredCodeStopsA1_04Export) {
  bool ran = false;
  TempDir dir;
  WriteFileBytes(dir / "Varnel.ini", "[ATCUD]\r\nFT A=CURTO\r\n");
  FakeView view;
  std::vector<ExportRequest> requests;
  WindowModelOptions options;
  options.directory = dir.path();
  options.today = DateTime::FromDate(2024, 2, 10);
  options.create_run = [&](PosDatabase&) {
    ran = true;
    return std::make_unique<ScriptedRun>([](ExportObserver&, ScriptedRun&) { return RunOutcome::Completed; },
                                         requests);
  };
  WindowModel model(view, options);
  model.FormCreate();
  model.btExportClick();
  EXPECT_FALSE(ran);
  ASSERT_EQ(view.error_boxes.size(), 1u);
  EXPECT_EQ(view.error_boxes[0].caption, "Erro");
  EXPECT_NE(view.error_boxes[0].text.find("ATCUD"), std::string::npos) << view.error_boxes[0].text;

  WriteFileBytes(dir / "Varnel.ini", "[ATCUD]\r\nFT A=AAJFJMVNTN\r\n");
  model.btExportClick();
  ASSERT_EQ(requests.size(), 1u);
  ASSERT_EQ(requests[0].atcudCodes.size(), 1u);
  EXPECT_EQ(requests[0].atcudCodes[0].code, "AAJFJMVNTN");
  model.chooseSaftVersion(0);  // 1.03_01 reads no codes
  WriteFileBytes(dir / "Varnel.ini", "[ATCUD]\r\nFT A=CURTO\r\n");
  model.btExportClick();
  EXPECT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[1].atcudCodes.empty());
}
