#!/usr/bin/env bash
# Builds the command-line frame and runs it (the main job against the simulated device,
# or a subcommand: model, pages); the arguments are passed on.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" "$root/build" -- dtm_frame_cli
exec "$root/build/dtm_frame_cli" "$@"
