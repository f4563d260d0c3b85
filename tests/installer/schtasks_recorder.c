/* A stand-in for schtasks.exe in the installer test's Wine prefix. Wine's
 * Task Scheduler keeps a task's name, description and settings but writes
 * its triggers and actions back empty, so the definition the installer hands
 * to "schtasks /Create /XML FILE" is kept here, as a copy in the folder named
 * by VARNEL_TASK_RECORD, before the same command line goes on to Wine's own
 * schtasks (renamed schtasks-wine.exe beside this one). The exit code is that
 * of Wine's schtasks. */
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

/* The command line after the program's own name. */
static const wchar_t *arguments_after_program(const wchar_t *line) {
  if (*line == L'"') {
    line = wcschr(line + 1, L'"');
    line = line ? line + 1 : L"";
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

static void record_definition(int count, wchar_t **argv) {
  wchar_t folder[MAX_PATH], copy[MAX_PATH + 32];
  if (!GetEnvironmentVariableW(L"VARNEL_TASK_RECORD", folder, MAX_PATH)) return;
  for (int i = 1; i + 1 < count; ++i) {
    if (_wcsicmp(argv[i], L"/XML") == 0) {
      swprintf(copy, MAX_PATH + 32, L"%ls\\task-definition.xml", folder);
      if (!CopyFileW(argv[i + 1], copy, FALSE)) fwprintf(stderr, L"cannot keep %ls\n", argv[i + 1]);
    }
  }
}

int wmain(void) {
  int count = 0;
  wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (argv) record_definition(count, argv);

  wchar_t program[MAX_PATH];
  GetModuleFileNameW(NULL, program, MAX_PATH);
  wchar_t *name = wcsrchr(program, L'\\');
  if (name) wcscpy(name + 1, L"schtasks-wine.exe");
  static wchar_t line[32768];
  swprintf(line, 32768, L"\"%ls\" %ls", program, arguments_after_program(GetCommandLineW()));

  STARTUPINFOW start;
  ZeroMemory(&start, sizeof start);
  start.cb = sizeof start;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(program, line, NULL, NULL, FALSE, 0, NULL, NULL, &start, &process)) {
    fwprintf(stderr, L"cannot start %ls\n", program);
    return 1;
  }
  DWORD code = 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &code);
  return (int)code;
}
