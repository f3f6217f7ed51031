#!/usr/bin/env bash
# Configures (once) and builds incrementally.
# Usage: build.sh [--quiet] BUILD_DIR [cmake options...] [-- targets...]
# DTM_JOBS=N limits the build's parallel jobs (scripts/test.sh and
# scripts/fuzz.sh take it for the tests' too); DTM_WERROR=ON, when the folder
# is configured, makes every compiler warning an error (CI sets it).
# With --quiet the build's own output goes to a log that is shown only when the
# build fails; standard error says what is built and how far it got (Ninja's
# [N/M] steps): redrawn in place on a terminal, a line per 10 % otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -n "${DTM_JOBS:-}" ] && ! [[ $DTM_JOBS =~ ^[1-9][0-9]*$ ]]; then
  echo "build.sh: DTM_JOBS=$DTM_JOBS is no number of jobs (1 or more)" >&2
  exit 2
fi
quiet=0
if [ "${1:-}" = "--quiet" ]; then quiet=1; shift; fi
dir="$1"; shift
opts=(); targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; targets=("$@"); break; fi
  opts+=("$1"); shift
done

# Reads the build's output, appends it to the log $1 and shows the steps on
# stderr, after a line that says what is built ($2) unless $3 is 1 (said).
show_progress() {
  local log="$1" what="$2" said="$3" line step total shown=-1 tenth drawn=0
  local tty=0; [ -t 2 ] && tty=1
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    # Step 0 and CMake's re-run are no work of the build itself.
    [[ $line =~ ^\[([0-9]+)/([0-9]+)\]\ (.*)$ ]] || continue
    step=${BASH_REMATCH[1]}; total=${BASH_REMATCH[2]}
    if [ "$step" -eq 0 ] || [[ ${BASH_REMATCH[3]} == Re-running* ]]; then continue; fi
    if [ $said -eq 0 ]; then echo "building $what…" >&2; said=1; fi
    if [ $tty -eq 1 ]; then
      printf '\r  step %d of %d  ' "$step" "$total" >&2
      drawn=1
    else
      tenth=$((step * 10 / total))
      if [ $tenth -gt $shown ]; then
        shown=$tenth
        echo "  $((tenth * 10)) % (step $step of $total)" >&2
      fi
    fi
  done
  if [ $drawn -eq 1 ]; then echo >&2; fi
}

if [ $quiet -eq 1 ]; then
  what="${targets[*]:-everything}"
  said=0
  if [ ! -f "$dir/build.ninja" ]; then
    echo "building $what (the first build takes several minutes)…" >&2
    said=1
  fi
  log="$(mktemp)"
  status=0
  bash "$0" "$dir" "${opts[@]}" -- "${targets[@]}" 2>&1 | show_progress "$log" "$what" "$said" || status=$?
  if [ $status -ne 0 ]; then
    cat "$log" >&2
    echo "build.sh: the build of $what failed; its output is above and in $log" >&2
    exit 1
  fi
  rm -f "$log"
  exit 0
fi

bash "$root/scripts/setup.sh"
if [ ! -f "$dir/build.ninja" ]; then
  if [ -n "${DTM_WERROR:-}" ]; then opts+=("-DDTM_WERROR=$DTM_WERROR"); fi
  cmake -S "$root" -B "$dir" -G Ninja "${opts[@]}"
fi
jobs=()
if [ -n "${DTM_JOBS:-}" ]; then jobs=(--parallel "$DTM_JOBS"); fi
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$dir" "${jobs[@]}" --target "${targets[@]}"
else
  cmake --build "$dir" "${jobs[@]}"
fi
