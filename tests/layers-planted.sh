#!/usr/bin/env bash
# The layer check against a copy of the tree with one include planted at a
# time: each of these breaks the rule, and layers.sh must name it and fail.
set -euo pipefail
cd "$(dirname "$0")/.."
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
find core collections screen settings training assets ui tools tests \( -name '*.cpp' -o -name '*.h' \) \
  -exec cp --parents -t "$copy" {} +
tests/layers.sh "$copy" >/dev/null || { echo "the unchanged copy already fails"; exit 1; }

status=0
while IFS='|' read -r file include; do
  cp "$copy/$file" "$copy/$file.kept"
  printf '#include %s\n' "$include" | cat - "$copy/$file.kept" > "$copy/$file"
  if out=$(tests/layers.sh "$copy") || [[ $out != *"$file includes"* ]]; then
    echo "not caught: $include in $file"
    status=1
  fi
  mv "$copy/$file.kept" "$copy/$file"
done <<'PLANTED'
settings/Settings.cpp|"option.h"
settings/IniFile.h|<QString>
training/TaskDraw.cpp|"option.h"
screen/MessageBoxes.h|"Settings.h"
settings/dialogs/option.cpp|"TrainingRun.h"
tools/tasks/Plan.cpp|"Settings.h"
tools/make-assets/main.cpp|"MessageBoxes.h"
tests/core/ChessBoardTest.cpp|"TrainingRun.h"
tests/training/TrainingRunTest.cpp|"../ui/Fakes.h"
tests/settings/IniFileTest.cpp|"../core/FakePicture.h"
tests/training/TrainingRunTest.cpp|<QObject>
PLANTED
exit $status
