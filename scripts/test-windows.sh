#!/usr/bin/env bash
# Tries the Windows installer under Wine on a virtual display (Xvfb): installs
# build-windows/ZelvaBilling-<version>-setup.exe silently into a fresh Wine
# folder, runs the command-line options, logs in, opens the tax invoice
# window (a screenshot: build-windows/smoke.png), prints an invoice to PDF and
# reads it back, uninstalls, and checks that the shop's data stayed.
# Build the installer first with scripts/package-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
setup=$(ls build-windows/ZelvaBilling-*-setup.exe 2>/dev/null | tail -n 1)
[ -n "$setup" ] || { echo "test-windows: no installer in build-windows/; run scripts/package-windows.sh first" >&2; exit 1; }
for tool in wine xvfb-run Xvfb xdotool import pdftotext sqlite3; do
  command -v $tool >/dev/null || { echo "test-windows: $tool is missing (scripts/package-windows.sh tools installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
# Wine links Documents and Desktop to folders of the home folder: a home of its own.
export HOME=$work/home
mkdir -p "$HOME"
export WINEPREFIX=$work/wine WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=:$((90 + RANDOM % 100))
Xvfb $display -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() {
  wineserver -k 2>/dev/null || true
  kill $xvfb 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
check() { # check WHAT COMMAND...: one line per check, and the count at the end
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
seconds() { date +%s.%N; }
since() { awk -v from="$1" -v to="$(seconds)" 'BEGIN { printf "%.1f", to - from }'; }

started=$(seconds)
wineboot -i >/dev/null 2>&1
# A fresh Wine folder has none of Windows' fonts: Qt would take the first
# font it finds for them, here DejaVu Math TeX Gyre, whose tall bounding box
# puts every line box's text out of its box. Windows' UI fonts are mapped to
# the metric-alike Liberation fonts, as a Windows machine has its own.
for font in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Segoe UI" Arial "Microsoft Sans Serif" "MS Sans Serif"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d "Liberation Sans" /f >/dev/null 2>&1
done
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Times New Roman" /d "Liberation Serif" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono" /f >/dev/null 2>&1
wineserver -w
echo "Wine folder ready in $(since "$started") s"

program_dir="$WINEPREFIX/drive_c/Program Files/Zelva Billing"
appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
data="$appdata/ZelvaBilling"
prints="$WINEPREFIX/drive_c/users/$(id -un)/Documents/Zelva Billing Prints"
zelva() { wine "$program_dir/zelva.exe" "$@"; }

# Installed silently: the program, the Start-menu entry, the uninstaller.
wine "$setup" /S
wineserver -w
check "installed into Program Files" test -e "$program_dir/zelva.exe"
check "Start-menu entry" test -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelva Billing System.lnk"
check "uninstaller" test -e "$program_dir/uninstall.exe"
check "no data in the program's folder" test ! -e "$program_dir/ZLV.db"

# The command line.
version=$(sed -n 's/^project(ZelvaBilling VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
check "--version" test "$(zelva --version | tr -d '\r')" = "Zelva Billing System $version"
check "--add-operator reads the password from standard input" \
  sh -c "printf 'Teen-Rs-13\n' | wine '$program_dir/zelva.exe' --add-operator Ravi"
check "the data folder is in %APPDATA%" test -s "$data/ZLV.db"
check "--backup" zelva --backup 'C:\backups'
check "the backup holds all eight files" test "$(find "$WINEPREFIX/drive_c/backups" -name '*.db' | wc -l)" -eq 8

# The shop, written straight into the files the program made: a company in
# Kerala, a buyer in Tamil Nadu, one stock item.
seed_shop() {
  sqlite3 "$data/Database/Master.db" "INSERT INTO Company (Name, address, Dist, State, Pin, Gstin, sno, CompanyId)
    VALUES ('Zelva Traders', '12 Beach Road', 'Ernakulam', 'Kerala', '682001', '32AAAAA0000A1Z5', 1, 'C00001')" &&
  sqlite3 "$data/Database/Customer.db" "INSERT INTO CustomerDetails (sno, bid, Name, address, Dist, State, Pin, Gstin)
    VALUES (1, 'C00001', 'Chennai Cables', '4 Mount Road', 'Chennai', 'Tamil Nadu', '600002', '33BBBBB1111B1Z4')" &&
  sqlite3 "$data/Database/ItemStock.db" "INSERT INTO Stock (sno, itemcode, ItemName, ItemHsn, Rate, Per, Quantity, Remarks)
    VALUES (1, 'G00001', 'Copper Wire', '8544', 1913, 'Nos.', 50, 'N.A.')"
}
check "the shop written into the data files" seed_shop

# The windows: time to the login window, log in, the tax invoice window.
window() { xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
keys() { xdotool key --delay 150 "$@"; sleep 1; }
typed() { xdotool type --delay 80 "$1"; sleep 0.5; }
started=$(seconds)
wine "$program_dir/zelva.exe" >"$work/gui.log" 2>&1 &
gui=$!
login=$(timeout 120 bash -c "$(declare -f window); window Login" || true)
check "the login window shows" test -n "$login"
[ -n "$login" ] && echo "login window after $(since "$started") s"
if [ -n "$login" ]; then
  xdotool windowactivate --sync "$login" 2>/dev/null || xdotool windowfocus --sync "$login"
  typed Ravi; keys Tab; typed Teen-Rs-13; keys Return
  main=$(timeout 60 xdotool search --sync --onlyvisible --name 'Zelva Billing System' 2>/dev/null | head -n 1 || true)
  check "the main window shows after login" test -n "$main"
  keys F7
  sleep 3
  import -window root "$tree/build-windows/smoke.png"
  check "screenshot build-windows/smoke.png" test -s "$tree/build-windows/smoke.png"
  # A new invoice: the buyer, one line of 3 Copper Wire, Print (no printer under Wine: a PDF).
  keys alt+n
  typed "Chennai Cables"; keys Return
  for _ in $(seq 9); do keys Tab; done # to the goods' description (the form's own tab chain)
  typed "Copper Wire"; keys Return Tab Tab
  typed 3; keys Return Return Return # Enter moves on to the rate, then to Add, then presses it
  import -window root "$tree/build-windows/smoke-line.png" # the line added, before Print
  keys alt+p
  sleep 10
  import -window root "$work/after-print.png"
  cp "$work/after-print.png" "$tree/build-windows/smoke-print.png"
fi
pdf=$(find -L "$prints" -name "*.pdf" 2>/dev/null | head -n 1 || true) # the folder is missing when nothing was printed
check "the printed invoice is a PDF in Documents\Zelva Billing Prints" test -n "$pdf"
if [ -n "$pdf" ]; then
  pdftotext -layout "$pdf" "$work/invoice.txt"
  check "the PDF names the buyer" grep -q "Chennai Cables" "$work/invoice.txt"
  check "the PDF holds the item" grep -q "Copper Wire" "$work/invoice.txt"
  check "the PDF holds the three copies" sh -c "grep -c 'Original Copy\|Duplicate Copy\|Receiving Copy' '$work/invoice.txt' | grep -qx 3"
fi
kill $gui 2>/dev/null || true
wineserver -k 2>/dev/null || true
sleep 2

# Uninstalled silently: the program goes, the data stays.
wine "$program_dir/uninstall.exe" /S
wineserver -w # the uninstaller goes on from a copy of itself; this waits for that too
check "the program's folder is gone" test ! -e "$program_dir"
check "the Start-menu entry is gone" test ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelva Billing System.lnk"
check "the data folder stayed" test -s "$data/ZLV.db"
check "the printed PDF stayed" test -z "$pdf" -o -e "$pdf"

echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
