// Tmain as the window model's view: the model's controls mapped onto the
// widgets, every edit reported back to the model, and Qt's boxes, save
// dialog, results dialog and event loop behind the model's requests.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

#include "ui/_main.h"
#include "ui/atcud_dialog.h"
#include "ui/verification_dialog.h"

namespace varnel {

namespace {

QDate ToQDate(DateTime value) {
  const DateTimeParts parts = value.Decode();
  return QDate(parts.year, parts.month, parts.day);
}

DateTime FromQDate(QDate date) { return DateTime::FromDate(date.year(), date.month(), date.day()); }

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

constexpr TextField kTextFields[] = {
    TextField::companyName,    TextField::companyID,   TextField::streetName,  TextField::addressDetail,
    TextField::buildingNumber, TextField::postalCode1, TextField::postalCode2, TextField::city,
    TextField::estabelecimento, TextField::ficheiro,
};

}  // namespace

QLineEdit* Tmain::edit(TextField field) const {
  switch (field) {
    case TextField::companyName: return companyName;
    case TextField::companyID: return companyID;
    case TextField::streetName: return streetName;
    case TextField::addressDetail: return addressDetail;
    case TextField::buildingNumber: return buildingNumber;
    case TextField::postalCode1: return postalCode1;
    case TextField::postalCode2: return postalCode2;
    case TextField::city: return city;
    case TextField::estabelecimento: return estabelecimento;
    case TextField::ficheiro: return ficheiro;
  }
  return nullptr;
}

QComboBox* Tmain::list(ListField field) const {
  switch (field) {
    case ListField::taxCountryRegion: return taxCountryRegion;
    case ListField::saftType: return saftType;
    case ListField::saftVersion: return saftVersion;
    case ListField::fserienum: return fserienum;
  }
  return nullptr;
}

QWidget* Tmain::widget(Control control) const {
  const QList<QWidget*> widgets{companyName, companyID,   streetName, addressDetail, buildingNumber,
                                postalCode1, postalCode2, city,       taxCountryRegion, saftType,
                                saftVersion, estabelecimento, fserienum, datai,        dataf,
                                ficheiro,    btatcud,     pdados,     processar,     pb,
                                nfiles,      btopenfolder, btabort,   btexport,      btcancel};
  return widgets.value(static_cast<qsizetype>(control));
}

// Edits typed, picked or set reach the model at once; a version picked from
// its list is a pick by hand, the model's own choice of it is not.
void Tmain::report_edits() {
  for (TextField field : kTextFields) {
    connect(edit(field), &QLineEdit::textChanged, this,
            [this, field](const QString& text) { m_model.setText(field, text.toStdString()); });
  }
  for (ListField field : {ListField::taxCountryRegion, ListField::saftType, ListField::fserienum}) {
    connect(list(field), &QComboBox::currentIndexChanged, this,
            [this, field](int index) { m_model.setChoice(field, index); });
  }
  connect(saftVersion, &QComboBox::activated, this, [this](int index) { m_model.chooseSaftVersion(index); });
  connect(datai, &QDateEdit::dateChanged, this,
          [this](QDate date) { m_model.setDate(PeriodField::datai, FromQDate(date)); });
  connect(dataf, &QDateEdit::dateChanged, this,
          [this](QDate date) { m_model.setDate(PeriodField::dataf, FromQDate(date)); });
}

void Tmain::showText(TextField field, const std::string& text) {
  QLineEdit* box = edit(field);
  if (box->text().toStdString() != text) box->setText(FromUtf8(text));
}

void Tmain::showChoice(ListField field, int index) { list(field)->setCurrentIndex(index); }

void Tmain::showDate(PeriodField field, DateTime day) {
  (field == PeriodField::datai ? datai : dataf)->setDate(ToQDate(day));
}

void Tmain::showTitle(const std::string& text) { titleBand->setText(FromUtf8(text)); }

void Tmain::showKeyStatus(const std::string& text) { lbchave->setText(FromUtf8(text)); }

void Tmain::showStatus(const std::string& text) { nfiles->setText(FromUtf8(text)); }

void Tmain::showProgress(int maximum, int position) {
  if (pb->maximum() != maximum) pb->setRange(0, maximum);
  pb->setValue(position);
}

void Tmain::showControl(Control control, bool visible) { widget(control)->setVisible(visible); }

void Tmain::enableControl(Control control, bool enabled) { widget(control)->setEnabled(enabled); }

void Tmain::showErrorBox(const std::string& caption, const std::string& text) {
  if (m_options.message_box) {
    m_options.message_box(FromUtf8(caption), FromUtf8(text));
    return;
  }
  QMessageBox box(QMessageBox::Critical, FromUtf8(caption), FromUtf8(text), QMessageBox::Ok, this);
  box.exec();
}

bool Tmain::askYesNo(const std::string& caption, const std::string& text) {
  if (m_options.confirm) return m_options.confirm(FromUtf8(caption), FromUtf8(text));
  QMessageBox box(QMessageBox::Question, FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton, this);
  QPushButton* yes = box.addButton(buttons::kYes, QMessageBox::YesRole);
  QPushButton* no = box.addButton(buttons::kNo, QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

// It asks no confirmation when an existing file is chosen.
std::optional<std::string> Tmain::chooseSaveFile(const SaveFileChoice& choice) {
  const QString filter = FromUtf8(choice.filter_description) + " (" + FromUtf8(choice.filter_pattern) + ")";
  QFileDialog dialog(this, FromUtf8(choice.title), QString(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(FromUtf8(choice.default_extension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!choice.initial_file.empty()) dialog.selectFile(FromUtf8(choice.initial_file));
  if (!choice.initial_folder.empty()) dialog.setDirectory(FromUtf8(choice.initial_folder));
  std::optional<QString> chosen;
  if (m_options.run_file_dialog) {
    chosen = m_options.run_file_dialog(dialog);
  } else if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    chosen = dialog.selectedFiles().constFirst();
  }
  if (!chosen) return std::nullopt;
  return chosen->toStdString();
}

void Tmain::showAtcudCodes() {
  AtcudDialog dialog(m_model.directory(), m_options.message_box, this);
  if (m_options.run_atcud_dialog) {
    m_options.run_atcud_dialog(dialog);
  } else {
    dialog.exec();
  }
}

void Tmain::showVerificationResults(const VerificationReport& report, const std::string& outcome,
                                    const std::string& folder) {
  auto* dialog = new VerificationDialog(report, FromUtf8(outcome), FromUtf8(folder), this);
  m_verification_dialog = dialog;
  dialog->show();
}

void Tmain::closeVerificationResults() {
  if (m_verification_dialog) m_verification_dialog->close();
}

bool Tmain::openFolder(const std::string& folder) {
  if (m_options.open_folder) {
    m_options.open_folder(FromUtf8(folder));
    return true;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(FromUtf8(folder)));
}

void Tmain::handlePendingInput() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

std::optional<Control> Tmain::focusedControl() const {
  QWidget* focus = ControlOf(focusWidget());
  for (int index = 0; index <= static_cast<int>(Control::btcancel); ++index) {
    const auto control = static_cast<Control>(index);
    if (focus && widget(control) == focus) return control;
  }
  return std::nullopt;
}

void Tmain::focusControl(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void Tmain::closeWindow() { close(); }

}  // namespace varnel
