#!/usr/bin/env bash
# ./run.sh must start the program every time once it is built. Runs its start
# decision COUNT times (default 50) with TRESOLVIN_RUN_PRINT=1, which prints
# the command instead of starting it, and expects the program every time.
set -euo pipefail
cd "$(dirname "$0")/../.."
count=${1:-50}
expected="run.sh would start: build/ui/tresolvin"
starts=0
for ((i = 1; i <= count; i++)); do
  if out=$(TRESOLVIN_RUN_PRINT=1 ./run.sh 2>&1) && [[ $(tail -n 1 <<<"$out") == "$expected" ]]; then
    starts=$((starts + 1))
  else
    echo "run-starts: run $i did not start the program:" >&2
    echo "$out" >&2
  fi
done
[[ -x build/ui/tresolvin ]] || { echo "run-starts: build/ui/tresolvin is not built" >&2; exit 1; }
echo "run-starts: run.sh started the program $starts of $count times"
((starts == count))
