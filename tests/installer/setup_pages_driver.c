/* Drives the installer through its pages with window messages, for the
 * installer test and the README's pictures of the pages:
 *
 *   setup_pages_driver.exe READY_FILE SETUP.EXE [SWITCHES...]
 *
 * Starts the installer and, on every page that offers "Seguinte" (and on the
 * last one, "Terminar"), writes "N LEFT TOP WIDTH HEIGHT" (the page's number
 * and where the window's inside is on the screen) into READY_FILE, waits
 * for READY_FILE.taken (the screen captured), then presses the button. A message box means a page
 * refused what it was given: its text is printed and the driver fails. Exits
 * with the installer's exit code, or 1 when the installer does not end
 * within two minutes. */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

enum { kNextButton = 1, kBackButton = 3 };

static DWORD g_process_id;
static HWND g_found;

/* The installer's main window has a Back button; a message box does not. */
static BOOL CALLBACK find_window(HWND window, LPARAM want_main) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != g_process_id || !IsWindowVisible(window)) return TRUE;
  if ((GetDlgItem(window, kBackButton) != NULL) == (want_main != 0)) {
    g_found = window;
    return FALSE;
  }
  return TRUE;
}

static HWND top_window(BOOL main) {
  g_found = NULL;
  EnumWindows(find_window, main);
  return g_found;
}

/* The page: the one dialog inside the main window, made anew for each page. */
static HWND current_page(HWND main) { return FindWindowExW(main, NULL, L"#32770", NULL); }

static int wait_for_file(const wchar_t *path, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return 1;
    Sleep(50);
  }
  return 0;
}

/* The place of the window's inside on the screen: a virtual display has no
 * window manager to draw its frame and caption. */
static void report_page(const wchar_t *ready, int number, HWND main) {
  RECT rect;
  GetClientRect(main, &rect);
  MapWindowPoints(main, NULL, (POINT *)&rect, 2);
  wchar_t partial[MAX_PATH + 16], taken[MAX_PATH + 16];
  swprintf(partial, MAX_PATH + 16, L"%ls.part", ready);
  swprintf(taken, MAX_PATH + 16, L"%ls.taken", ready);
  FILE *file = _wfopen(partial, L"w");
  if (file) {
    fprintf(file, "%d %ld %ld %ld %ld\n", number, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    fclose(file);
    MoveFileExW(partial, ready, MOVEFILE_REPLACE_EXISTING);
    wait_for_file(taken, 10000);
    DeleteFileW(taken);
  }
}

static void fail_on_message_box(void) {
  HWND box = top_window(FALSE);
  if (!box) return;
  wchar_t text[2048] = L"";
  HWND child = NULL;
  while ((child = FindWindowExW(box, child, L"Static", NULL)) != NULL) {
    GetWindowTextW(child, text, 2048);
    if (text[0]) break;
  }
  fwprintf(stderr, L"A page refused its values: %ls\n", text);
  ExitProcess(1);
}

int wmain(int argc, wchar_t **argv) {
  if (argc < 3) {
    fputs("usage: setup_pages_driver READY_FILE SETUP.EXE [SWITCHES...]\n", stderr);
    return 2;
  }
  static wchar_t line[8192];
  swprintf(line, 8192, L"\"%ls\"", argv[2]);
  for (int i = 3; i < argc; ++i) {
    wcscat(line, L" ");
    wcscat(line, argv[i]);
  }
  STARTUPINFOW start;
  ZeroMemory(&start, sizeof start);
  start.cb = sizeof start;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &start, &process)) {
    fwprintf(stderr, L"cannot start %ls\n", argv[2]);
    return 1;
  }
  g_process_id = process.dwProcessId;

  HWND shown = NULL;
  int pages = 0;
  for (DWORD waited = 0; WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT; waited += 100) {
    if (waited > 120000) {
      fputs("The installer did not end within two minutes.\n", stderr);
      TerminateProcess(process.hProcess, 1);
      return 1;
    }
    fail_on_message_box();
    HWND main = top_window(TRUE);
    HWND page = main ? current_page(main) : NULL;
    if (!page || page == shown || !IsWindowEnabled(GetDlgItem(main, kNextButton))) continue;
    Sleep(500);  /* the page drawn, and still the same page */
    if (current_page(main) != page) continue;
    report_page(argv[1], ++pages, main);
    shown = page;
    /* Posted: a page that refuses shows a modal box while handling it. */
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(kNextButton, BN_CLICKED), (LPARAM)GetDlgItem(main, kNextButton));
  }
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  printf("The installer went through %d pages and ended with exit %lu.\n", pages, code);
  return (int)code;
}
