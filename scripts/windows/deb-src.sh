#!/usr/bin/env bash
# Lets apt fetch Debian source packages from the mirror and suites this machine already uses, in
# a sources file of its own; nothing else in apt's configuration is touched.
set -euo pipefail
list=/etc/apt/sources.list.d/plotvik-deb-src.sources
if [ -f "$list" ] && apt-cache showsrc qt6-base >/dev/null 2>&1 &&
  [ -n "$(apt-cache showsrc qt6-base 2>/dev/null)" ]; then
  exit 0
fi
uri=""
suite=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ "$f" = "$list" ] && continue
  u=$(awk '/^URIs:/ { print $2; exit }' "$f")
  s=$(awk '/^Suites:/ { print $2; exit }' "$f")
  case "$u" in *debian.org/debian | *debian.org/debian/) uri=$u suite=$s ;; esac
  [ -n "$uri" ] && break
done
if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
  read -r uri suite < <(awk '$1 == "deb" && $2 ~ /\/debian\/?$/ { print $2, $3; exit }' /etc/apt/sources.list)
fi
if [ -z "$uri" ]; then
  echo "No Debian mirror found in apt's sources to fetch source packages from" >&2
  exit 1
fi
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
  "$uri" "$suite" | "${as_root[@]}" tee "$list" >/dev/null
echo "Updating apt's lists for Debian's source packages" >&2
"${as_root[@]}" apt-get update -qq >/dev/null
