# Shared by the Windows tests: Wine, the Linux build to compare with, and where the toolkit's and
# the compiler's libraries are for programs run from the build tree.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_run=${PLOTVIK_WINE:-$root/scripts/windows/wine-run.sh}
linux_build=${PLOTVIK_LINUX_BUILD:-$root/build/test}
if [ ! -x "$linux_build/tools/plotvik-render" ]; then
  echo "No Linux build in $linux_build (PLOTVIK_LINUX_BUILD)" >&2
  exit 1
fi
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
