#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own Wine prefix (under build/, made on first
# use), quietly: Wine's own diagnostics and its offers to install Mono and Gecko are off, so the
# program's output is its own. Exit status is the program's.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$root/build/windows/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=$(command -v wine64 || command -v wine || true)
[ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
if [ -z "$wine" ]; then
  echo "wine-run.sh: Wine is not installed (scripts/setup.sh windows)" >&2
  exit 127
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Two runs making the prefix at once would spoil it.
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || /usr/lib/wine/wineserver64 -w 2>/dev/null || true
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
