#!/usr/bin/env bash
# Installs what the program needs and is missing, builds the program into
# build/ and starts it. Only the program's packages are installed and only
# the program and what it links are built; the tests and their packages are
# left to ./test.sh, the offline tool to `ninja -C build tresolvin-tasks`.
# TRESOLVIN_RUN_PRINT=1 prints the command that would be started instead of
# starting it (used by the tests).
set -euo pipefail
cd "$(dirname "$0")"
source .ci/setup.sh

tresolvin_install_packages "${TRESOLVIN_RUN_PACKAGES[@]}"
tresolvin_configure_main

ninja -C build -j"$TRESOLVIN_JOBS" tresolvin
program=build/ui/tresolvin
if [[ "${TRESOLVIN_RUN_PRINT:-}" == 1 ]]; then
  echo "run.sh would start: $program"
  exit 0
fi
exec "$program"
