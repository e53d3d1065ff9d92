#!/usr/bin/env bash
# Installs what is missing (the program's packages and the tests'), builds
# build/ and build-asan/ (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test in both through CTest. Fails when a build, a test or a
# sanitizer fails.
set -euo pipefail
cd "$(dirname "$0")"
source .ci/setup.sh

tresolvin_install_packages

# The tests run headless and never see the real home directory: every
# per-user location points into a throw-away directory.
sandbox=$(mktemp -d "${TMPDIR:-/tmp}/tresolvin-test.XXXXXX")
trap 'rm -rf "$sandbox"' EXIT
mkdir -p "$sandbox/home" "$sandbox/config" "$sandbox/cache" "$sandbox/data" "$sandbox/runtime"
chmod 700 "$sandbox/runtime"
export HOME="$sandbox/home"
export XDG_CONFIG_HOME="$sandbox/config"
export XDG_CACHE_HOME="$sandbox/cache"
export XDG_DATA_HOME="$sandbox/data"
export XDG_RUNTIME_DIR="$sandbox/runtime"
export QT_QPA_PLATFORM=offscreen

# Any sanitizer report stops the process with a failure. These are set for
# the builds too: test discovery runs the test programs at build time.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan.supp:print_suppressions=0"

status=0
run_suite() {
  local dir=$1 log="$sandbox/ctest-$1.log"
  echo "== $dir: build"
  ninja -C "$dir" -j"$TRESOLVIN_JOBS"
  echo "== $dir: tests"
  if ! (cd "$dir" && ctest --output-on-failure -j"$TRESOLVIN_JOBS") 2>&1 | tee "$log"; then
    status=1
  fi
  # A report from a child process whose exit status nobody checks would not
  # fail its test; look for one in the output as well.
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log"; then
    echo "test.sh: sanitizer report in $dir" >&2
    status=1
  fi
}

tresolvin_configure_main tests
tresolvin_configure build-asan -DCMAKE_BUILD_TYPE=Debug -DTRESOLVIN_SANITIZE=ON -DTRESOLVIN_WERROR=ON

run_suite build
# ./run.sh's start decision and the packages it installs, and the installed
# tree and Debian package of build/.
tests/shell/run-starts.sh 50 || status=1
tests/shell/run-packages.sh || status=1
tests/shell/installed-tree.sh build || status=1
run_suite build-asan

if [[ $status -ne 0 ]]; then
  echo "test.sh: FAILED" >&2
  exit 1
fi
echo "test.sh: all tests passed"
