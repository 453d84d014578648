#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own: a silent install puts the programs under
# Program Files with a Start-menu entry, an uninstaller Windows lists and "Open with" for .txt
# (not the default program for .txt); the installed check tool reads the installed sample; a
# silent uninstall then leaves no file, folder, shortcut or registry key of Plotvik's.
# Usage: installer_test.sh SETUP_EXE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$1
export WINEPREFIX
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-wine.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wine_run="$root/scripts/windows/wine-run.sh"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
reg_has() { "$wine_run" reg query "$@" >/dev/null 2>&1; }

"$wine_run" "$setup" /S || fail "the silent install exited with $?"
wineserver -w
program_files=$(cd "$WINEPREFIX/drive_c" && ls -d "Program Files" 2>/dev/null)
dir="$WINEPREFIX/drive_c/$program_files/Plotvik"
for f in plotvik.exe plotvik-check.exe plotvik-render.exe Qt6Core.dll platforms/qwindows.dll \
  fonts/LiberationSans-Regular.ttf samples/sample_yagi.txt README.txt; do
  [ -f "$dir/$f" ] || fail "the install has no $f"
done
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Plotvik.lnk"
[ -f "$menu" ] || fail "no Start-menu entry Plotvik"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plotvik'
reg_has "$uninstall_key" /v UninstallString || fail "no uninstaller registered"
reg_has 'HKLM\Software\Classes\Applications\plotvik.exe\SupportedTypes' /v .txt ||
  fail "not offered in Open with for .txt"
default=$("$wine_run" reg query 'HKLM\Software\Classes\.txt' /ve 2>/dev/null | tr -d '\r' || true)
if grep -qi plotvik <<<"$default"; then fail "took the default program for .txt"; fi

out=$("$wine_run" "C:\\Program Files\\Plotvik\\plotvik-check.exe" \
  "C:\\Program Files\\Plotvik\\samples\\sample_yagi.txt") || fail "the installed check tool failed"
expected=$(grep -c . "$root/samples/sample_yagi.txt")
[ "$(grep -c . <<<"$out")" -ge "$expected" ] ||
  fail "the installed check tool printed $(grep -c . <<<"$out") lines for $expected records"

"$wine_run" "$dir/Uninstall.exe" /S || fail "the silent uninstall exited with $?"
# The uninstaller copies itself away and runs from there; wait until it is done.
wineserver -w
[ ! -e "$dir" ] || fail "the program folder is still there: $(ls -R "$dir" | head)"
[ ! -e "$menu" ] || fail "the Start-menu entry is still there"
for key in "$uninstall_key" 'HKLM\Software\Plotvik' 'HKLM\Software\Classes\Applications\plotvik.exe' \
  'HKLM\Software\Classes\.txt\OpenWithList\plotvik.exe'; do
  if reg_has "$key"; then fail "registry key $key is still there"; fi
done
echo "PASS: installed silently, ran the installed check tool, uninstalled without a trace"
