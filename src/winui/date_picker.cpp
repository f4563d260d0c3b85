// The date picker's keys through the window model's DateEntry. The picker
// keeps its own selected part; the entry's part is kept in step by sending
// the picker Left and Right (which only move its highlight, as no digit was
// given to it), by selecting the day when the picker gets the focus (the
// common controls' picker under Wine selects no part then), and by taking
// the part of a click from where the click fell on the text dd/MM/yyyy.
#include "winui/date_picker.h"

#include <commctrl.h>

#include <string_view>
#include <utility>

namespace varnel {

namespace {

SYSTEMTIME ToSystemTime(const DateEntry& entry) {
  SYSTEMTIME value{};
  value.wYear = static_cast<WORD>(entry.year());
  value.wMonth = static_cast<WORD>(entry.month());
  value.wDay = static_cast<WORD>(entry.day());
  return value;
}

// The key of a digit (its character follows as WM_CHAR) or a modifier held
// to type one: neither ends the part being typed.
bool KeepsTyping(WPARAM key) {
  return (key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) || key == VK_SHIFT ||
         key == VK_CONTROL || key == VK_MENU;
}

int PartIndex(DatePart part) { return part == DatePart::Day ? 0 : part == DatePart::Month ? 1 : 2; }
DatePart PartOfIndex(int index) {
  constexpr DatePart kParts[] = {DatePart::Day, DatePart::Month, DatePart::Year};
  return kParts[((index % 3) + 3) % 3];
}

// Where the picker draws its text: inside its edge, a few pixels in.
int TextLeft() { return GetSystemMetrics(SM_CXEDGE) + 2; }

}  // namespace

DatePickerKeys::DatePickerKeys(HWND picker, std::function<void(DateTime)> changed)
    : m_picker(picker), m_changed(std::move(changed)) {
  SYSTEMTIME now{};
  if (SendMessageW(m_picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&now)) == GDT_VALID) {
    m_entry.set(now.wYear, now.wMonth, now.wDay);
  }
  SetWindowSubclass(m_picker, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

DatePickerKeys::~DatePickerKeys() {
  if (IsWindow(m_picker)) RemoveWindowSubclass(m_picker, Proc, 1);
}

void DatePickerKeys::follow(DateTime day) {
  if (m_applying) return;
  const DateTimeParts parts = day.Decode();
  m_entry.set(parts.year, parts.month, parts.day);  // the part stays where it was
}

void DatePickerKeys::apply() {
  const SYSTEMTIME value = ToSystemTime(m_entry);
  m_applying = true;
  SendMessageW(m_picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
  if (m_changed) m_changed(DateTime::FromDate(m_entry.year(), m_entry.month(), m_entry.day()));
  m_applying = false;
}

void DatePickerKeys::endTyping() {
  if (!m_entry.typing()) return;
  const int year = m_entry.year();
  m_entry.endTyping();
  if (m_entry.year() != year) apply();  // a year left at two digits
}

void DatePickerKeys::highlight(DatePart from) {
  const int moves = PartIndex(m_entry.part()) - PartIndex(from);
  const WPARAM key = moves > 0 ? VK_RIGHT : VK_LEFT;
  for (int i = 0; i < (moves > 0 ? moves : -moves); ++i) {
    DefSubclassProc(m_picker, WM_KEYDOWN, key, 1);
    DefSubclassProc(m_picker, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
  }
}

// A click on the day, so the picker's highlight starts where the entry does.
void DatePickerKeys::selectDayInPicker() {
  RECT client;
  GetClientRect(m_picker, &client);
  const LPARAM where = MAKELPARAM(TextLeft() + 2, (client.bottom - client.top) / 2);
  DefSubclassProc(m_picker, WM_LBUTTONDOWN, MK_LBUTTON, where);
  DefSubclassProc(m_picker, WM_LBUTTONUP, 0, where);
}

// The part under x, measured in the picker's font: before "00/" the day,
// before "00/00/" the month, else the year.
DatePart DatePickerKeys::partAt(int x) const {
  HDC dc = GetDC(m_picker);
  if (!dc) return DatePart::Day;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(m_picker, WM_GETFONT, 0, 0)));
  SIZE day{};
  SIZE month{};
  GetTextExtentPoint32W(dc, L"00/", 3, &day);
  GetTextExtentPoint32W(dc, L"00/00/", 6, &month);
  SelectObject(dc, old);
  ReleaseDC(m_picker, dc);
  const int offset = x - TextLeft();
  if (offset < day.cx) return DatePart::Day;
  return offset < month.cx ? DatePart::Month : DatePart::Year;
}

LRESULT CALLBACK DatePickerKeys::Proc(HWND picker, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                      DWORD_PTR self) {
  auto* keys = reinterpret_cast<DatePickerKeys*>(self);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(picker, Proc, 1);
    keys->m_picker = nullptr;
    return DefSubclassProc(picker, message, wparam, lparam);
  }
  return keys->handle(message, wparam, lparam);
}

LRESULT DatePickerKeys::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(m_picker, message, wparam, lparam);
      m_entry.selectPart(DatePart::Day);
      selectDayInPicker();
      return result;
    }
    case WM_KILLFOCUS:
      endTyping();
      break;
    case WM_LBUTTONDOWN: {
      endTyping();
      const LRESULT result = DefSubclassProc(m_picker, message, wparam, lparam);
      m_entry.selectPart(partAt(static_cast<short>(LOWORD(lparam))));
      return result;
    }
    case WM_KEYDOWN:
      if (wparam == VK_UP || wparam == VK_DOWN) {
        m_entry.step(wparam == VK_UP ? 1 : -1);
        apply();
        return 0;
      }
      if (KeepsTyping(wparam)) break;
      endTyping();
      if (wparam == VK_LEFT || wparam == VK_RIGHT) {
        // The picker wraps from the year to the day and back; so does the entry.
        m_entry.selectPart(PartOfIndex(PartIndex(m_entry.part()) + (wparam == VK_RIGHT ? 1 : -1)));
      }
      break;
    case WM_CHAR:
      if (wparam >= L'0' && wparam <= L'9') {
        const DatePart before = m_entry.part();
        m_entry.typeDigit(static_cast<int>(wparam - L'0'));
        apply();
        highlight(before);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(m_picker, message, wparam, lparam);
}

}  // namespace varnel
