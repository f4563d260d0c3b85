// Tmain's form and handlers. The form is built in code, every widget under
// its own object name, top to bottom by one builder per group: the title band
// (its text, which names the file's version, comes from the model), the two
// panels sharing one place (the data panel's company and export cards, the
// processing panel), the status band with "Abrir pasta", the bottom bar. The
// data panel's fields are tab stops in the order they stand, then
// "Exportar", "Sair", "Abortar" and "Abrir pasta"; the picture button beside
// "Ficheiro" takes no focus at all. The decoration (a coloured title band,
// white cards, coloured buttons, flat drop-down and date arrows) is a style
// sheet and carries no behaviour. Each handler passes its press to the
// window model, which runs the export as its own observer and shows
// everything through this view (main_view.cpp). The dates and the calendar
// are Portuguese whatever the machine's locale.
#include "ui/_main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "base/company.h"
#include "base/product_version.h"
#include "ui/date_field.h"
#include "ui/portuguese_texts.h"

// The images of the style sheet live in the window's static library, whose
// resource table the linker would drop unless it is named once.
static void InitWindowImages() { Q_INIT_RESOURCE(window_images); }

namespace varnel {

namespace {

// A label that reports mouse presses with the keyboard's modifiers.
class PressLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)> on_mouse_down;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (on_mouse_down) on_mouse_down(event->button(), event->modifiers());
    QLabel::mousePressEvent(event);
  }
};

constexpr const char* kStyleSheet = R"(
QWidget#Tmain { background: #eef2f7; }
QLabel { color: #24364b; background: transparent; }
QLabel#titleBand {
  color: white; font-size: 17px; font-weight: 600; padding-left: 20px;
  background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #0d3b66, stop:0.65 #1565a8, stop:1 #2a8fd6);
  border-bottom: 3px solid #f4a62a;
}
QFrame#cardCompany, QFrame#cardExport {
  background: white; border: 1px solid #d3dce8; border-radius: 8px;
}
QLineEdit, QComboBox, QDateEdit {
  border: 1px solid #b8c6d8; border-radius: 4px; padding: 1px 6px; background: white;
  min-height: 19px; selection-background-color: #1f7ab8;
}
QLineEdit:focus, QComboBox:focus, QDateEdit:focus { border: 1px solid #1f7ab8; background: #f2f8ff; }
QComboBox:disabled { background: #eef1f5; color: #6f7f92; }
QComboBox::drop-down, QDateEdit::drop-down {
  subcontrol-origin: padding; subcontrol-position: center right; width: 18px;
  border: none; border-left: 1px solid #e1e8f0; background: transparent;
}
QComboBox::down-arrow, QDateEdit::down-arrow { image: url(:/varnel/arrow_down.png); width: 10px; height: 6px; }
QComboBox::down-arrow:disabled, QDateEdit::down-arrow:disabled { image: url(:/varnel/arrow_down_disabled.png); }
QLabel#lbhint { color: #7b8a9c; font-size: 10px; }
QLabel#lbchave { color: #5d6e82; font-size: 11px; }
QLabel#lbserie { color: #24364b; }
QToolButton#openf { border: 1px solid #b8c6d8; border-radius: 4px; background: #f5f8fc; }
QToolButton#openf:hover { background: #e1edf9; }
QFrame#processar { background: white; border: 1px solid #d3dce8; border-radius: 8px; }
QLabel#lbprocessar { color: #0d3b66; font-size: 15px; font-weight: 600; }
QProgressBar#pb {
  border: 1px solid #b8c6d8; border-radius: 6px; background: #f5f8fc; text-align: center;
  min-height: 20px; color: #24364b;
}
QProgressBar#pb::chunk { border-radius: 5px; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1565a8, stop:1 #2a8fd6); }
QLabel#nfiles { color: #0d3b66; font-weight: 600; }
QPushButton#btopenfolder, QPushButton#btatcud { min-width: 0; min-height: 0; padding: 1px 10px; border-radius: 4px; }
QFrame#bottomBar { background: #dfe6ef; border-top: 1px solid #c4d0de; }
QLabel#vs { color: #5d6e82; font-size: 11px; }
QPushButton {
  min-width: 92px; min-height: 28px; border-radius: 5px; padding: 0 14px;
  border: 1px solid #9fb1c6; color: #24364b;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e6ecf3);
}
QPushButton:hover { background: #f4f8fc; }
QPushButton:focus { border: 2px solid #1f7ab8; }
QPushButton#btexport {
  color: white; font-weight: 600; border: 1px solid #0f4f86;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2a8fd6, stop:1 #1565a8);
}
QPushButton#btexport:focus { border: 2px solid #f4a62a; }
QPushButton#btabort {
  color: white; font-weight: 600; border: 1px solid #8e2219;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dd5343, stop:1 #b3362a);
}
QPushButton#btabort:focus { border: 2px solid #f4a62a; }
)";

// The form's small makers: each creates one widget (or row) under its name.

// A white card at the foot of the data panel's column, with a label column
// and a field column.
QGridLayout* make_card(QVBoxLayout* data_layout, const char* name) {
  auto* card = new QFrame(data_layout->parentWidget());
  card->setObjectName(name);
  auto* grid = new QGridLayout(card);
  grid->setContentsMargins(12, 8, 12, 8);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(5);
  grid->setColumnStretch(1, 1);
  data_layout->addWidget(card);
  return grid;
}

QLabel* make_label(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

QLineEdit* make_edit(const char* name, QWidget* parent, int width = 0) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (width > 0) edit->setFixedWidth(width);
  return edit;
}

QStringList Choices(const auto& choices) {
  QStringList list;
  for (const char* choice : choices) list << QString::fromUtf8(choice);
  return list;
}

QComboBox* make_list(const char* name, QWidget* parent, const QStringList& choices) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(false);  // only its choices, no free text
  list->addItems(choices);
  return list;
}

QDateEdit* make_date(const char* name, QWidget* parent) {
  auto* date = new DateField(parent);
  date->setObjectName(name);
  date->setFixedWidth(120);
  return date;
}

// A row of several widgets in the field column of one grid row.
QHBoxLayout* row_box(QGridLayout* grid, int row) {
  auto* box = new QHBoxLayout;
  box->setSpacing(8);
  grid->addLayout(box, row, 1);
  return box;
}

// One label column for both cards, as wide as the widest label.
void align_label_columns(QGridLayout* company, QGridLayout* exporting) {
  int label_width = 0;
  for (const QGridLayout* grid : {company, exporting}) {
    for (int row = 0; row < grid->rowCount(); ++row) {
      if (const QLayoutItem* item = grid->itemAtPosition(row, 0)) {
        if (item->widget()) label_width = std::max(label_width, item->widget()->sizeHint().width());
      }
    }
  }
  company->setColumnMinimumWidth(0, label_width);
  exporting->setColumnMinimumWidth(0, label_width);
}

}  // namespace

Tmain::Tmain(TmainOptions options, QWidget* parent)
    : TcsEZForm(parent),
      m_options(std::move(options)),
      m_model(*this, WindowModelOptions{m_options.directory, m_options.today, m_options.create_run}) {
  build_form();
  complete_creation();
  report_edits();
  FormCreate();
}

Tmain::~Tmain() = default;

void Tmain::build_form() {
  InitWindowImages();
  setObjectName("Tmain");
  setWindowTitle(kWindowCaption);
  setFixedSize(kClientWidth, kClientHeight);
  setStyleSheet(kStyleSheet);
  setLocale(PortugueseLocale());  // the date fields and their calendar

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  build_title_band(outer);

  // The two panels share one cell; the hidden one takes no room.
  auto* panels = new QWidget(this);
  panels->setObjectName("panels");
  auto* panels_layout = new QGridLayout(panels);
  panels_layout->setContentsMargins(10, 10, 10, 4);
  outer->addWidget(panels, 1);
  build_data_panel(panels_layout);
  build_processing_panel(panels_layout);

  build_status_band(outer);
  build_bottom_bar(outer);
  set_tab_order();
}

void Tmain::build_title_band(QVBoxLayout* outer) {
  titleBand = new QLabel(QString::fromStdString(TitleBandText(SaftVersion::k1_03_01)), this);
  titleBand->setObjectName("titleBand");
  titleBand->setFixedHeight(50);
  outer->addWidget(titleBand);
}

void Tmain::build_data_panel(QGridLayout* panels_layout) {
  pdados = new QFrame(panels_layout->parentWidget());
  pdados->setObjectName("pdados");
  auto* data_layout = new QVBoxLayout(pdados);
  data_layout->setContentsMargins(0, 0, 0, 0);
  data_layout->setSpacing(8);
  panels_layout->addWidget(pdados, 0, 0);

  QGridLayout* company = build_company_card(data_layout);
  QGridLayout* exporting = build_export_card(data_layout);
  data_layout->addStretch(1);
  align_label_columns(company, exporting);
}

QGridLayout* Tmain::build_company_card(QVBoxLayout* data_layout) {
  QGridLayout* company = make_card(data_layout, "cardCompany");
  QWidget* company_card = company->parentWidget();
  companyName = make_edit("companyName", company_card);
  company->addWidget(make_label(labels::kCompanyName, "lbcompanyName", company_card), 0, 0);
  company->addWidget(companyName, 0, 1);

  companyID = make_edit("companyID", company_card, 130);
  company->addWidget(make_label(labels::kCompanyID, "lbcompanyID", company_card), 1, 0);
  {
    QHBoxLayout* box = row_box(company, 1);
    box->addWidget(companyID);
    box->addStretch(1);
  }

  streetName = make_edit("streetName", company_card);
  company->addWidget(make_label(labels::kStreetName, "lbstreetName", company_card), 2, 0);
  company->addWidget(streetName, 2, 1);

  addressDetail = make_edit("addressDetail", company_card);
  company->addWidget(addressDetail, 3, 1);

  buildingNumber = make_edit("buildingNumber", company_card, 80);
  postalCode1 = make_edit("postalCode1", company_card, 58);
  postalCode2 = make_edit("postalCode2", company_card, 46);
  company->addWidget(make_label(labels::kBuildingNumber, "lbbuildingNumber", company_card), 4, 0);
  {
    QHBoxLayout* box = row_box(company, 4);
    box->addWidget(buildingNumber);
    box->addSpacing(16);
    box->addWidget(make_label(labels::kPostalCode, "lbpostalCode", company_card));
    box->addWidget(postalCode1);
    auto* dash = new QLabel("-", company_card);
    dash->setObjectName("lbpostalDash");
    box->addWidget(dash);
    box->addWidget(postalCode2);
    box->addStretch(1);
  }

  city = make_edit("city", company_card);
  company->addWidget(make_label(labels::kCity, "lbcity", company_card), 5, 0);
  company->addWidget(city, 5, 1);
  return company;
}

// Rows 0-3 here (VAT region, file type and version, establishment); the
// series, the period and the file rows follow, one builder each.
QGridLayout* Tmain::build_export_card(QVBoxLayout* data_layout) {
  QGridLayout* exporting = make_card(data_layout, "cardExport");
  QWidget* export_card = exporting->parentWidget();
  taxCountryRegion = make_list("taxCountryRegion", export_card, Choices(kTaxRegionChoices));
  taxCountryRegion->setFixedWidth(130);
  exporting->addWidget(make_label(labels::kTaxCountryRegion, "lbtaxCountryRegion", export_card), 0, 0);
  {
    QHBoxLayout* box = row_box(exporting, 0);
    box->addWidget(taxCountryRegion);
    box->addStretch(1);
  }
  build_type_row(exporting);

  estabelecimento = make_edit("estabelecimento", export_card, 150);
  estabelecimento->setMaxLength(static_cast<int>(kEstablishmentLength));
  exporting->addWidget(make_label(labels::kEstabelecimento, "lbestabelecimento", export_card), 3, 0);
  {
    QHBoxLayout* box = row_box(exporting, 3);
    box->addWidget(estabelecimento);
    auto* hint = new QLabel(kEstablishmentHint, export_card);
    hint->setObjectName("lbhint");
    box->addWidget(hint, 1);
  }

  build_series_row(exporting);
  build_period_row(exporting);
  build_file_row(exporting);
  return exporting;
}

// The SAF-T type, then the file's version and the series' validation codes
// that the newer version carries in every document.
void Tmain::build_type_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  saftType = make_list("saftType", export_card, Choices(kSaftTypeChoices));
  exporting->addWidget(make_label(labels::kSaftType, "lbsaftType", export_card), 1, 0);
  {
    QHBoxLayout* box = row_box(exporting, 1);
    box->addWidget(saftType);
    box->addStretch(1);
  }
  QStringList versions;
  for (SaftVersion version : kSaftVersionChoices) versions << QString::fromUtf8(SaftVersionLabel(version));
  saftVersion = make_list("saftVersion", export_card, versions);
  saftVersion->setFixedWidth(100);
  btatcud = new QPushButton(labels::kAtcudCodes, export_card);
  btatcud->setObjectName("btatcud");
  btatcud->setToolTip("Códigos de validação das séries, para o ATCUD de cada documento");
  connect(btatcud, &QPushButton::clicked, this, [this] { btatcudClick(); });
  exporting->addWidget(make_label(labels::kSaftVersion, "lbsaftVersion", export_card), 2, 0);
  QHBoxLayout* box = row_box(exporting, 2);
  box->addWidget(saftVersion);
  box->addSpacing(12);
  box->addWidget(btatcud);
  // Whether the signatures can be verified: the producer's public key.
  lbchave = new QLabel(export_card);
  lbchave->setObjectName("lbchave");
  lbchave->setToolTip("Chave pública do produtor do programa (Varnel.ini, secção [Assinaturas]), com que a "
                      "verificação confere a assinatura de cada documento");
  box->addSpacing(8);
  box->addWidget(lbchave);
  box->addStretch(1);
}

// The series list starts disabled; Ctrl+click on its label enables it.
void Tmain::build_series_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  QStringList series;
  for (int index = 0; index < kSeriesChoiceCount; ++index) series << QString::fromStdString(SeriesChoice(index));
  fserienum = make_list("fserienum", export_card, series);
  fserienum->setFixedWidth(130);
  fserienum->setEnabled(false);
  auto* series_label = new PressLabel(labels::kSeries, export_card);
  series_label->setObjectName("lbserie");
  series_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  series_label->on_mouse_down = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
    lbserieMouseDown(button, shift);
  };
  lbserie = series_label;
  exporting->addWidget(lbserie, 4, 0);
  QHBoxLayout* box = row_box(exporting, 4);
  box->addWidget(fserienum);
  box->addStretch(1);
}

void Tmain::build_period_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  datai = make_date("datai", export_card);
  dataf = make_date("dataf", export_card);
  exporting->addWidget(make_label(labels::kDatai, "lbdatai", export_card), 5, 0);
  QHBoxLayout* box = row_box(exporting, 5);
  box->addWidget(datai);
  box->addSpacing(16);
  box->addWidget(make_label(labels::kDataf, "lbdataf", export_card));
  box->addWidget(dataf);
  box->addStretch(1);
}

void Tmain::build_file_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  ficheiro = make_edit("ficheiro", export_card);
  openf = new QToolButton(export_card);
  openf->setObjectName("openf");
  openf->setFocusPolicy(Qt::NoFocus);
  openf->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  openf->setFixedSize(28, 23);
  openf->setToolTip(file_dialog::kTitle);
  connect(openf, &QToolButton::clicked, this, [this] { openfClick(); });
  exporting->addWidget(make_label(labels::kFicheiro, "lbficheiro", export_card), 6, 0);
  QHBoxLayout* box = row_box(exporting, 6);
  box->setSpacing(4);
  box->addWidget(ficheiro, 1);
  box->addWidget(openf);
}

void Tmain::build_processing_panel(QGridLayout* panels_layout) {
  processar = new QFrame(panels_layout->parentWidget());
  processar->setObjectName("processar");
  auto* processing_layout = new QVBoxLayout(processar);
  processing_layout->setContentsMargins(60, 40, 60, 40);
  processing_layout->setSpacing(18);
  processing_layout->addStretch(1);
  lbprocessar = new QLabel(kProcessingText, processar);
  lbprocessar->setObjectName("lbprocessar");
  lbprocessar->setAlignment(Qt::AlignCenter);
  processing_layout->addWidget(lbprocessar);
  pb = new QProgressBar(processar);
  pb->setObjectName("pb");
  pb->setFocusPolicy(Qt::NoFocus);
  pb->setVisible(false);
  processing_layout->addWidget(pb);
  processing_layout->addStretch(1);
  panels_layout->addWidget(processar, 0, 0);
  processar->setVisible(false);
}

// The status line: its band keeps its room while the text is hidden.
void Tmain::build_status_band(QVBoxLayout* outer) {
  auto* status_band = new QWidget(this);
  status_band->setObjectName("statusBand");
  status_band->setFixedHeight(26);
  auto* status_layout = new QHBoxLayout(status_band);
  status_layout->setContentsMargins(10, 0, 10, 2);
  nfiles = new QLabel(kStatusAtStart, status_band);
  nfiles->setObjectName("nfiles");
  nfiles->setAlignment(Qt::AlignCenter);
  nfiles->setVisible(false);
  btopenfolder = new QPushButton(buttons::kOpenFolder, status_band);
  btopenfolder->setObjectName("btopenfolder");
  btopenfolder->setToolTip(buttons::kOpenFolderTip);
  btopenfolder->setVisible(false);
  connect(btopenfolder, &QPushButton::clicked, this, [this] { btopenfolderClick(); });
  status_layout->addStretch(1);
  status_layout->addWidget(nfiles);
  status_layout->addSpacing(10);
  status_layout->addWidget(btopenfolder);
  status_layout->addStretch(1);
  outer->addWidget(status_band);
}

// The bottom bar: the version label, then "Abortar" (hidden until a run),
// "Exportar" and "Sair".
void Tmain::build_bottom_bar(QVBoxLayout* outer) {
  auto* bottom = new QFrame(this);
  bottom->setObjectName("bottomBar");
  bottom->setFixedHeight(50);
  auto* bottom_layout = new QHBoxLayout(bottom);
  bottom_layout->setContentsMargins(14, 0, 12, 0);
  bottom_layout->setSpacing(8);
  vs = new QLabel(QString::fromUtf8(kVersionLabel.data(), static_cast<qsizetype>(kVersionLabel.size())), bottom);
  vs->setObjectName("vs");
  bottom_layout->addWidget(vs);
  bottom_layout->addStretch(1);
  btabort = new QPushButton(buttons::kAbort, bottom);
  btabort->setObjectName("btabort");
  btabort->setVisible(false);
  btexport = new QPushButton(buttons::kExport, bottom);
  btexport->setObjectName("btexport");
  btcancel = new QPushButton(buttons::kExit, bottom);
  btcancel->setObjectName("btcancel");
  bottom_layout->addWidget(btabort);
  bottom_layout->addWidget(btexport);
  bottom_layout->addWidget(btcancel);
  outer->addWidget(bottom);
  connect(btabort, &QPushButton::clicked, this, [this] { btabortClick(); });
  connect(btexport, &QPushButton::clicked, this, [this] { btExportClick(); });
  connect(btcancel, &QPushButton::clicked, this, [this] { btcancelClick(); });
}

// Tab order: the data panel, then the bottom bar ("Exportar", "Sair",
// "Abortar"), then "Abrir pasta"; the processing panel holds no tab stop.
void Tmain::set_tab_order() {
  const QList<QWidget*> order{companyName, companyID,  streetName,       addressDetail, buildingNumber,
                              postalCode1, postalCode2, city,            taxCountryRegion, saftType,
                              saftVersion, btatcud,    estabelecimento, fserienum,     datai,
                              dataf,       ficheiro,   btexport,        btcancel,      btabort,
                              btopenfolder};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  companyName->setFocus(Qt::OtherFocusReason);
}

void Tmain::FormCreate() { m_model.FormCreate(); }

void Tmain::FormClose() { m_model.FormClose(); }

void Tmain::closeEvent(QCloseEvent* event) {
  if (m_model.closeRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void Tmain::showEvent(QShowEvent* event) {
  if (!m_centred && !parentWidget()) {
    m_centred = true;
    if (const QScreen* screen = this->screen()) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
  }
  TcsEZForm::showEvent(event);
}

Company Tmain::company_settings() const { return m_model.companySettings(); }

ExportRequest Tmain::build_request() const {
  ExportRequest request = m_model.buildRequest();
  request.vs = vs->text().toStdString();
  return request;
}

void Tmain::btExportClick() { m_model.btExportClick(); }

void Tmain::btopenfolderClick() { m_model.btopenfolderClick(); }

void Tmain::btabortClick() { m_model.btabortClick(); }

void Tmain::btcancelClick() { m_model.btcancelClick(); }

void Tmain::openfClick() { m_model.openfClick(); }

void Tmain::btatcudClick() { m_model.btatcudClick(); }

void Tmain::lbserieMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift) {
  m_model.lbserieMouseDown(shift.testFlag(Qt::ControlModifier));
}

}  // namespace varnel
