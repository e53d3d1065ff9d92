#!/usr/bin/env bash
# Installs what is missing, builds Tresolvin into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source .ci/setup.sh

tresolvin_install_packages
tresolvin_configure_main

if ninja -C build -t targets all | grep -q '^tresolvin:'; then
  ninja -C build -j"$TRESOLVIN_JOBS" tresolvin
  exec build/ui/tresolvin
fi

# The program target comes with the user interface; until it exists, build
# what there is.
ninja -C build -j"$TRESOLVIN_JOBS"
echo "run.sh: the program target 'tresolvin' is not part of the tree yet; nothing to start."
