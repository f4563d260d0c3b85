// The operator window. The form is built in code with every widget under its
// own name (its object name), laid out top to bottom by one builder per group:
// title band, the two panels in one place (the data panel's company and export
// cards, the processing panel), the status line, the bottom bar. The data
// panel's fields are tab stops in their stated order, then the bar's buttons;
// the picture button beside "Ficheiro" takes no focus at all. The decoration
// (a coloured title band, white cards, coloured buttons, flat drop-down and
// date arrows) is a style sheet and carries no behaviour. The window is
// Portuguese whatever the machine's locale: dates, the calendar, and the
// core's file errors translated as they are shown.
#include "ui/_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "run/export_run.h"
#include "ui/verification_dialog.h"
#include "base/company.h"
#include "base/file_names.h"
#include "base/product_version.h"
#include "base/series_index.h"
#include "settings/series_option.h"
#include "ui/date_field.h"
#include "ui/portuguese_texts.h"

// The images of the style sheet live in the window's static library, whose
// resource table the linker would drop unless it is named once.
static void InitWindowImages() { Q_INIT_RESOURCE(window_images); }

namespace varnel {

namespace {

constexpr int kClientWidth = 671;
constexpr int kClientHeight = 506;

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

// The real run: one ExportRun over the window's connection.
class ExportRunAdapter : public ExportRunner {
 public:
  explicit ExportRunAdapter(PosDatabase& database) : m_run(database) {}
  RunOutcome execute(const ExportRequest& request, ExportObserver& observer) override {
    return m_run.execute(request, observer);
  }
  void requestAbort() override { m_run.requestAbort(); }

 private:
  ExportRun m_run;
};

QDate ToQDate(DateTime value) {
  const DateTimeParts parts = value.Decode();
  return QDate(parts.year, parts.month, parts.day);
}

DateTime FromQDate(QDate date) { return DateTime::FromDate(date.year(), date.month(), date.day()); }

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// The index when the list has it, otherwise -1 (nothing selected).
int ChoiceOrNone(const QComboBox* list, int index) { return index >= 0 && index < list->count() ? index : -1; }

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
QPushButton#btopenfolder { min-width: 0; min-height: 0; padding: 1px 10px; border-radius: 4px; }
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

Tmain::Tmain(TmainOptions options, QWidget* parent) : TcsEZForm(parent), m_options(std::move(options)) {
  if (!m_options.create_run) {
    m_options.create_run = [](PosDatabase& database) { return std::make_unique<ExportRunAdapter>(database); };
  }
  build_form();
  complete_creation();
  FormCreate();
}

Tmain::~Tmain() = default;

void Tmain::build_form() {
  InitWindowImages();
  setObjectName("Tmain");
  setWindowTitle("Varnel V6");
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
  titleBand = new QLabel("Exportação SAF-T-PT modelo 1.03_01", this);
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
  company->addWidget(make_label("Empresa", "lbcompanyName", company_card), 0, 0);
  company->addWidget(companyName, 0, 1);

  companyID = make_edit("companyID", company_card, 130);
  company->addWidget(make_label("Nº Contribuinte", "lbcompanyID", company_card), 1, 0);
  {
    QHBoxLayout* box = row_box(company, 1);
    box->addWidget(companyID);
    box->addStretch(1);
  }

  streetName = make_edit("streetName", company_card);
  company->addWidget(make_label("Morada", "lbstreetName", company_card), 2, 0);
  company->addWidget(streetName, 2, 1);

  addressDetail = make_edit("addressDetail", company_card);
  company->addWidget(addressDetail, 3, 1);

  buildingNumber = make_edit("buildingNumber", company_card, 80);
  postalCode1 = make_edit("postalCode1", company_card, 58);
  postalCode2 = make_edit("postalCode2", company_card, 46);
  company->addWidget(make_label("Nº", "lbbuildingNumber", company_card), 4, 0);
  {
    QHBoxLayout* box = row_box(company, 4);
    box->addWidget(buildingNumber);
    box->addSpacing(16);
    box->addWidget(make_label("Código Postal", "lbpostalCode", company_card));
    box->addWidget(postalCode1);
    auto* dash = new QLabel("-", company_card);
    dash->setObjectName("lbpostalDash");
    box->addWidget(dash);
    box->addWidget(postalCode2);
    box->addStretch(1);
  }

  city = make_edit("city", company_card);
  company->addWidget(make_label("Localidade", "lbcity", company_card), 5, 0);
  company->addWidget(city, 5, 1);
  return company;
}

// Rows 0-2 here (VAT region, file type, establishment); the series, the
// period and the file rows follow, one builder each.
QGridLayout* Tmain::build_export_card(QVBoxLayout* data_layout) {
  QGridLayout* exporting = make_card(data_layout, "cardExport");
  QWidget* export_card = exporting->parentWidget();
  taxCountryRegion = make_list("taxCountryRegion", export_card, {"Continente", "Madeira", "Açores"});
  taxCountryRegion->setFixedWidth(130);
  saftType = make_list("saftType", export_card, {"Normal", "Resumido (para submeter pelo portal)"});
  exporting->addWidget(make_label("Regime de IVA", "lbtaxCountryRegion", export_card), 0, 0);
  {
    QHBoxLayout* box = row_box(exporting, 0);
    box->addWidget(taxCountryRegion);
    box->addStretch(1);
  }
  exporting->addWidget(make_label("Tipo de SAF-T", "lbsaftType", export_card), 1, 0);
  {
    QHBoxLayout* box = row_box(exporting, 1);
    box->addWidget(saftType);
    box->addStretch(1);
  }

  estabelecimento = make_edit("estabelecimento", export_card, 150);
  estabelecimento->setMaxLength(static_cast<int>(kEstablishmentLength));
  exporting->addWidget(make_label("Nome do estabelecimento", "lbestabelecimento", export_card), 2, 0);
  {
    QHBoxLayout* box = row_box(exporting, 2);
    box->addWidget(estabelecimento);
    auto* hint = new QLabel("(preencher se existir mais do que um estabelecimento)", export_card);
    hint->setObjectName("lbhint");
    box->addWidget(hint, 1);
  }

  build_series_row(exporting);
  build_period_row(exporting);
  build_file_row(exporting);
  return exporting;
}

// The series list starts disabled; Ctrl+click on its label enables it.
void Tmain::build_series_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  QStringList series{"Não utilizar"};
  for (int index = 1; index <= SeriesIndex::kLastLetter; ++index) {
    series << QString::fromStdString(SeriesIndex(index).Letter());
  }
  fserienum = make_list("fserienum", export_card, series);
  fserienum->setFixedWidth(130);
  fserienum->setEnabled(false);
  auto* series_label = new PressLabel("Série de documentos", export_card);
  series_label->setObjectName("lbserie");
  series_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  series_label->on_mouse_down = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
    lbserieMouseDown(button, shift);
  };
  lbserie = series_label;
  exporting->addWidget(lbserie, 3, 0);
  QHBoxLayout* box = row_box(exporting, 3);
  box->addWidget(fserienum);
  box->addStretch(1);
}

void Tmain::build_period_row(QGridLayout* exporting) {
  QWidget* export_card = exporting->parentWidget();
  datai = make_date("datai", export_card);
  dataf = make_date("dataf", export_card);
  exporting->addWidget(make_label("Data inicial", "lbdatai", export_card), 4, 0);
  QHBoxLayout* box = row_box(exporting, 4);
  box->addWidget(datai);
  box->addSpacing(16);
  box->addWidget(make_label("Data final", "lbdataf", export_card));
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
  openf->setToolTip("Ficheiro de exportação");
  connect(openf, &QToolButton::clicked, this, [this] { openfClick(); });
  exporting->addWidget(make_label("Ficheiro", "lbficheiro", export_card), 5, 0);
  QHBoxLayout* box = row_box(exporting, 5);
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
  lbprocessar = new QLabel("Aguarde, por favor, em processamento...", processar);
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
  nfiles = new QLabel("0 de 0", status_band);
  nfiles->setObjectName("nfiles");
  nfiles->setAlignment(Qt::AlignCenter);
  nfiles->setVisible(false);
  btopenfolder = new QPushButton("Abrir pasta", status_band);
  btopenfolder->setObjectName("btopenfolder");
  btopenfolder->setToolTip("Abre a pasta do ficheiro exportado");
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
  btabort = new QPushButton("Abortar", bottom);
  btabort->setObjectName("btabort");
  btabort->setVisible(false);
  btexport = new QPushButton("Exportar", bottom);
  btexport->setObjectName("btexport");
  btcancel = new QPushButton("Sair", bottom);
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
  const QList<QWidget*> order{companyName, companyID,       streetName, addressDetail, buildingNumber, postalCode1,
                              postalCode2, city,            taxCountryRegion, saftType, estabelecimento, fserienum,
                              datai,       dataf,           ficheiro,   btexport,      btcancel,       btabort,
                              btopenfolder};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  companyName->setFocus(Qt::OtherFocusReason);
}

void Tmain::FormCreate() {
  m_settings.emplace(m_options.directory);
  const Company settings = m_settings->Load();
  companyID->setText(QString::fromStdString(settings.companyID));
  companyName->setText(QString::fromStdString(settings.companyName));
  buildingNumber->setText(QString::fromStdString(settings.buildingNumber));
  streetName->setText(QString::fromStdString(settings.streetName));
  addressDetail->setText(QString::fromStdString(settings.addressDetail));
  city->setText(QString::fromStdString(settings.city));
  postalCode1->setText(QString::fromStdString(settings.postalCode1));
  postalCode2->setText(QString::fromStdString(settings.postalCode2));
  estabelecimento->setText(QString::fromStdString(settings.estabelecimento));
  taxCountryRegion->setCurrentIndex(ChoiceOrNone(taxCountryRegion, settings.taxCountryRegion));
  saftType->setCurrentIndex(1);
  fserienum->setCurrentIndex(ChoiceOrNone(fserienum, ReadSeriesOption(m_options.directory)));

  const Period period = PreviousMonth(m_options.today ? *m_options.today : DateTime::Today());
  datai->setDate(ToQDate(period.first));
  dataf->setDate(ToQDate(period.last));
}

void Tmain::FormClose() { m_settings.reset(); }

// During a run the window stays until the run has ended: the operator is
// asked, and a confirmed close aborts the run and closes the window after it.
void Tmain::closeEvent(QCloseEvent* event) {
  if (m_run) {
    event->ignore();
    if (m_close_after_run) return;
    const QString caption = kApplicationTitle;
    const QString question = "Está a decorrer uma exportação. Abortar e sair?";
    bool confirmed = false;
    if (m_options.confirm) {
      confirmed = m_options.confirm(caption, question);
    } else {
      QMessageBox box(QMessageBox::Question, caption, question, QMessageBox::NoButton, this);
      QPushButton* yes = box.addButton("Sim", QMessageBox::YesRole);
      QPushButton* no = box.addButton("Não", QMessageBox::NoRole);
      box.setDefaultButton(no);
      box.setEscapeButton(no);
      box.exec();
      confirmed = box.clickedButton() == yes;
    }
    // The run may have ended while the question was open.
    if (confirmed && m_run) {
      m_close_after_run = true;
      m_run->requestAbort();
    } else if (confirmed) {
      close();
    }
    return;
  }
  FormClose();
  event->accept();
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

Company Tmain::company_settings() const {
  Company settings;
  settings.companyID = Text(companyID);
  settings.companyName = Text(companyName);
  settings.buildingNumber = Text(buildingNumber);
  settings.streetName = Text(streetName);
  settings.addressDetail = Text(addressDetail);
  settings.city = Text(city);
  settings.postalCode1 = Text(postalCode1);
  settings.postalCode2 = Text(postalCode2);
  settings.estabelecimento = Text(estabelecimento);
  settings.taxCountryRegion = taxCountryRegion->currentIndex();
  return settings;
}

ExportRequest Tmain::build_request() const {
  ExportRequest request;
  request.company = company_settings();
  request.datai = FromQDate(datai->date());
  request.dataf = FromQDate(dataf->date());
  request.ficheiro = Text(ficheiro);
  request.saftType = saftType->currentIndex();
  request.fserienum = SeriesIndex(fserienum->currentIndex());
  request.vs = vs->text().toStdString();
  return request;
}

void Tmain::btExportClick() {
  if (m_run) return;  // "Exportar" is hidden during a run; a stray press does nothing
  const ExportRequest request = build_request();
  const QPointer<QWidget> focus_before = focusWidget();
  btopenfolder->setVisible(false);
  m_completed_folder.clear();
  m_verification.reset();
  if (m_verification_dialog) m_verification_dialog->close();
  std::unique_ptr<ExportRunner> run = m_options.create_run(m_database);
  m_run = run.get();
  // The data panel takes no input while the run uses its values (the
  // maintenance shows its progress with the panel on screen).
  pdados->setEnabled(false);
  RunOutcome outcome = RunOutcome::Failed;
  {
    struct ClearRun {
      ExportRunner*& run;
      QFrame* panel;
      ~ClearRun() {
        run = nullptr;
        panel->setEnabled(true);
      }
    } clear_run{m_run, pdados};
    outcome = run->execute(request, *this);
  }
  if (m_close_after_run) {
    m_close_after_run = false;
    close();
    return;
  }
  if (outcome == RunOutcome::Completed) {
    m_completed_folder = output_folder();
    btopenfolder->setVisible(true);
    if (m_verification) {
      auto* dialog = new VerificationDialog(*m_verification, nfiles->text(), m_completed_folder, this);
      m_verification_dialog = dialog;
      dialog->show();
    }
  }
  // Back where the operator was ("Exportar" was hidden during the run, so
  // the focus had moved on to "Sair").
  QWidget* target = focus_before && focus_before->isVisible() && focus_before->isEnabled()
                        ? static_cast<QWidget*>(focus_before)
                        : btexport;
  target->setFocus(Qt::OtherFocusReason);
}

QString Tmain::output_folder() const {
  std::error_code ignored;
  std::filesystem::path file = PathFromTyped(ficheiro->text().toStdString());
  std::filesystem::path absolute = std::filesystem::absolute(file, ignored);
  if (absolute.empty()) absolute = file;
  return QString::fromStdString(absolute.parent_path().string());
}

void Tmain::btopenfolderClick() {
  if (m_completed_folder.isEmpty()) return;
  if (m_options.open_folder) {
    m_options.open_folder(m_completed_folder);
  } else {
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_completed_folder));
  }
}

void Tmain::btabortClick() {
  if (m_run) m_run->requestAbort();
}

void Tmain::btcancelClick() { close(); }

void Tmain::openfClick() {
  const QString working_directory = QDir::currentPath();
  QFileDialog dialog(this, "Ficheiro de exportação", QString(), "Ficheiros xml (*.xml)");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix("xml");
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!ficheiro->text().isEmpty()) {
    dialog.selectFile(QString::fromStdString(PathFromTyped(ficheiro->text().toStdString()).string()));
  } else if (m_settings) {
    // Where the last export went, while that folder exists.
    const QString last = QString::fromStdString(m_settings->LoadLastFolder());
    if (!last.isEmpty() && QDir(last).exists()) dialog.setDirectory(last);
  }
  std::optional<QString> chosen;
  if (m_options.run_file_dialog) {
    chosen = m_options.run_file_dialog(dialog);
  } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = dialog.selectedFiles().constFirst();
  }
  if (chosen) ficheiro->setText(QString::fromStdString(ForceXmlExtension(chosen->toStdString())));
  QDir::setCurrent(working_directory);
}

void Tmain::lbserieMouseDown(Qt::MouseButton, Qt::KeyboardModifiers shift) {
  if (shift & Qt::ControlModifier) fserienum->setEnabled(true);
}

void Tmain::show_error_box(const QString& caption, const std::string& message) {
  const QString text = QString::fromStdString(message);
  if (m_options.message_box) {
    m_options.message_box(caption, text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
  box.exec();
}

void Tmain::showOutputPath(const std::string& path) { ficheiro->setText(QString::fromStdString(path)); }

void Tmain::showError(const std::string& message) { show_error_box("Erro", message); }

void Tmain::showApplicationError(const std::string& message) {
  show_error_box(kApplicationTitle, PortugueseMessage(message));
}

void Tmain::showProcessing() {
  processar->setVisible(true);
  pdados->setVisible(false);
  btabort->setVisible(true);
  btexport->setVisible(false);
  nfiles->setVisible(true);
}

// The maintenance's progress comes before the processing panel: the status
// line shows from the first text on.
void Tmain::setStatus(const std::string& text) {
  nfiles->setText(QString::fromStdString(text));
  nfiles->setVisible(true);
}

void Tmain::processPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // A close confirmed during the maintenance (whose abort the run clears
  // before it starts writing) is asked for again at every chance.
  if (m_close_after_run && m_run) m_run->requestAbort();
}

void Tmain::persistSettings() {
  // The store bound from FormCreate (or, should it be released, one bound
  // for this one save); then the folder the export writes to.
  SettingsStore store = m_settings ? *m_settings : SettingsStore(m_options.directory);
  store.Save(company_settings());
  store.SaveLastFolder(output_folder().toStdString());
}

void Tmain::progressStart(int maximum) {
  pb->setRange(0, maximum);
  pb->setValue(0);
  pb->setVisible(true);
}

void Tmain::progressStep() { pb->setValue(pb->value() + 1); }

void Tmain::progressHide() { pb->setVisible(false); }

void Tmain::showVerification(const VerificationReport& report) { m_verification = report; }

void Tmain::showData() {
  btabort->setVisible(false);
  btexport->setVisible(true);
  processar->setVisible(false);
  pdados->setVisible(true);
}

}  // namespace varnel
