#!/usr/bin/env bash
# The Debian package as scripts/package.sh builds it: every file in place, dependencies worked
# out by dpkg-shlibdeps, the desktop entry and AppStream metadata valid, and no lintian error.
#
# Usage: tests/package/package_test.sh PLOTVIK_DEB
set -euo pipefail

deb=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/plotvik-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
for path in \
  /usr/bin/plotvik /usr/bin/plotvik-check /usr/bin/plotvik-render \
  /usr/share/applications/plotvik.desktop \
  /usr/share/icons/hicolor/scalable/apps/plotvik.svg \
  /usr/share/metainfo/org.plotvik.plotvik.metainfo.xml \
  /usr/share/man/man1/plotvik.1.gz /usr/share/man/man1/plotvik-check.1.gz \
  /usr/share/man/man1/plotvik-render.1.gz \
  /usr/share/doc/plotvik/copyright /usr/share/doc/plotvik/changelog.gz \
  /usr/share/doc/plotvik/examples/sample_yagi.txt; do
  grep -qx "$path" "$work/contents" || fail "the package lacks $path"
done

depends=$(dpkg-deb -f "$deb" Depends)
# Libraries the programs link come from dpkg-shlibdeps, with its version bounds.
for library in libc6 libqt6widgets6 libqt6gui6 libqt6core6 zlib1g; do
  grep -Eq "(^|, )$library( \(>= [^)]+\))?(,|$)" <<<"$depends" ||
    fail "Depends lacks $library: $depends"
done
grep -q 'libqt6core6 (>= ' <<<"$depends" || fail "Depends has no version bound from shlibdeps: $depends"

dpkg-deb -x "$deb" "$work/root"
entry="$work/root/usr/share/applications/plotvik.desktop"
desktop-file-validate "$entry" >"$work/desktop.log" 2>&1 ||
  fail "the desktop entry is not valid: $(cat "$work/desktop.log")"
grep -q '^Categories=.*Science;Electronics;HamRadio;' "$entry" ||
  fail "the desktop entry's categories: $(grep '^Categories=' "$entry")"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.plotvik.plotvik.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || fail "AppStream metadata: $(cat "$work/appstream.log")"
grep -q '<launchable type="desktop-id">plotvik.desktop</launchable>' \
  "$work/root/usr/share/metainfo/org.plotvik.plotvik.metainfo.xml" ||
  fail "the metadata does not launch plotvik.desktop"
grep -q "<release version=\"$(dpkg-deb -f "$deb" Version)\"" \
  "$work/root/usr/share/metainfo/org.plotvik.plotvik.metainfo.xml" ||
  fail "the metadata's releases do not list the package's version"
for page in plotvik plotvik-check plotvik-render; do
  zcat "$work/root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH .*$(dpkg-deb -f "$deb" Version)" ||
    fail "$page.1 does not carry the package's version"
done

# Errors fail; warnings and notes are shown for whoever reads the log.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.log")"
cat "$work/lintian.log"

[ "$failed" -eq 0 ] || exit 1
echo "PASS: $(basename "$deb")"
