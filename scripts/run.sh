#!/usr/bin/env bash
# Builds the command-line frame and runs it (the main job against the simulated device,
# or a subcommand: model, pages); the arguments are passed on. The build is quiet: stderr
# says that it builds and how far it got, and its output is shown only when it fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" --quiet "$root/build" -- dtm_frame_cli
exec "$root/build/dtm_frame_cli" "$@"
