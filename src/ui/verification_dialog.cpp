// The results dialog: two read-only tables filled from the report. The
// findings' counts stand above their table and the first error is selected;
// the VAT summary's columns are as wide as their content, its total row bold.
#include "ui/verification_dialog.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "window/verification_tables.h"
#include "window/window_texts.h"

namespace varnel {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QTableWidget* MakeTable(const QStringList& headers, int rows, QWidget* parent) {
  auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(false);
  return table;
}

// A read-only table with the rows of text, amounts aligned right.
QTableWidget* FillTable(const TextTable& text, QWidget* parent) {
  QStringList headers;
  for (const std::string& header : text.headers) headers << Text(header);
  QTableWidget* table = MakeTable(headers, static_cast<int>(text.rows.size()), parent);
  for (int row = 0; row < table->rowCount(); ++row) {
    const std::vector<std::string>& cells = text.rows[static_cast<std::size_t>(row)];
    for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
      auto* item = new QTableWidgetItem(Text(cells[static_cast<std::size_t>(column)]));
      if (static_cast<std::size_t>(column) >= text.right_aligned_from) {
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      }
      if (text.last_row_is_total && row + 1 == table->rowCount()) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      table->setItem(row, column, item);
    }
  }
  table->resizeColumnsToContents();
  if (text.selected_row >= 0 && text.selected_row < table->rowCount()) {
    table->selectRow(text.selected_row);
    table->setCurrentCell(text.selected_row, 0);
  }
  return table;
}

}  // namespace

VerificationDialog::VerificationDialog(const VerificationReport& report, QString outcome, QString folder,
                                       QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder)) {
  setObjectName("verificacao");
  setWindowTitle(kVerificationTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  resize(860, 520);
  auto* layout = new QVBoxLayout(this);
  auto* outcome_label = new QLabel(outcome, this);
  outcome_label->setObjectName("resultado");
  layout->addWidget(outcome_label);
  auto* counts_label = new QLabel(Text(SeverityCountsText(report)), this);
  counts_label->setObjectName("contagens");
  layout->addWidget(counts_label);
  QTableWidget* findings = build_findings(report);
  layout->addWidget(findings, 3);
  auto* vat_label = new QLabel(kVatSummaryTitle, this);
  layout->addWidget(vat_label);
  layout->addWidget(build_vat_summary(report.summary));
  auto* counts = new QLabel(Text(DocumentCountsText(report.summary)), this);
  counts->setObjectName("documentos");
  counts->setWordWrap(true);
  layout->addWidget(counts);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* open_folder = new QPushButton(buttons::kOpenFolder, this);
  open_folder->setObjectName("btabrirpasta");
  connect(open_folder, &QPushButton::clicked, this,
          [this] {
            if (QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder))) return;
            QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kCheckCaption),
                            QString::fromStdString(FolderNotOpenedText(m_folder.toStdString())), QMessageBox::Ok,
                            this);
            box.exec();
          });
  auto* close_button = new QPushButton(kCloseButton, this);
  close_button->setObjectName("btfechar");
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(open_folder);
  buttons->addWidget(close_button);
  layout->addLayout(buttons);
  findings->setFocus(Qt::OtherFocusReason);
}

QTableWidget* VerificationDialog::build_findings(const VerificationReport& report) {
  QTableWidget* table = FillTable(FindingsTable(report), this);
  table->setObjectName("achados");
  // The message takes the room the other columns leave.
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

QTableWidget* VerificationDialog::build_vat_summary(const VerificationSummary& summary) {
  QTableWidget* table = FillTable(VatSummaryTable(summary), this);
  table->setObjectName("resumoiva");
  // As tall as its rows, the total included: the findings take the rest.
  int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
  for (int row = 0; row < table->rowCount(); ++row) height += table->rowHeight(row);
  if (table->horizontalScrollBar()->isVisible()) height += table->horizontalScrollBar()->sizeHint().height();
  table->setFixedHeight(height);
  return table;
}

}  // namespace varnel
