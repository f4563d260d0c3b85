// The results dialog: two read-only tables filled from the report.
#include "ui/verification_dialog.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "base/value_routines.h"

namespace varnel {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString SeverityText(FindingSeverity severity) {
  switch (severity) {
    case FindingSeverity::Error: return "Erro";
    case FindingSeverity::Warning: return "Aviso";
    case FindingSeverity::Note: return "Nota";
  }
  return {};
}

QTableWidget* MakeTable(const QStringList& headers, int rows, QWidget* parent) {
  auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

QString DocumentCounts(const VerificationSummary& summary) {
  QStringList counts;
  for (const auto& [type, count] : summary.documents_by_type) {
    QString entry = Text(type) + " " + QString::number(count);
    const auto annulled = summary.annulled_by_type.find(type);
    if (annulled != summary.annulled_by_type.end() && annulled->second > 0) {
      entry += " (" + QString::number(annulled->second) + " anulados)";
    }
    counts << entry;
  }
  return counts.isEmpty() ? QString() : "Documentos: " + counts.join(", ");
}

}  // namespace

VerificationDialog::VerificationDialog(const VerificationReport& report, QString outcome, QString folder,
                                       QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder)) {
  setObjectName("verificacao");
  setWindowTitle("Verificação do ficheiro");
  setAttribute(Qt::WA_DeleteOnClose);
  resize(860, 520);
  auto* layout = new QVBoxLayout(this);
  auto* outcome_label = new QLabel(outcome, this);
  outcome_label->setObjectName("resultado");
  layout->addWidget(outcome_label);
  layout->addWidget(build_findings(report), 3);
  auto* vat_label = new QLabel("Resumo do IVA (documentos de venda não anulados, notas de crédito deduzidas)", this);
  layout->addWidget(vat_label);
  layout->addWidget(build_vat_summary(report.summary), 2);
  auto* counts = new QLabel(DocumentCounts(report.summary), this);
  counts->setObjectName("documentos");
  counts->setWordWrap(true);
  layout->addWidget(counts);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  auto* open_folder = new QPushButton("Abrir pasta", this);
  open_folder->setObjectName("btabrirpasta");
  connect(open_folder, &QPushButton::clicked, this,
          [this] { QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder)); });
  auto* close_button = new QPushButton("Fechar", this);
  close_button->setObjectName("btfechar");
  connect(close_button, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(open_folder);
  buttons->addWidget(close_button);
  layout->addLayout(buttons);
}

QTableWidget* VerificationDialog::build_findings(const VerificationReport& report) {
  QTableWidget* table = MakeTable({"Gravidade", "Secção", "Documento", "Mensagem"},
                                  static_cast<int>(report.findings.size()), this);
  table->setObjectName("achados");
  for (int row = 0; row < table->rowCount(); ++row) {
    const Finding& finding = report.findings[static_cast<std::size_t>(row)];
    table->setItem(row, 0, new QTableWidgetItem(SeverityText(finding.severity)));
    table->setItem(row, 1, new QTableWidgetItem(Text(finding.section)));
    table->setItem(row, 2, new QTableWidgetItem(Text(finding.document)));
    table->setItem(row, 3, new QTableWidgetItem(Text(finding.message)));
  }
  table->resizeColumnsToContents();
  return table;
}

QTableWidget* VerificationDialog::build_vat_summary(const VerificationSummary& summary) {
  QTableWidget* table = MakeTable({"Região", "Código", "Taxa", "Base tributável", "IVA", "Total"},
                                  static_cast<int>(summary.vat.size()), this);
  table->setObjectName("resumoiva");
  for (int row = 0; row < table->rowCount(); ++row) {
    const VatSummaryRow& vat = summary.vat[static_cast<std::size_t>(row)];
    const QStringList cells{Text(vat.region),         Text(vat.tax_code),  Text(vat.percentage),
                            Text(CurrText(vat.taxable)), Text(CurrText(vat.vat)), Text(CurrText(vat.gross))};
    for (int column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(row, column, item);
    }
  }
  table->resizeColumnsToContents();
  return table;
}

}  // namespace varnel
