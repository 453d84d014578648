#!/usr/bin/env bash
# Writes the expected chart pictures in tests/data (expected_*.png) anew from the current build.
# Only for a change to the pictures that is intended: look at every picture that git reports as
# changed, and commit them together with the change that explains them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$root/build/test"
"$root/scripts/build.sh" "$build_dir" -DPLOTVIK_BUILD_TESTS=ON
(cd "$build_dir" && PLOTVIK_REMAKE_EXPECTED_IMAGES=1 ctest -R '^Charts/ExpectedImages\.' \
  --output-on-failure)
git -C "$root" status --short -- 'tests/data/expected_*.png'
