#!/usr/bin/env bash
# The installer under Wine, on a fresh prefix of its own
# (build-windows/installer-test/prefix, with its own HOME so Wine links no
# folder of the user's): installer_test.sh [BUILD_DIR].
#  1. A silent install that names a folder without Korvel.UDL is refused
#     (exit 2, the reason in %TEMP%, nothing installed).
#  2. The technician's silent line installs into a test folder, with a
#     point-of-sale folder holding the demo of last month: the program files
#     and nothing else, the Start-menu and desktop shortcuts (target and
#     working directory), the uninstall entry, varnel-export.exe --help from
#     the installed folder, and the monthly task: in the prefix's task store
#     by name, and its definition (as the installer registered it; Wine's
#     store keeps no triggers or actions) with the right command, arguments,
#     working directory, day and hour.
#  3. The task's command line, run by hand in its working directory, writes
#     the month's file, its report and its status.
#  4. A second install over the first (an upgrade, silent, no switches: the
#     choices come from the first) keeps Varnel.ini and the exported files.
#  5. The silent uninstall removes the program, the shortcuts, the task and
#     the registry keys, and keeps Varnel.ini and the exported files.
# Exits non-zero at the first check that fails, saying which.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -z "${1:-}" ] || export VARNEL_WINDOWS_BUILD_DIR="$1"
. scripts/windows/env.sh

setup="$root/dist/varnel-$version-setup.exe"
demo_db="$out/project/tools/varnel-demo-db.exe"
inspect="$root/tests/installer/inspect_install.py"
test_dir="$out/installer-test"
rm -rf "$test_dir"
mkdir -p "$test_dir/home" "$test_dir/record"
export HOME="$test_dir/home" WINEPREFIX="$test_dir/prefix" VARNEL_TASK_RECORD="Z:$test_dir/record"
# No menu entries on the host; the recording schtasks.exe rather than the one Wine has built in.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;schtasks.exe=n"
drive_c="$WINEPREFIX/drive_c"

fail() { echo "Installer test: $*" >&2; exit 1; }
windows_path() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }
# run_batch NAME LINE...: the lines as NAME.bat (what a technician types in
# cmd), run by Wine's cmd; its exit code is the last line's.
run_batch() {
  local name=$1
  shift
  printf '%s\r\n' "@echo off" "$@" "exit %errorlevel%" >"$test_dir/$name.bat"
  "$wine" cmd /c "$(windows_path "$test_dir/$name.bat")" >"$test_dir/$name.log" 2>&1
}
field() { sed -n "s/^$1=//p"; }

# --- A fresh prefix, the recording schtasks and the point-of-sale folder ------
wineserver -k 2>/dev/null || true
"$wine" wineboot -i >/dev/null 2>&1
wineserver -w
system32="$drive_c/windows/system32"
mv "$system32/schtasks.exe" "$system32/schtasks-wine.exe"
"$cc" -municode -O2 -Wall -Wextra tests/installer/schtasks_recorder.c -o "$system32/schtasks.exe" -lshell32
pos_windows='C:\Ponto de Venda'
pos="$drive_c/Ponto de Venda"
mkdir -p "$pos"
first_day="$(date -d "$(date +%Y-%m-01) -1 month" +%Y-%m-%d)"
last_day="$(date -d "$(date +%Y-%m-01) -1 day" +%Y-%m-%d)"
month="${first_day:0:7}"
"$wine" "$demo_db" --out "$pos_windows" --documents 60 --from "$first_day" --to "$last_day" --atcud-codes >/dev/null

# --- 1. Refused: a folder without Korvel.UDL ----------------------------------------
mkdir -p "$test_dir/vazia"
status=0
run_batch refused "\"$(windows_path "$setup")\" /S /PDV=$(windows_path "$test_dir/vazia") /D=C:\\Recusado" || status=$?
[ "$status" -eq 2 ] || fail "a folder without Korvel.UDL gave exit $status, not 2"
[ ! -e "$drive_c/Recusado" ] || fail "a refused installation left C:\\Recusado"
reason="$(find "$drive_c/users" -name varnel-instalacao.txt -exec iconv -f UTF-16 -t UTF-8 {} \;)"
grep -q "não tem o ficheiro Korvel.UDL" <<<"$reason" || fail "the refusal's reason is missing: $reason"

# --- 2. The technician's silent line ------------------------------------------------
instdir_windows='C:\Programas\Varnel V6'
instdir="$drive_c/Programas/Varnel V6"
output_windows='C:\SAF-T Exportados'
output="$drive_c/SAF-T Exportados"
run_batch install "\"$(windows_path "$setup")\" /S /PDV=\"$pos_windows\" /ATALHO=1 /TAREFA=1 /HORA=4:30 /SAIDA=\"$output_windows\" /D=$instdir_windows" \
  || fail "the silent install ended with exit $? ($(cat "$test_dir/install.log"))"
[ "$(ls "$instdir" | tr '\n' ' ')" = "Desinstalar.exe varnel-export.exe varnel.exe " ] \
  || fail "the installed files are: $(ls "$instdir" | tr '\n' ' ')"
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnel V6.lnk"
desktop="$drive_c/users/Public/Desktop/Varnel V6.lnk"
for link in "$start_menu" "$desktop"; do
  [ -f "$link" ] || fail "no shortcut $link"
  shortcut="$(python3 "$inspect" shortcut "$link")"
  [ "$(field target <<<"$shortcut")" = "$instdir_windows\\varnel.exe" ] || fail "the shortcut's target: $shortcut"
  [ "$(field workdir <<<"$shortcut")" = "$pos_windows" ] || fail "the shortcut's working directory: $shortcut"
done
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnel'
entry="$("$wine" reg query "$uninstall_key" 2>/dev/null | tr -d '\r')"
for value in "DisplayName    REG_SZ    Varnel V6" "DisplayVersion    REG_SZ    $version" "Publisher    REG_SZ    Varnel" \
             "DisplayIcon    REG_SZ    $instdir_windows\\varnel.exe,0" "EstimatedSize    REG_DWORD    0x" \
             "UninstallString    REG_SZ    \"$instdir_windows\\Desinstalar.exe\""; do
  grep -qF "$value" <<<"$entry" || fail "the uninstall entry lacks \"$value\": $entry"
done
help="$("$wine" "$instdir_windows\\varnel-export.exe" --help | tr -d '\r')" || fail "varnel-export.exe --help failed"
grep -q "^Usage: varnel-export" <<<"$help" || fail "varnel-export.exe --help printed: $help"

grep -q "Exporta no dia 1 de cada mês" "$system32/tasks/Varnel SAF-T mensal" 2>/dev/null \
  || fail "the task store has no task \"Varnel SAF-T mensal\""
[ -f "$test_dir/record/task-definition.xml" ] || fail "schtasks was not given a task definition"
task="$(python3 "$inspect" task "$test_dir/record/task-definition.xml")"
expected_arguments="--output \"$output_windows\\SAFT-{YYYY-MM}.xml\" --type resumido --report \"$output_windows\\SAFT-{YYYY-MM}-relatorio.json\" --status \"$output_windows\\SAFT-{YYYY-MM}-estado.txt\""
[ "$(field command <<<"$task")" = "\"$instdir_windows\\varnel-export.exe\"" ] || fail "the task's command: $task"
[ "$(field arguments <<<"$task")" = "$expected_arguments" ] || fail "the task's arguments: $task"
[ "$(field workdir <<<"$task")" = "$pos_windows" ] || fail "the task's working directory: $task"
[ "$(field start <<<"$task")" = "2020-01-01T04:30:00" ] || fail "the task's hour: $task"
[ "$(field days <<<"$task"),$(field months <<<"$task")" = "1,12" ] || fail "the task's days: $task"
echo "Installer: silent install checked (files, shortcuts, uninstall entry, --help, the monthly task's definition)."

# --- 3. The task's command line, by hand ------------------------------------------------
status=0
run_batch monthly "cd /d \"$(field workdir <<<"$task")\"" "$(field command <<<"$task") $(field arguments <<<"$task")" \
  || status=$?
for suffix in .xml -relatorio.json -estado.txt; do
  [ -s "$output/SAFT-$month$suffix" ] || fail "the monthly run (exit $status) made no SAFT-$month$suffix"
done
[ "$(head -1 "$output/SAFT-$month-estado.txt" | tr -d '\r')" = "$status" ] \
  || fail "SAFT-$month-estado.txt does not begin with the exit status $status: $(cat "$output/SAFT-$month-estado.txt")"
[ "$status" -eq 0 ] || fail "the monthly run ended with exit $status: $(cat "$output/SAFT-$month-estado.txt")"
grep -q '"errors": 0,' "$output/SAFT-$month-relatorio.json" || fail "the month's report has errors"
echo "Installer: the task's command line wrote SAFT-$month.xml, its report and its status (exit 0)."

# --- 4. An upgrade keeps Varnel.ini ------------------------------------------------------
printf 'CompanyName=Alterado na janela\r\n' >>"$pos/Varnel.ini"  # as if the operator had saved the window's fields
cp "$pos/Varnel.ini" "$test_dir/Varnel.ini.saved"
run_batch upgrade "\"$(windows_path "$setup")\" /S" || fail "the upgrade ended with exit $? ($(cat "$test_dir/upgrade.log"))"
cmp -s "$pos/Varnel.ini" "$test_dir/Varnel.ini.saved" || fail "the upgrade changed Varnel.ini"
[ -f "$instdir/varnel.exe" ] && [ -f "$desktop" ] || fail "the upgrade did not keep the installation's folder and choices"
grep -q "Exporta no dia 1" "$system32/tasks/Varnel SAF-T mensal" || fail "the upgrade lost the monthly task"
[ -s "$output/SAFT-$month.xml" ] || fail "the upgrade removed the exported file"
echo "Installer: the upgrade kept Varnel.ini, the choices and the exported files."

# --- 5. The silent uninstall ---------------------------------------------------------------
quiet="$("$wine" reg query "$uninstall_key" /v QuietUninstallString | sed -n 's/.*REG_SZ    //p' | tr -d '\r')"
run_batch uninstall "$quiet" || fail "the uninstaller ended with exit $?"
wineserver -w  # the uninstaller runs on from a copy of itself in %TEMP%
[ ! -e "$instdir" ] || fail "the uninstall left $(ls -A "$instdir" | tr '\n' ' ') in the program folder"
[ ! -e "$start_menu" ] && [ ! -e "$desktop" ] || fail "the uninstall left a shortcut"
[ ! -e "$system32/tasks/Varnel SAF-T mensal" ] || fail "the uninstall left the monthly task"
! "$wine" reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstall left the uninstall entry"
! "$wine" reg query 'HKLM\Software\Varnel' >/dev/null 2>&1 || fail "the uninstall left HKLM\\Software\\Varnel"
cmp -s "$pos/Varnel.ini" "$test_dir/Varnel.ini.saved" || fail "the uninstall changed or removed Varnel.ini"
for kept in "$pos/Korvel.UDL" "$output/SAFT-$month.xml" "$output/SAFT-$month-relatorio.json"; do
  [ -f "$kept" ] || fail "the uninstall removed $kept"
done
wineserver -k 2>/dev/null || true
echo "Installer: the silent uninstall removed the program, shortcuts, task and registry keys, and kept Varnel.ini and the exported files."
