// The validation codes' dialog of the Win32 view, over the window model's
// AtcudCodesModel: the codes in a list (type, series, code), three boxes for
// the row being entered, "Adicionar" and "Alterar" to take the boxes into a
// new or the selected row (a value the model refuses is reported in an error
// box and the row keeps its old value), "Remover", "Guardar" to write
// Varnel.ini and "Cancelar" to leave it unchanged. Modal.
#pragma once

#include <windows.h>

#include <string>

#include "window/atcud_codes_model.h"

namespace varnel {

class AtcudCodesDialog {
 public:
  AtcudCodesDialog(HINSTANCE instance, const std::string& directory) : m_instance(instance), m_model(directory) {}
  // Returns when the operator saves or cancels.
  void run(HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  void on_init();
  void on_command(int id);
  void fill_list(int selected);
  void show_row(int row);
  // The three boxes into row; false after the first refusal.
  bool take_boxes(std::size_t row);
  int selected_row() const;
  void show_error(const std::string& text);

  HINSTANCE m_instance;
  AtcudCodesModel m_model;
  HWND m_dialog = nullptr;
};

}  // namespace varnel
