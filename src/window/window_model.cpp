// The window model: the form's values and handlers. The run's side (one
// export per press of "Exportar", the observer's operations) is in
// window_run.cpp.
#include "window/window_model.h"

#include <system_error>
#include <utility>

#include "base/file_names.h"
#include "settings/series_option.h"
#include "window/signature_key_status.h"

namespace varnel {

namespace {

// The index when the list has it, otherwise -1 (nothing selected).
int ChoiceOrNone(int index, int count) { return index >= 0 && index < count ? index : -1; }

std::string* TextOf(FormValues& values, TextField field) {
  Company& company = values.company;
  switch (field) {
    case TextField::companyName: return &company.companyName;
    case TextField::companyID: return &company.companyID;
    case TextField::streetName: return &company.streetName;
    case TextField::addressDetail: return &company.addressDetail;
    case TextField::buildingNumber: return &company.buildingNumber;
    case TextField::postalCode1: return &company.postalCode1;
    case TextField::postalCode2: return &company.postalCode2;
    case TextField::city: return &company.city;
    case TextField::estabelecimento: return &company.estabelecimento;
    case TextField::ficheiro: return &values.ficheiro;
  }
  return nullptr;
}

}  // namespace

std::string TitleBandText(SaftVersion version) {
  return "Exportação SAF-T-PT modelo " + std::string(SaftVersionLabel(version));
}

std::string FolderNotOpenedText(const std::string& folder) {
  return "Não foi possível abrir a pasta \"" + folder + "\" no gestor de ficheiros do sistema.";
}

std::string SeriesChoice(int index) {
  if (index == 0) return std::string(kNoSeriesChoice);
  return SeriesIndex(index).Letter();
}

WindowModel::WindowModel(WindowView& view, WindowModelOptions options)
    : m_view(view), m_options(std::move(options)) {
  if (!m_options.create_run) m_options.create_run = MakeExportRun;
}

WindowModel::~WindowModel() = default;

std::string WindowModel::directory() const { return Utf8FromPath(m_options.directory); }

void WindowModel::FormCreate() {
  m_settings.emplace(m_options.directory);
  loadCompany(m_settings->Load());
  m_values.saftType = SaftType::Resumido;  // at every start
  m_view.showChoice(ListField::saftType, SaftTypeIndex(m_values.saftType));
  m_values.fserienum = ChoiceOrNone(ReadSeriesOption(m_options.directory), kSeriesChoiceCount);
  m_view.showChoice(ListField::fserienum, m_values.fserienum);
  m_view.enableControl(Control::fserienum, m_values.seriesEnabled);

  const Period period = PreviousMonth(m_options.today ? *m_options.today : DateTime::Today());
  m_values.datai = period.first;
  m_values.dataf = period.last;
  m_view.showDate(PeriodField::datai, period.first);
  m_view.showDate(PeriodField::dataf, period.last);
  m_values.saftVersionByHand = false;
  followPeriodWithVersion();
  showKeyStatus();
}

void WindowModel::showKeyStatus() { m_view.showKeyStatus(SignatureKeyStatusText(m_options.directory)); }

void WindowModel::loadCompany(const Company& company) {
  m_values.company = company;
  for (TextField field : {TextField::companyName, TextField::companyID, TextField::streetName,
                          TextField::addressDetail, TextField::buildingNumber, TextField::postalCode1,
                          TextField::postalCode2, TextField::city, TextField::estabelecimento}) {
    m_view.showText(field, *TextOf(m_values, field));
  }
  m_view.showChoice(ListField::taxCountryRegion, TaxRegionNumber(company.taxCountryRegion));
}

void WindowModel::FormClose() { m_settings.reset(); }

void WindowModel::setText(TextField field, const std::string& text) { *TextOf(m_values, field) = text; }

void WindowModel::setChoice(ListField list, int index) {
  switch (list) {
    case ListField::taxCountryRegion: m_values.company.taxCountryRegion = TaxRegionOfNumber(index); break;
    case ListField::saftType: m_values.saftType = SaftTypeOfIndex(index); break;
    case ListField::fserienum: m_values.fserienum = index; break;
    case ListField::saftVersion: chooseSaftVersion(index); break;
  }
}

void WindowModel::chooseSaftVersion(int index) {
  if (index < 0 || index >= static_cast<int>(kSaftVersionChoices.size())) return;
  m_values.saftVersion = kSaftVersionChoices[static_cast<std::size_t>(index)];
  m_values.saftVersionByHand = true;
  m_view.showTitle(TitleBandText(m_values.saftVersion));
}

void WindowModel::setDate(PeriodField field, DateTime day) {
  (field == PeriodField::datai ? m_values.datai : m_values.dataf) = day;
  if (field == PeriodField::datai) followPeriodWithVersion();
}

// The version the period's first day asks for, while none was picked by hand.
void WindowModel::followPeriodWithVersion() {
  if (!m_values.saftVersionByHand) m_values.saftVersion = DefaultSaftVersion(m_values.datai);
  const bool newer = m_values.saftVersion == SaftVersion::k1_04_01;
  m_view.showChoice(ListField::saftVersion, newer ? 1 : 0);
  m_view.showTitle(TitleBandText(m_values.saftVersion));
}

void WindowModel::lbserieMouseDown(bool ctrl_held) {
  if (!ctrl_held || m_values.seriesEnabled) return;
  m_values.seriesEnabled = true;  // until the window closes
  m_view.enableControl(Control::fserienum, true);
}

Company WindowModel::companySettings() const { return m_values.company; }

ExportRequest WindowModel::buildRequest() const {
  ExportRequest request;
  request.company = companySettings();
  request.datai = m_values.datai;
  request.dataf = m_values.dataf;
  request.ficheiro = m_values.ficheiro;
  request.saftType = m_values.saftType;
  request.fserienum = SeriesIndex(m_values.fserienum);
  request.saftVersion = m_values.saftVersion;
  return request;  // vs: the version label, the request's default
}

// The file chooser: the working directory is put back afterwards, since the
// settings files and the data link file are named relative to it.
void WindowModel::openfClick() {
  std::error_code ignored;
  const std::filesystem::path working_directory = std::filesystem::current_path(ignored);
  SaveFileChoice choice{std::string(file_dialog::kTitle), std::string(file_dialog::kFilterDescription),
                        std::string(file_dialog::kFilterPattern), std::string(file_dialog::kDefaultExtension),
                        {}, {}};
  if (!m_values.ficheiro.empty()) {
    choice.initial_file = Utf8FromPath(PathFromTyped(m_values.ficheiro));
  } else if (m_settings) {
    // Where the last export went, while that folder exists.
    const std::string last = m_settings->LoadLastFolder();
    if (!last.empty() && std::filesystem::is_directory(PathFromUtf8(last), ignored)) choice.initial_folder = last;
  }
  if (const std::optional<std::string> chosen = m_view.chooseSaveFile(choice)) {
    m_values.ficheiro = ForceXmlExtension(*chosen);
    m_view.showText(TextField::ficheiro, m_values.ficheiro);
  }
  if (!working_directory.empty()) std::filesystem::current_path(working_directory, ignored);
}

void WindowModel::btopenfolderClick() {
  if (m_completed_folder.empty() || m_view.openFolder(m_completed_folder)) return;
  m_view.showErrorBox(std::string(kCheckCaption), FolderNotOpenedText(m_completed_folder));
}

// The folder of the file named in "Ficheiro", made absolute, with the
// platform's separators (it is stored, offered to the save dialog, opened).
std::string WindowModel::outputFolder() const {
  std::error_code ignored;
  const std::filesystem::path file = PathFromTyped(m_values.ficheiro);
  std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
  if (absolute.empty()) absolute = file;
  return DisplayPath(absolute.parent_path());
}

bool WindowModel::controlUsable(Control control) const {
  switch (control) {
    case Control::fserienum: return m_data_state && m_data_enabled && m_values.seriesEnabled;
    case Control::btabort: case Control::processar: case Control::pb: return !m_data_state;
    case Control::btexport: return m_data_state;
    case Control::btcancel: return true;
    case Control::nfiles: return m_status_visible;
    case Control::btopenfolder: return m_open_folder_visible;
    default: return m_data_state && m_data_enabled;  // the data panel's fields
  }
}

}  // namespace varnel
