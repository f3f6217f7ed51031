#!/usr/bin/env bash
# Builds the command-line frame and runs it (the main job against the simulated device,
# or a subcommand: model, pages); the arguments are passed on. The build is quiet: its
# output is shown only when it fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! bash "$root/scripts/build.sh" "$root/build" -- dtm_frame_cli >"$log" 2>&1; then
  cat "$log" >&2
  echo "run.sh: the build of dtm_frame_cli failed" >&2
  exit 1
fi
rm -f "$log"
trap - EXIT
exec "$root/build/dtm_frame_cli" "$@"
