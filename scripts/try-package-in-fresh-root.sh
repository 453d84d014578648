#!/usr/bin/env bash
# Tries the package as a new user would, in a fresh Debian 12 root made with debootstrap (as
# root; several minutes, so not part of CI): `apt-get install ./plotvik_*.deb` must pull every
# dependency by itself; `plotvik --version`, plotvik-check and plotvik-render on a sample must
# work without a display; `apt-get purge --autoremove` must leave the root as it was before.
# The Debian mirror is the one this machine's apt uses.
#
# Usage: scripts/try-package-in-fresh-root.sh PLOTVIK_DEB [ROOT_DIR]
set -euo pipefail

deb=$(realpath "$1")
root_dir=${2:-$(mktemp -d "${TMPDIR:-/tmp}/plotvik-root.XXXXXX")}
[ "$(id -u)" -eq 0 ] || { echo "run as root: debootstrap and chroot need it" >&2; exit 2; }
command -v debootstrap >/dev/null || "$(dirname "$0")/setup.sh" debootstrap

# The first mirror this machine's apt takes bookworm from, in either sources format.
mirror=$(
  {
    sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null || true
    sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) bookworm .*/\2/p' /etc/apt/sources.list \
      /etc/apt/sources.list.d/*.list 2>/dev/null || true
  } | grep -v security | head -n1 || true
)
[ -n "$mirror" ] || { echo "no Debian mirror in this machine's apt sources" >&2; exit 2; }

mounted=""
cleanup() { [ -z "$mounted" ] || umount "$root_dir/proc" || true; }
trap cleanup EXIT

step() { echo "== $*"; }
in_root() { chroot "$root_dir" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
  DEBIAN_FRONTEND=noninteractive "$@"; }
# Every path in the root outside apt's and dpkg's own records, caches and logs.
snapshot() {
  (cd "$root_dir" && find . -xdev \( -path ./proc -o -path ./tmp -o -path ./var/cache \
    -o -path ./var/lib/apt -o -path ./var/lib/dpkg -o -path ./var/log -o -path ./root \) -prune \
    -o -print | sort)
}

if [ ! -x "$root_dir/usr/bin/apt-get" ]; then
  step "debootstrap bookworm into $root_dir from $mirror"
  debootstrap --variant=minbase bookworm "$root_dir" "$mirror" >"$root_dir.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root_dir.debootstrap.log"; exit 1; }
fi
mount -t proc proc "$root_dir/proc" && mounted=yes
in_root apt-get update -qq
snapshot >"$root_dir.before"
dpkg_before=$(in_root dpkg-query -W -f '${Package}\n' | sort)

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root_dir/tmp/"
in_root sh -c "cd /tmp && apt-get install -y -q --no-install-recommends ./$(basename "$deb")"

step "plotvik --version"
in_root plotvik --version
step "plotvik-check /usr/share/doc/plotvik/examples/sample_yagi.txt (first lines)"
in_root plotvik-check /usr/share/doc/plotvik/examples/sample_yagi.txt >"$root_dir.check.txt"
head -n 3 "$root_dir.check.txt"
echo "... $(wc -l <"$root_dir.check.txt") records"
step "plotvik-render /usr/share/doc/plotvik/examples/sample_yagi.txt /tmp/charts"
in_root plotvik-render /usr/share/doc/plotvik/examples/sample_yagi.txt /tmp/charts
ls -l "$root_dir/tmp/charts"
step "man plotvik (first lines)"
in_root sh -c 'command -v man >/dev/null && man -P cat plotvik | head -n 5 || zcat /usr/share/man/man1/plotvik.1.gz | head -n 3'

step "apt-get purge --autoremove plotvik"
in_root apt-get purge -y -q --autoremove plotvik
rm -rf "$root_dir/tmp/charts" "$root_dir/tmp/$(basename "$deb")"
snapshot >"$root_dir.after"
dpkg_after=$(in_root dpkg-query -W -f '${Package}\n' | sort)
status=0
if ! diff "$root_dir.before" "$root_dir.after"; then
  echo "FAIL: files left behind or removed (above)"
  status=1
fi
if [ "$dpkg_before" != "$dpkg_after" ]; then
  echo "FAIL: packages differ from before the install:"
  diff <(echo "$dpkg_before") <(echo "$dpkg_after") || true
  status=1
fi
[ "$status" -eq 0 ] && echo "PASS: installed, ran and removed without a trace"
exit "$status"
