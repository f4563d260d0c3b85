// The validation codes' dialog: the model's rows in a table, every edit
// passed to the model and taken back when it is refused.
#include "ui/atcud_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

#include "window/window_texts.h"

namespace varnel {

namespace {

constexpr AtcudCodesModel::Column kColumns[] = {AtcudCodesModel::Column::type, AtcudCodesModel::Column::series,
                                                AtcudCodesModel::Column::code};

QPushButton* AddButton(QHBoxLayout* bar, const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  button->setObjectName(name);
  bar->addWidget(button);
  return button;
}

}  // namespace

AtcudDialog::AtcudDialog(const std::string& directory,
                         std::function<void(const QString&, const QString&)> message_box, QWidget* parent)
    : QDialog(parent), m_model(directory), m_message_box(std::move(message_box)) {
  setObjectName("atcudDialog");
  setWindowTitle(QString::fromUtf8(AtcudCodesModel::kTitle));
  resize(520, 320);
  auto* layout = new QVBoxLayout(this);
  m_table = new QTableWidget(0, 3, this);
  m_table->setObjectName("codigos");
  QStringList titles;
  for (const char* title : AtcudCodesModel::kColumnTitles) titles << QString::fromUtf8(title);
  m_table->setHorizontalHeaderLabels(titles);
  m_table->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(m_table);
  auto* bar = new QHBoxLayout;
  QPushButton* add = AddButton(bar, "Adicionar", "btadicionar");
  QPushButton* remove = AddButton(bar, "Remover", "btremover");
  bar->addStretch(1);
  QPushButton* save = AddButton(bar, "Guardar", "btguardar");
  QPushButton* cancel = AddButton(bar, "Cancelar", "btcancelar");
  layout->addLayout(bar);
  connect(add, &QPushButton::clicked, this, [this] {
    m_model.addRow();
    fill_table();
    m_table->setCurrentCell(m_table->rowCount() - 1, 0);
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    if (m_table->currentRow() >= 0) m_model.removeRow(static_cast<std::size_t>(m_table->currentRow()));
    fill_table();
  });
  connect(save, &QPushButton::clicked, this, [this] { saveCodes(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_table, &QTableWidget::cellChanged, this, [this](int row, int column) { cell_edited(row, column); });
  fill_table();
}

void AtcudDialog::fill_table() {
  m_filling = true;
  const auto& rows = m_model.rows();
  m_table->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (int column = 0; column < 3; ++column) {
      const std::string& text = m_model.cell(row, kColumns[column]);
      m_table->setItem(static_cast<int>(row), column, new QTableWidgetItem(QString::fromStdString(text)));
    }
  }
  m_filling = false;
}

void AtcudDialog::cell_edited(int row, int column) {
  if (m_filling) return;
  const std::string text = m_table->item(row, column)->text().toStdString();
  const AtcudCodesModel::Column which = kColumns[column];
  if (const std::optional<std::string> refused = m_model.setCell(static_cast<std::size_t>(row), which, text)) {
    show_error(*refused);
  }
  m_filling = true;
  m_table->item(row, column)->setText(QString::fromStdString(m_model.cell(static_cast<std::size_t>(row), which)));
  m_filling = false;
}

bool AtcudDialog::saveCodes() {
  if (const std::optional<std::string> refused = m_model.save()) {
    show_error(*refused);
    return false;
  }
  accept();
  return true;
}

void AtcudDialog::show_error(const std::string& text) {
  const QString caption = QString::fromUtf8(kCheckCaption);
  if (m_message_box) {
    m_message_box(caption, QString::fromStdString(text));
    return;
  }
  QMessageBox box(QMessageBox::Critical, caption, QString::fromStdString(text), QMessageBox::Ok, this);
  box.exec();
}

}  // namespace varnel
