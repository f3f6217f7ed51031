#!/usr/bin/env bash
# Builds the project with clang and the libFuzzer targets (build-fuzz, -DDTM_FUZZ=ON), runs
# the tests of that build (clang's sanitizers check more than g++'s, e.g. float-to-integer
# overflow), then runs each target for a bounded time over its seed corpus
# (tests/data/fuzz/<target>). Usage: fuzz.sh [SECONDS per target, default 20]. Fails on a
# build error, a failed test or a finding.
# New inputs and any crash file go to a temporary folder, never into the tree; on a
# finding its path is printed and the folder kept.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
dir="$root/build-fuzz"
targets=(transaction_response set_parameters communication_response)

bash "$root/scripts/setup.sh" --fuzz
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ bash "$root/scripts/build.sh" "$dir" -DDTM_FUZZ=ON "${launcher[@]}"
for target in "${targets[@]}"; do
  if [ ! -x "$dir/fuzz_${target}" ]; then
    echo "no $dir/fuzz_${target}: the folder was configured without clang and -DDTM_FUZZ=ON; remove it" >&2
    exit 1
  fi
done

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd "$dir" && ctest --output-on-failure -j "${DTM_JOBS:-$(nproc)}")
for target in "${targets[@]}"; do
  work="$(mktemp -d -t "fuzz_${target}.XXXXXX")"
  mkdir "$work/corpus"
  echo "fuzz_${target}: ${seconds} s over tests/data/fuzz/${target}"
  if ! (cd "$work" && "$dir/fuzz_${target}" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
          -print_final_stats=1 -artifact_prefix="$work/" "$work/corpus" "$root/tests/data/fuzz/${target}" \
          >"$work/log" 2>&1); then
    tail -n 60 "$work/log" >&2
    echo "fuzz_${target} found a fault; the log and the input are in $work" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done ' "$work/log" || true
  rm -rf "$work"
done
