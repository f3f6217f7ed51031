#!/usr/bin/env bash
# Builds the command-line frame and runs the DTM's main job against the simulated device.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh" "$root/build" -- dtm_frame_cli
exec "$root/build/dtm_frame_cli" "$@"
