// The dialog's control identifiers for the window model's controls, fields
// and lists, and back.
#pragma once

#include <optional>

#include "window/window_view.h"
#include "winui/resource.h"

namespace varnel {

// In the order of the Control enumeration.
inline constexpr int kControlIds[] = {
    IDC_COMPANYNAME, IDC_COMPANYID, IDC_STREETNAME, IDC_ADDRESSDETAIL, IDC_BUILDINGNUMBER, IDC_POSTALCODE1,
    IDC_POSTALCODE2, IDC_CITY, IDC_TAXCOUNTRYREGION, IDC_SAFTTYPE, IDC_SAFTVERSION, IDC_ESTABELECIMENTO,
    IDC_FSERIENUM, IDC_DATAI, IDC_DATAF, IDC_FICHEIRO, IDC_BTATCUD, IDC_DATA_FIRST, IDC_PROCESSAR, IDC_PB,
    IDC_NFILES, IDC_BTOPENFOLDER, IDC_BTABORT, IDC_BTEXPORT, IDC_BTCANCEL,
};
static_assert(sizeof(kControlIds) / sizeof(kControlIds[0]) == static_cast<int>(Control::btcancel) + 1);

inline int IdOf(Control control) { return kControlIds[static_cast<int>(control)]; }

inline std::optional<Control> ControlOfId(int id) {
  for (int index = 0; index <= static_cast<int>(Control::btcancel); ++index) {
    if (kControlIds[index] == id && id != IDC_DATA_FIRST) return static_cast<Control>(index);
  }
  return std::nullopt;
}

// In the order of the TextField enumeration.
inline constexpr int kTextFieldIds[] = {
    IDC_COMPANYNAME, IDC_COMPANYID,   IDC_STREETNAME, IDC_ADDRESSDETAIL,   IDC_BUILDINGNUMBER,
    IDC_POSTALCODE1, IDC_POSTALCODE2, IDC_CITY,       IDC_ESTABELECIMENTO, IDC_FICHEIRO,
};
inline int IdOf(TextField field) { return kTextFieldIds[static_cast<int>(field)]; }
inline std::optional<TextField> TextFieldOfId(int id) {
  for (int index = 0; index < static_cast<int>(sizeof(kTextFieldIds) / sizeof(int)); ++index) {
    if (kTextFieldIds[index] == id) return static_cast<TextField>(index);
  }
  return std::nullopt;
}

// In the order of the ListField enumeration.
inline constexpr int kListFieldIds[] = {IDC_TAXCOUNTRYREGION, IDC_SAFTTYPE, IDC_SAFTVERSION, IDC_FSERIENUM};
inline int IdOf(ListField field) { return kListFieldIds[static_cast<int>(field)]; }
inline std::optional<ListField> ListFieldOfId(int id) {
  for (int index = 0; index < 4; ++index) {
    if (kListFieldIds[index] == id) return static_cast<ListField>(index);
  }
  return std::nullopt;
}

}  // namespace varnel
