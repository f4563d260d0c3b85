// The validation codes' dialog of the Qt view, over the window model's
// AtcudCodesModel: a table with one row per document type and series (type,
// series, code), "Adicionar" and "Remover" for rows, "Guardar" to write
// them into Varnel.ini and "Cancelar" to leave it unchanged. A value the
// model refuses is reported in an error box and the cell shows its old value.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

#include "window/atcud_codes_model.h"

class QTableWidget;

namespace varnel {

class AtcudDialog : public QDialog {
  Q_OBJECT

 public:
  // message_box shows an error box (caption, text); a QMessageBox when empty.
  AtcudDialog(const std::string& directory, std::function<void(const QString&, const QString&)> message_box,
              QWidget* parent);

  AtcudCodesModel& model() { return m_model; }
  QTableWidget* table() const { return m_table; }
  // "Guardar": true when the codes were written and the dialog closed.
  bool saveCodes();

 private:
  void fill_table();
  void cell_edited(int row, int column);
  void show_error(const std::string& text);

  AtcudCodesModel m_model;
  std::function<void(const QString&, const QString&)> m_message_box;
  QTableWidget* m_table = nullptr;
  bool m_filling = false;
};

}  // namespace varnel
