#!/usr/bin/env bash
# The layer rule: a folder includes only its own headers and those of the
# folders below it (core, collections, settings, training, assets, ui, in
# that order; assets stands beside the others). Prints every include that
# reaches up or sideways and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A allowed=(
  [core]="core"
  [collections]="collections"
  [settings]="settings collections"
  [training]="training settings collections core"
  [assets]="assets"
  [ui]="ui training settings collections core assets"
)
status=0
for folder in "${!allowed[@]}"; do
  while IFS=: read -r file header; do
    owner=$(find core collections settings training assets ui -name "$header" -not -path '*/generated/*' | head -1 | cut -d/ -f1)
    [[ -z "$owner" ]] && continue
    if [[ " ${allowed[$folder]} " != *" $owner "* ]]; then
      echo "$file includes $header from $owner/, which $folder/ must not use"
      status=1
    fi
  done < <(grep -rHo '#include "[^"]*"' "$folder" --include='*.cpp' --include='*.h' | sed 's/#include "\(.*\)"/\1/')
done
exit $status
