// The window model without a toolkit: its start from given settings files
// and a fixed "today", the file's version following the period until a pick
// by hand, the series lock, the request, the file chooser, the two states in
// the observer's order, the checks' messages and the forced ".xml" path
// through the real run, when the company data are saved, closing during a
// run, where the focus goes after it, and a whole demo export.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/file_names.h"
#include "fake_view.h"
#include "support/test_paths.h"
#include "tools/demo_calendar.h"
#include "tools/demo_signing_key.h"
#include "tools/demo_workdir.h"

using namespace varnel;
using namespace varnel::testing;

namespace {

// A model over a folder of its own, with a scripted run when one is given.
struct ModelFixture {
  explicit ModelFixture(DateTime today = DateTime::FromDate(2016, 1, 15), ScriptedRun::Script script = {}) {
    WindowModelOptions options;
    options.directory = dir.path();
    options.today = today;
    if (script) {
      options.create_run = [this, script](PosDatabase&) { return std::make_unique<ScriptedRun>(script, requests); };
    }
    model = std::make_unique<WindowModel>(view, options);
    view.model = model.get();
  }
  void start() { model->FormCreate(); }

  TempDir dir;
  FakeView view;
  std::vector<ExportRequest> requests;
  std::unique_ptr<WindowModel> model;
};

// The working directory for the length of a test.
struct WorkingDirectory {
  explicit WorkingDirectory(const std::filesystem::path& to) : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(to);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous); }
  std::filesystem::path previous;
};

}  // namespace

TEST(WindowModel, StartsWithTheDefaultsWithoutSettingsFiles) {
  ModelFixture fixture;
  fixture.start();
  FakeView& view = fixture.view;
  EXPECT_EQ(view.texts[TextField::companyID], "999999990");
  EXPECT_EQ(view.texts[TextField::companyName], "?");
  EXPECT_EQ(view.texts[TextField::streetName], "S/N");
  EXPECT_EQ(view.texts[TextField::postalCode1], "0000");
  EXPECT_EQ(view.texts[TextField::estabelecimento], "");
  EXPECT_EQ(view.choices[ListField::taxCountryRegion], 0);
  EXPECT_EQ(view.choices[ListField::saftType], 1);
  EXPECT_EQ(view.choices[ListField::fserienum], 0);
  EXPECT_FALSE(view.enabled_controls[Control::fserienum]);
  EXPECT_EQ(view.dates[PeriodField::datai], DateTime::FromDate(2015, 12, 1));
  EXPECT_EQ(view.dates[PeriodField::dataf], DateTime::FromDate(2015, 12, 31));
  EXPECT_EQ(view.choices[ListField::saftVersion], 0);
  EXPECT_EQ(view.title, "Exportação SAF-T-PT modelo 1.03_01");
  fixture.model->FormClose();
  EXPECT_FALSE(std::filesystem::exists(fixture.dir / "Varnel.ini")) << "closing writes nothing";
}

TEST(WindowModel, LoadsTheStoredCompanyAndTheSeriesOption) {
  ModelFixture fixture;
  WriteFileBytes(fixture.dir / "varnel.INI",
                 "[Company Info]\r\nCompanyID=503504505\r\nCompanyName=Pastelaria A\xE7oriana\r\nTaxCountryRegion=5\r\n");
  WriteFileBytes(fixture.dir / "Korvel.ini", "[OPCOES]\r\nSerie de numeracao=3\r\n");
  fixture.start();
  EXPECT_EQ(fixture.view.texts[TextField::companyName], "Pastelaria Açoriana");
  EXPECT_EQ(fixture.view.choices[ListField::taxCountryRegion], -1) << "a region outside the list selects nothing";
  EXPECT_EQ(fixture.view.choices[ListField::fserienum], 3);
  const ExportRequest request = fixture.model->buildRequest();
  EXPECT_EQ(request.company.companyID, "503504505");
  EXPECT_EQ(request.company.taxCountryRegion, TaxRegion::NothingChosen);
  EXPECT_EQ(request.fserienum.value(), 3);
}

// The version follows the first day of the period across 1 July 2017, both
// from the default period and from dates the operator sets, until a pick by
// hand; the title band and the request follow it.
TEST(WindowModel, VersionFollowsThePeriodUntilPickedByHand) {
  const struct {
    DateTime today;
    int version;
  } starts[] = {
      {DateTime::FromDate(2017, 7, 31), 0},  // June 2017
      {DateTime::FromDate(2017, 8, 1), 1},   // July 2017
      {DateTime::FromDate(2016, 1, 15), 0},
      {DateTime::FromDate(2026, 12, 9), 1},
  };
  for (const auto& start : starts) {
    ModelFixture fixture(start.today);
    fixture.start();
    EXPECT_EQ(fixture.view.choices[ListField::saftVersion], start.version);
  }

  ModelFixture fixture;
  fixture.start();
  WindowModel& model = *fixture.model;
  model.setDate(PeriodField::datai, DateTime::FromDate(2017, 7, 1));
  EXPECT_EQ(fixture.view.choices[ListField::saftVersion], 1);
  EXPECT_EQ(fixture.view.title, "Exportação SAF-T-PT modelo 1.04_01");
  EXPECT_EQ(model.buildRequest().saftVersion, SaftVersion::k1_04_01);
  model.setDate(PeriodField::datai, DateTime::FromDate(2017, 6, 30));
  EXPECT_EQ(fixture.view.choices[ListField::saftVersion], 0);
  model.setDate(PeriodField::dataf, DateTime::FromDate(2017, 12, 31));
  EXPECT_EQ(model.buildRequest().saftVersion, SaftVersion::k1_03_01) << "the last day does not decide";

  model.chooseSaftVersion(1);  // an old period re-exported in the newer version
  EXPECT_EQ(fixture.view.title, "Exportação SAF-T-PT modelo 1.04_01");
  model.setDate(PeriodField::datai, DateTime::FromDate(2015, 1, 1));
  EXPECT_EQ(model.buildRequest().saftVersion, SaftVersion::k1_04_01) << "a pick by hand stays";
  EXPECT_EQ(fixture.view.choices[ListField::saftVersion], 1);
  model.chooseSaftVersion(0);
  model.setDate(PeriodField::datai, DateTime::FromDate(2018, 1, 1));
  EXPECT_EQ(model.buildRequest().saftVersion, SaftVersion::k1_03_01);
}

TEST(WindowModel, SeriesUnlocksOnlyWithCtrlAndStaysUnlocked) {
  ModelFixture fixture;
  fixture.start();
  EXPECT_FALSE(fixture.model->controlUsable(Control::fserienum));
  fixture.model->lbserieMouseDown(false);
  EXPECT_FALSE(fixture.view.enabled_controls[Control::fserienum]);
  fixture.model->lbserieMouseDown(true);
  EXPECT_TRUE(fixture.view.enabled_controls[Control::fserienum]);
  fixture.model->lbserieMouseDown(false);
  EXPECT_TRUE(fixture.view.enabled_controls[Control::fserienum]);
  EXPECT_TRUE(fixture.model->controlUsable(Control::fserienum));
}

TEST(WindowModel, RequestCarriesTheEditsAsTyped) {
  ModelFixture fixture(DateTime::FromDate(2016, 3, 31), [](ExportObserver&, ScriptedRun&) { return RunOutcome::Completed; });
  fixture.start();
  WindowModel& model = *fixture.model;
  model.setText(TextField::companyID, " 503504505 ");
  model.setText(TextField::companyName, "Café Central");
  model.setText(TextField::ficheiro, "  saida ");
  model.setChoice(ListField::saftType, 0);
  model.setChoice(ListField::taxCountryRegion, 1);
  model.btExportClick();
  ASSERT_EQ(fixture.requests.size(), 1u);
  const ExportRequest& request = fixture.requests[0];
  EXPECT_EQ(request.company.companyID, " 503504505 ");
  EXPECT_EQ(request.company.companyName, "Café Central");
  EXPECT_EQ(request.ficheiro, "  saida ");
  EXPECT_EQ(request.saftType, SaftType::Normal);
  EXPECT_EQ(request.company.taxCountryRegion, TaxRegion::Madeira);
  EXPECT_EQ(request.fserienum.value(), 0);
  EXPECT_EQ(request.datai, DateTime::FromDate(2016, 2, 1));
  EXPECT_EQ(request.dataf, DateTime::FromDate(2016, 2, 29));
  EXPECT_EQ(request.vs, "Versão 6.5.1 Korvel");
  EXPECT_FALSE(model.runUnderWay());
}

TEST(WindowModel, FileChooserForcesXmlAndKeepsTheWorkingDirectory) {
  ModelFixture fixture;
  std::filesystem::create_directory(fixture.dir / "saidas");
  WriteFileBytes(fixture.dir / "Varnel.ini",
                 "[Export]\r\nLastFolder=" + Utf8FromPath(fixture.dir / "saidas") + "\r\n");
  fixture.start();
  const std::filesystem::path before = std::filesystem::current_path();
  FakeView& view = fixture.view;
  view.chosen_file = "C:\\saft\\ficheiro.txt";
  fixture.model->openfClick();
  ASSERT_EQ(view.file_choices.size(), 1u);
  const SaveFileChoice& first = view.file_choices[0];
  EXPECT_EQ(first.title, "Ficheiro de exportação");
  EXPECT_EQ(first.filter_description, "Ficheiros xml");
  EXPECT_EQ(first.filter_pattern, "*.xml");
  EXPECT_EQ(first.default_extension, "xml");
  EXPECT_EQ(first.initial_file, "");
  EXPECT_EQ(first.initial_folder, Utf8FromPath(fixture.dir / "saidas")) << "the last export's folder";
  EXPECT_EQ(view.texts[TextField::ficheiro], "C:\\saft\\ficheiro.xml");
  EXPECT_EQ(std::filesystem::current_path(), before);

  view.chosen_file.reset();  // cancelled: the field keeps its text
  fixture.model->openfClick();
  EXPECT_EQ(view.file_choices[1].initial_file, "C:/saft/ficheiro.xml");
  EXPECT_EQ(view.file_choices[1].initial_folder, "");
  EXPECT_EQ(fixture.model->buildRequest().ficheiro, "C:\\saft\\ficheiro.xml");
}

// showProcessing and showData switch the controls in the stated order; the
// status line shows from the first text on and keeps the last one.
TEST(WindowModel, ObserverSwitchesTheStatesInOrder) {
  ModelFixture fixture;
  fixture.start();
  WindowModel& model = *fixture.model;
  FakeView& view = fixture.view;
  model.showProcessing();
  const std::vector<std::pair<Control, bool>> processing{{Control::processar, true}, {Control::pdados, false},
                                                         {Control::btabort, true},   {Control::btexport, false},
                                                         {Control::nfiles, true}};
  EXPECT_EQ(view.shown, processing);
  EXPECT_TRUE(model.controlUsable(Control::btabort));
  EXPECT_FALSE(model.controlUsable(Control::companyName));
  model.progressStart(2);
  EXPECT_TRUE(view.visible(Control::pb));
  model.progressStep();
  model.progressStep();
  model.progressStep();  // never past the maximum
  EXPECT_EQ(view.progress_position, 2);
  EXPECT_EQ(view.progress_maximum, 2);
  model.setStatus("Exportados 100 de 120 registos...");
  model.progressHide();
  EXPECT_FALSE(view.visible(Control::pb));
  view.shown.clear();
  model.showData();
  const std::vector<std::pair<Control, bool>> data{{Control::btabort, false}, {Control::btexport, true},
                                                   {Control::processar, false}, {Control::pdados, true}};
  EXPECT_EQ(view.shown, data);
  EXPECT_TRUE(view.visible(Control::nfiles));
  EXPECT_EQ(model.statusText(), "Exportados 100 de 120 registos...");

  model.showError("Número de contribuinte inválido");
  model.showApplicationError("Unable to write to .\\Varnel.ini.");
  const std::vector<ShownBox> boxes{{"Erro", "Número de contribuinte inválido"},
                                    {"Varnel v6", "Não foi possível gravar o ficheiro .\\Varnel.ini."}};
  EXPECT_EQ(view.error_boxes, boxes);
}

// The real run's checks, through the model: the message in a box captioned
// "Erro", the ".xml" path shown back in the field (not for a blank one), and
// the settings file untouched.
TEST(WindowModel, ChecksShowTheirMessageAndTheForcedPath) {
  const struct {
    const char* ficheiro;
    bool data_link;
    const char* message;
    const char* shown;
  } cases[] = {
      {"   ", true, "Falta definir o ficheiro a exportar!", "   "},
      {"saida.txt", false, "Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!", "saida.xml"},
      {"export.XML", false, "Não foi encontrado o ficheiro de ligação à base de dados \"Korvel.udl\"!", "export.xml"},
  };
  for (const auto& check : cases) {
    ModelFixture fixture;
    WriteFileBytes(fixture.dir / "Varnel.ini", "[Company Info]\r\nCompanyName=Antes\r\n");
    if (check.data_link) WriteFileBytes(fixture.dir / "Korvel.udl", "[oledb]\r\n");
    WorkingDirectory here(fixture.dir.path());
    fixture.start();
    fixture.model->setText(TextField::companyName, "Depois");
    fixture.model->setText(TextField::ficheiro, check.ficheiro);
    fixture.view.texts[TextField::ficheiro] = check.ficheiro;
    fixture.model->btExportClick();
    ASSERT_EQ(fixture.view.error_boxes.size(), 1u) << check.ficheiro;
    EXPECT_EQ(fixture.view.error_boxes[0], (ShownBox{"Erro", check.message}));
    EXPECT_EQ(fixture.view.texts[TextField::ficheiro], check.shown);
    EXPECT_EQ(fixture.model->values().ficheiro, check.shown);
    EXPECT_EQ(ReadFileBytes(fixture.dir / "Varnel.ini"), "[Company Info]\r\nCompanyName=Antes\r\n");
    EXPECT_FALSE(fixture.view.visible(Control::nfiles));
    EXPECT_TRUE(fixture.model->controlUsable(Control::companyName));
  }
}

// A period that stops a day or two short of a month's end is asked about
// before anything runs; "Não" leaves the run unstarted and the focus on
// "Data final", "Sim" exports the period as it stands.
TEST(WindowModel, PeriodShortOfTheMonthsEndIsConfirmed) {
  for (const bool confirm : {false, true}) {
    ModelFixture fixture(DateTime::FromDate(2016, 4, 15), [](ExportObserver&, ScriptedRun&) {
      return RunOutcome::Completed;
    });
    fixture.start();
    fixture.view.answer = confirm;
    fixture.model->setText(TextField::ficheiro, "marco.xml");
    fixture.model->setDate(PeriodField::dataf, DateTime::FromDate(2016, 3, 30));
    fixture.model->btExportClick();
    ASSERT_EQ(fixture.view.questions.size(), 1u);
    EXPECT_EQ(fixture.view.questions[0],
              (ShownBox{"Varnel v6",
                        "A data final, 30/03/2016, deixa de fora o dia 31/03/2016, o último do mês. "
                        "Exportar assim mesmo?"}));
    EXPECT_EQ(fixture.requests.size(), confirm ? 1u : 0u);
    if (!confirm) {
      EXPECT_EQ(fixture.view.focus, Control::dataf);
    }
  }
  // The whole month asks nothing.
  ModelFixture fixture(DateTime::FromDate(2016, 4, 15), [](ExportObserver&, ScriptedRun&) {
    return RunOutcome::Completed;
  });
  fixture.start();
  fixture.model->setText(TextField::ficheiro, "marco.xml");
  fixture.model->btExportClick();
  EXPECT_TRUE(fixture.view.questions.empty());
  EXPECT_EQ(fixture.requests.size(), 1u);
}

// The key indicator beside "Códigos ATCUD..." at the start and at every
// press of "Exportar", and the keys every export takes from Varnel.ini (both
// versions of the file), as the headless exporter does; a malformed section
// stops the press with its error, before the run.
TEST(WindowModel, KeyIndicatorAndThePublicKeysOfEveryExport) {
  const std::string pem(demo::DemoPublicKeyPem());
  const struct {
    const char* section;
    const char* indicator;
  } cases[] = {
      {"", "Chave pública: em falta"},
      {"1=chave.pem\r\n", "Chave pública: versão 1"},
      {"2=chave.pem\r\n1=chave.pem\r\n", "Chaves públicas: versões 1 e 2"},
      {"1=chave.pem\r\n2=lixo.pem\r\n", "Chave pública: versão 2 com erro"},
      {"1=falta.pem\r\n", "Chave pública: versão 1 com erro"},
      {"3=chave.pem\r\n1=chave.pem\r\n2=chave.pem\r\n", "Chaves públicas: 3 versões"},
      {"um=chave.pem\r\n", "Chave pública: erro em Varnel.ini"},
  };
  for (const auto& c : cases) {
    ModelFixture fixture(DateTime::FromDate(2017, 8, 15), [](ExportObserver&, ScriptedRun&) { return RunOutcome::Completed; });
    WriteFileBytes(fixture.dir / "chave.pem", pem);
    WriteFileBytes(fixture.dir / "lixo.pem", "-----BEGIN PUBLIC KEY-----\nnada\n-----END PUBLIC KEY-----\n");
    WriteFileBytes(fixture.dir / "Varnel.ini", std::string("[Assinaturas]\r\n") + c.section);
    fixture.start();
    EXPECT_EQ(fixture.view.key_status, c.indicator) << c.section;
  }

  ModelFixture fixture(DateTime::FromDate(2017, 8, 15), [](ExportObserver&, ScriptedRun&) { return RunOutcome::Completed; });
  fixture.start();
  EXPECT_EQ(fixture.view.key_status, "Chave pública: em falta");
  WriteFileBytes(fixture.dir / "chave.pem", pem);
  WriteFileBytes(fixture.dir / "Varnel.ini", "[Assinaturas]\r\n1=chave.pem\r\n");
  fixture.model->setText(TextField::ficheiro, "julho.xml");
  for (const int version : {1, 0}) {  // 1.04_01, then 1.03_01
    fixture.model->chooseSaftVersion(version);
    fixture.model->btExportClick();
    EXPECT_EQ(fixture.view.key_status, "Chave pública: versão 1");
    ASSERT_FALSE(fixture.requests.empty());
    const std::vector<SignatureKeyFile> keys{{1, Utf8FromPath(fixture.dir / "chave.pem")}};
    EXPECT_EQ(fixture.requests.back().publicKeys, keys);
  }
  WriteFileBytes(fixture.dir / "Varnel.ini", "[Assinaturas]\r\n1=\r\n");
  fixture.model->btExportClick();
  EXPECT_EQ(fixture.requests.size(), 2u) << "no run with a malformed section";
  EXPECT_EQ(fixture.view.key_status, "Chave pública: erro em Varnel.ini");
  const std::vector<ShownBox> boxes{
      {"Erro", "Falta o ficheiro da chave pública em Varnel.ini, secção [Assinaturas], chave \"1\"."}};
  EXPECT_EQ(fixture.view.error_boxes, boxes);
}

// A key file the real run cannot read stops it with the file named, in a
// box captioned "Erro", before anything is written.
TEST(WindowModel, AKeyFileThatCannotBeReadStopsTheExport) {
  ModelFixture fixture;
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2015, 12, 1}), demo::DayNumber({2015, 12, 31})};
  options.documents = 20;
  demo::WriteDemoWorkingDirectory(fixture.dir.path(), options);
  WriteFileBytes(fixture.dir / demo::kDemoPublicKeyName, "-----BEGIN PUBLIC KEY-----\nnada\n-----END PUBLIC KEY-----\n");
  WorkingDirectory here(fixture.dir.path());
  fixture.start();
  EXPECT_EQ(fixture.view.key_status, "Chave pública: versão 1 com erro");
  fixture.model->setText(TextField::ficheiro, "dezembro");
  fixture.model->btExportClick();
  ASSERT_EQ(fixture.view.error_boxes.size(), 1u);
  EXPECT_EQ(fixture.view.error_boxes[0].caption, "Erro");
  EXPECT_EQ(fixture.view.error_boxes[0].text.rfind("O ficheiro da chave pública \"", 0), 0u)
      << fixture.view.error_boxes[0].text;
  EXPECT_TRUE(fixture.view.error_boxes[0].text.ends_with(
      std::string(demo::kDemoPublicKeyName) + "\" (versão 1) não contém uma chave pública RSA em formato PEM"))
      << fixture.view.error_boxes[0].text;
  EXPECT_FALSE(std::filesystem::exists(fixture.dir / "dezembro.xml"));
  EXPECT_TRUE(fixture.model->controlUsable(Control::companyName));
}

TEST(WindowModel, SavesTheCompanyAndTheFolderWhenTheRunAsks) {
  ModelFixture fixture(DateTime::FromDate(2016, 1, 15), [](ExportObserver& observer, ScriptedRun&) {
    observer.persistSettings();
    return RunOutcome::Completed;
  });
  std::filesystem::create_directory(fixture.dir / "exportacoes");
  fixture.start();
  fixture.model->setText(TextField::companyName, "Restaurante da Sé");
  fixture.model->setText(TextField::ficheiro, Utf8FromPath(fixture.dir / "exportacoes" / "jan.xml"));
  fixture.model->btExportClick();
  const std::string ini = ReadFileBytes(fixture.dir / "Varnel.ini");
  EXPECT_NE(ini.find("\r\nCompanyName=Restaurante da S\xE9\r\n"), std::string::npos) << ini;
  const std::string folder = Utf8FromPath(std::filesystem::absolute(fixture.dir / "exportacoes"));
  EXPECT_NE(ini.find("[Export]\r\nLastFolder=" + folder + "\r\n"), std::string::npos) << ini;
  // Completed: "Abrir pasta" opens that folder.
  EXPECT_TRUE(fixture.view.visible(Control::btopenfolder));
  fixture.model->btopenfolderClick();
  EXPECT_EQ(fixture.view.opened_folders, std::vector<std::string>{folder});
  EXPECT_TRUE(fixture.view.error_boxes.empty());
  // A folder the system cannot show (gone since, no file manager) is said so.
  fixture.view.folder_opens = false;
  fixture.model->btopenfolderClick();
  ASSERT_EQ(fixture.view.error_boxes.size(), 1u);
  EXPECT_EQ(fixture.view.error_boxes[0].text,
            "Não foi possível abrir a pasta \"" + folder + "\" no gestor de ficheiros do sistema.");
}

// "Sair" during a run asks first; confirmed, the run is aborted (again at
// every chance, as the run clears a flag set during the maintenance) and the
// window closes once the run is over; declined, the run goes on.
TEST(WindowModel, ClosingDuringARunAsksThenAbortsAndClosesAfterIt) {
  for (const bool confirm : {true, false}) {
    bool aborted_again = false;
    bool closed_during_run = true;
    ModelFixture* fixture_pointer = nullptr;
    ModelFixture fixture(DateTime::FromDate(2016, 1, 15), [&](ExportObserver& observer, ScriptedRun& run) {
      fixture_pointer->view.pending_input = [&] { fixture_pointer->model->btcancelClick(); };
      observer.setStatus("Manutenção da base de dados: 0 de 900 documentos");
      observer.processPendingEvents();
      closed_during_run = fixture_pointer->view.closed;
      run.abort_requested = false;  // as the run does after the maintenance
      observer.showProcessing();
      observer.processPendingEvents();
      aborted_again = run.abort_requested;
      observer.showData();
      return run.abort_requested ? RunOutcome::Aborted : RunOutcome::Completed;
    });
    fixture_pointer = &fixture;
    fixture.view.answer = confirm;
    fixture.start();
    fixture.model->btExportClick();
    ASSERT_EQ(fixture.view.questions.size(), 1u);
    EXPECT_EQ(fixture.view.questions[0], (ShownBox{"Varnel v6", "Está a decorrer uma exportação. Abortar e sair?"}));
    EXPECT_FALSE(closed_during_run);
    EXPECT_EQ(aborted_again, confirm);
    EXPECT_EQ(fixture.view.closed, confirm);
    EXPECT_FALSE(fixture.model->runUnderWay());
    if (!confirm) {  // with no run, closing asks nothing
      fixture.model->btcancelClick();
      EXPECT_TRUE(fixture.view.closed);
      EXPECT_EQ(fixture.view.questions.size(), 1u);
    }
  }
}

TEST(WindowModel, AbortOnlyDuringARunAndFocusGoesBackAfterIt) {
  ModelFixture* fixture_pointer = nullptr;
  ModelFixture fixture(DateTime::FromDate(2016, 1, 15), [&](ExportObserver& observer, ScriptedRun& run) {
    observer.showProcessing();
    fixture_pointer->view.focus = Control::btcancel;  // the toolkit moved it off the hidden fields
    fixture_pointer->view.pending_input = [&] {
      fixture_pointer->model->btabortClick();
      fixture_pointer->model->btExportClick();  // a stray press starts nothing
    };
    observer.processPendingEvents();
    EXPECT_TRUE(run.abort_requested);
    EXPECT_FALSE(fixture_pointer->model->controlUsable(Control::dataf));
    observer.showData();
    return RunOutcome::Aborted;
  });
  fixture_pointer = &fixture;
  fixture.start();
  fixture.model->btabortClick();  // no run: nothing
  fixture.view.focus = Control::dataf;
  fixture.model->btExportClick();
  EXPECT_EQ(fixture.requests.size(), 1u);
  EXPECT_EQ(fixture.view.focus, Control::dataf);
  EXPECT_FALSE(fixture.view.visible(Control::btopenfolder)) << "only a completed export offers its folder";

  fixture.view.focus.reset();  // started with no focus: "Exportar" gets it
  fixture.model->btExportClick();
  EXPECT_EQ(fixture.view.focus, Control::btexport);
}

// A whole export of a demo month through the model and the real run: the
// states, the saved company, the verified file and its folder.
TEST(WindowModel, ExportsTheDemoMonth) {
  ModelFixture fixture;
  demo::DemoDatabaseOptions options;
  options.period = {demo::DayNumber({2015, 12, 1}), demo::DayNumber({2015, 12, 31})};
  options.documents = 120;
  options.seed = 2016;
  demo::WriteDemoWorkingDirectory(fixture.dir.path(), options);
  WorkingDirectory here(fixture.dir.path());
  fixture.start();
  fixture.model->setText(TextField::companyName, "Restaurante da Sé");
  fixture.model->setText(TextField::ficheiro, "dezembro");
  fixture.model->btExportClick();
  for (const ShownBox& box : fixture.view.error_boxes) ADD_FAILURE() << box.caption << ": " << box.text;
  EXPECT_EQ(fixture.view.texts[TextField::ficheiro], "dezembro.xml");
  const std::vector<std::string>& statuses = fixture.view.statuses;
  EXPECT_NE(std::find_if(statuses.begin(), statuses.end(),
                         [](const std::string& text) { return text.ends_with(" registos. Exportação efectuada"); }),
            statuses.end());
  EXPECT_EQ(fixture.model->statusText().rfind("Ficheiro verificado: sem erros", 0), 0u) << fixture.model->statusText();
  EXPECT_EQ(fixture.view.key_status, "Chave pública: versão 1");
  EXPECT_EQ(fixture.view.results.size(), 1u);
  // The demo's key of Varnel.ini checked every signature, the first ones
  // against the database's documents before the period.
  ASSERT_TRUE(fixture.view.last_report);
  for (const Finding& finding : fixture.view.last_report->findings) {
    EXPECT_EQ(finding.message.find("Assinaturas"), std::string::npos) << finding.message;
    EXPECT_EQ(finding.message.rfind("Primeiro documento da série", 0), std::string::npos) << finding.message;
  }
  EXPECT_TRUE(fixture.view.visible(Control::pdados));
  EXPECT_FALSE(fixture.view.visible(Control::processar));
  EXPECT_GT(fixture.view.pending_input_handled, 5);
  EXPECT_NE(ReadFileBytes("Varnel.ini").find("CompanyName=Restaurante da S\xE9\r\n"), std::string::npos);
  const std::string audit = ReadFileBytes("dezembro.xml");
  EXPECT_NE(audit.find("<AuditFileVersion>1.03_01</AuditFileVersion>"), std::string::npos);
  EXPECT_TRUE(audit.ends_with("  </SourceDocuments>\r\n</AuditFile>\r\n"));
}
