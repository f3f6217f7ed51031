#!/usr/bin/env bash
# Lists every include of a file from a layer above the includer's layer and fails
# if there is one. The layers, lowest first; a file may include its own layer and
# those below it. The three page folders are one layer: each may use the others.
set -euo pipefail
cd "$(dirname "$0")/.."
layers=(
  "platform"
  "core/services"
  "model/elements"
  "core/channels"
  "blocks"
  "model/build"
  "core/dtm"
  "pages/framework"
  "pages/parameterisation pages/measurement pages/service"
  "core/module"
  "frame"
)
rank_of() {  # the layer number of a path, -1 when it is in no layer
  local path="$1" i folder
  for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do
      case "$path" in "$folder"/*) echo "$i"; return ;; esac
    done
  done
  echo -1
}
bad=0
while IFS= read -r file; do
  own=$(rank_of "$file")
  if [ "$own" -lt 0 ]; then
    echo "$file: in no layer (add its folder to scripts/check_layers.sh)"; bad=1; continue
  fi
  while IFS=: read -r line target; do
    theirs=$(rank_of "$target")
    if [ "$theirs" -gt "$own" ]; then
      echo "$file:$line includes $target, a layer above its own"; bad=1
    fi
  done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"' "$file" |
           sed -E 's/^([0-9]+):.*"([^"]*)"$/\1:\2/' || true)
done < <(git ls-files 'platform/*' 'core/*' 'model/*' 'blocks/*' 'pages/*' 'frame/*' | grep -E '\.(h|cpp)$')
if [ "$bad" -ne 0 ]; then echo "Includes against the layer order."; exit 1; fi
echo "Layers: every include points down."
