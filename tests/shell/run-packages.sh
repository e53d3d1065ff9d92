#!/usr/bin/env bash
# ./run.sh installs what the program needs and none of the tests' packages.
# Runs it (printing instead of starting the program) on what looks like a
# machine without any package: a stand-in dpkg-query finds none, a stand-in
# apt-get records what it is asked to install.
set -euo pipefail
cd "$(dirname "$0")/../.."
source .ci/setup.sh
fake=$(mktemp -d "${TMPDIR:-/tmp}/tresolvin-packages.XXXXXX")
trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho "$*" >>"%s/apt.log"\n' "$fake" >"$fake/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$fake/sudo"
chmod +x "$fake"/*

PATH="$fake:$PATH" TRESOLVIN_RUN_PRINT=1 ./run.sh >"$fake/run.log" 2>&1 || { cat "$fake/run.log" >&2; exit 1; }
installed=$(grep '^install ' "$fake/apt.log" || true)
failures=0
for pkg in "${TRESOLVIN_RUN_PACKAGES[@]}"; do
  [[ " $installed " == *" $pkg "* ]] || { echo "run-packages: ./run.sh does not install $pkg" >&2; failures=1; }
done
for pkg in "${TRESOLVIN_TEST_PACKAGES[@]}"; do
  [[ " $installed " != *" $pkg "* ]] || { echo "run-packages: ./run.sh installs $pkg, a test package" >&2; failures=1; }
done
[[ " $installed " == *" qt6-translations-l10n "* ]] || { echo "run-packages: no Qt translations" >&2; failures=1; }
((failures == 0)) && echo "run-packages: ./run.sh installs the program's ${#TRESOLVIN_RUN_PACKAGES[@]} packages only"
