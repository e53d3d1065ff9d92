#!/usr/bin/env bash
# Builds the settings file's libFuzzer target with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer into build-fuzz/ and runs it, starting from
# the committed seed corpus; new inputs go to build-fuzz/corpus. Arguments
# are passed to the fuzzer, e.g. `.ci/fuzz.sh -runs=1000000`. The fuzzer
# writes its files under TMPDIR (a memory file system is fastest).
set -euo pipefail
cd "$(dirname "$0")/.."
source .ci/setup.sh

tresolvin_install_packages
CXX=clang++ tresolvin_configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRESOLVIN_FUZZ=ON -DTRESOLVIN_SANITIZE=ON
ninja -C build-fuzz -j"$TRESOLVIN_JOBS"
mkdir -p build-fuzz/corpus
exec build-fuzz/tests/settings/tresolvin_settings_fuzz build-fuzz/corpus tests/settings/fuzz-corpus "$@"
