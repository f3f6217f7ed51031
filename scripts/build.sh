#!/usr/bin/env bash
# Configures (once) and builds incrementally. Usage: build.sh BUILD_DIR [cmake options...] [-- targets...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; shift
opts=(); targets=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; targets=("$@"); break; fi
  opts+=("$1"); shift
done
bash "$root/scripts/setup.sh"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${opts[@]}"
fi
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$dir" --target "${targets[@]}"
else
  cmake --build "$dir"
fi
