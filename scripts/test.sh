#!/usr/bin/env bash
# Builds and runs every test. With --sanitize: a separate build with ASan and UBSan.
# DTM_JOBS=N limits the parallel jobs of the build and of the tests (default: every processor).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"; opts=()
if [ "${1:-}" = "--sanitize" ]; then
  dir="$root/build-asan"; opts=(-DDTM_SANITIZE=ON -DDTM_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
bash "$root/scripts/build.sh" "$dir" "${opts[@]}"
cd "$dir"
ctest --output-on-failure -j "${DTM_JOBS:-$(nproc)}"
