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
#  4. A second install over the first, an upgrade through the pages on a
#     virtual display (Xvfb), each page showing the first install's choices:
#     it keeps Varnel.ini, the exported files and the same task. Every page
#     is captured into build-windows/installer-test/pages/page-N.png; with
#     VARNEL_UPDATE_SCREENSHOT=1 the README's docs/installer-*.png are
#     replaced by them.
#  5. The silent uninstall removes the program, the shortcuts, the task and
#     the registry keys, and keeps Varnel.ini and the exported files.
# Exits non-zero at the first check that fails, saying which.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -z "${1:-}" ] || export VARNEL_WINDOWS_BUILD_DIR="$1"
. scripts/windows/env.sh
packages=(python3 xvfb xauth x11-apps netpbm)
. scripts/install_packages.sh
install_packages "${packages[@]}"
# The whole test on one virtual display: Wine's desktop belongs to the display
# its first program started on, and the pages need one.
if [ -z "${VARNEL_INSTALLER_TEST_DISPLAY:-}" ]; then
  export VARNEL_INSTALLER_TEST_DISPLAY="$$"
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

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
elapsed() { echo "(at $SECONDS s)"; }
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
"$wine" wineboot -i >/dev/null 2>&1 &
wineboot=$!
"$cc" -municode -O2 -Wall -Wextra tests/installer/schtasks_recorder.c -o "$test_dir/schtasks.exe" -lshell32
"$cc" -municode -O2 -Wall -Wextra tests/installer/setup_pages_driver.c -o "$test_dir/setup_pages_driver.exe"
wait "$wineboot" || fail "wineboot could not make the prefix"
wineserver -w  # every service wineboot started ended: schtasks just after them can fail
system32="$drive_c/windows/system32"
mv "$system32/schtasks.exe" "$system32/schtasks-wine.exe"
mv "$test_dir/schtasks.exe" "$system32/schtasks.exe"
pos_windows='C:\Ponto de Venda'
pos="$drive_c/Ponto de Venda"
mkdir -p "$pos"
first_day="$(date -d "$(date +%Y-%m-01) -1 month" +%Y-%m-%d)"
last_day="$(date -d "$(date +%Y-%m-01) -1 day" +%Y-%m-%d)"
month="${first_day:0:7}"
"$wine" "$demo_db" --out "$pos_windows" --documents 60 --from "$first_day" --to "$last_day" --atcud-codes >/dev/null
echo "Installer: a fresh prefix, with the demo of $month in $pos_windows $(elapsed)."

# --- 1. Refused silent lines ---------------------------------------------------------
# Each: the switches, and the words of the reason left in %TEMP%.
mkdir -p "$test_dir/vazia"
refusals=(
  "/PDV=$(windows_path "$test_dir/vazia")|não tem o ficheiro Korvel.UDL"
  "/TAREFA=1|Indique a pasta do ponto de venda"
  "/PDV=$pos_windows /HORA=24:00|A hora \"24:00\" não é válida"
  "/PDV=$pos_windows /HORA=ab:cd|A hora \"ab:cd\" não é válida"
  "/PDV=$pos_windows /SAIDA=SAF-T|tem de ser um caminho completo"
  "/PDV=$pos_windows /TAREFA=sim|aceita 0 ou 1"
)
for refusal in "${refusals[@]}"; do
  switches="${refusal%%|*}"
  find "$drive_c/users" -name varnel-instalacao.txt -delete
  status=0
  run_batch refused "\"$(windows_path "$setup")\" /S $switches /D=C:\\Recusado" || status=$?
  [ "$status" -eq 2 ] || fail "\"$switches\" gave exit $status, not 2"
  [ ! -e "$drive_c/Recusado" ] || fail "the refused \"$switches\" left C:\\Recusado"
  reason="$(find "$drive_c/users" -name varnel-instalacao.txt -exec iconv -f UTF-16 -t UTF-8 {} \;)"
  grep -qF "${refusal#*|}" <<<"$reason" || fail "\"$switches\" was refused without its reason: $reason"
done
echo "Installer: ${#refusals[@]} silent lines refused with their reasons, nothing installed. $(elapsed)"

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
cp "$test_dir/record/task-definition.xml" "$test_dir/task-definition-first.xml"
echo "Installer: silent install checked (files, shortcuts, uninstall entry, --help, the monthly task's definition). $(elapsed)"

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
echo "Installer: the task's command line wrote SAFT-$month.xml, its report and its status (exit 0). $(elapsed)"

# --- 4. An upgrade through the pages keeps Varnel.ini ---------------------------------------
# The installer again, without switches, through its pages: they show
# the first installation's choices and the driver presses "Seguinte" on each
# (a page that refused them would show a box and fail the test); every page
# is captured on the way.
printf 'CompanyName=Alterado na janela\r\n' >>"$pos/Varnel.ini"  # as if the operator had saved the window's fields
cp "$pos/Varnel.ini" "$test_dir/Varnel.ini.saved"
pages="$test_dir/pages"
mkdir -p "$pages"
ready="$pages/ready.txt"
"$wine" "$(windows_path "$test_dir/setup_pages_driver.exe")" "$(windows_path "$ready")" "$(windows_path "$setup")" \
  >"$test_dir/upgrade.log" 2>&1 &
driver=$!
while kill -0 "$driver" 2>/dev/null; do
  if [ -f "$ready" ]; then
    page=$(cut -d' ' -f1 "$ready")
    mv "$ready" "$pages/page-$page.txt"
    xwd -root -silent >"$pages/page-$page.xwd"
    touch "$ready.taken"
  fi
  sleep 0.1
done
wait "$driver" || fail "the upgrade through the pages failed: $(tr -d '\r' <"$test_dir/upgrade.log")"
for geometry in "$pages"/page-*.txt; do
  read -r page left top width height < <(tr -d '\r' <"$geometry")
  xwdtopnm "$pages/page-$page.xwd" 2>/dev/null | pnmcut -left "$left" -top "$top" -width "$width" -height "$height" \
    | pnmtopng -compression 9 >"$pages/page-$page.png"
  rm "$pages/page-$page.xwd"
done
if [ "${VARNEL_UPDATE_SCREENSHOT:-0}" = 1 ]; then
  cp "$pages/page-2.png" docs/installer-pasta.png
  cp "$pages/page-3.png" docs/installer-ponto-de-venda.png
  cp "$pages/page-4.png" docs/installer-exportacao-mensal.png
  echo "The README's docs/installer-*.png replaced."
fi
cmp -s "$pos/Varnel.ini" "$test_dir/Varnel.ini.saved" || fail "the upgrade changed Varnel.ini"
[ -f "$instdir/varnel.exe" ] && [ -f "$desktop" ] || fail "the upgrade did not keep the installation's folder and choices"
grep -q "Exporta no dia 1" "$system32/tasks/Varnel SAF-T mensal" || fail "the upgrade lost the monthly task"
cmp -s "$test_dir/record/task-definition.xml" "$test_dir/task-definition-first.xml" \
  || fail "the upgrade registered another task: $(python3 "$inspect" task "$test_dir/record/task-definition.xml")"
[ -s "$output/SAFT-$month.xml" ] || fail "the upgrade removed the exported file"
echo "Installer: the upgrade through its $(ls "$pages"/page-*.png | wc -l) pages kept Varnel.ini, the choices and the exported files; the pages are in $pages. $(elapsed)"

# --- 5. The silent uninstall ---------------------------------------------------------------
quiet="$("$wine" reg query "$uninstall_key" /v QuietUninstallString | sed -n 's/.*REG_SZ    //p' | tr -d '\r')"
run_batch uninstall "$quiet" || fail "the uninstaller ended with exit $?"
# The uninstaller runs on from a copy of itself in %TEMP%: wait for it to end.
for _ in $(seq 1 300); do
  "$wine" reg query "$uninstall_key" >/dev/null 2>&1 || [ -e "$instdir" ] || break
  sleep 0.1
done
sleep 0.5
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
echo "Installer: the silent uninstall removed the program, shortcuts, task and registry keys, and kept Varnel.ini and the exported files. $(elapsed)"
