#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# With --fuzz also clang and its runtime libraries (libFuzzer, the sanitizers).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libxml2-dev uuid-dev
          libgtest-dev libgmock-dev libbenchmark-dev)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}"
fi
