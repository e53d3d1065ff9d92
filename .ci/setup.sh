# Shared set-up of ./run.sh and ./test.sh: the Debian packages the program
# and the tests need, their installation, and the configuration of a build
# directory.
# Sourced, not run; expects to be in the repository root.

# Debian 12 packages needed to build and run the program: all that
# ./run.sh installs. qt6-base-dev pulls in the OpenGL and Vulkan headers its
# CMake package files look for (libgl-dev, libglx-dev, libopengl-dev,
# libvulkan-dev) as its own dependencies.
TRESOLVIN_RUN_PACKAGES=(
  cmake
  ninja-build
  g++
  qt6-base-dev
  libgif-dev
  libjpeg62-turbo-dev
  fonts-dejavu-core # the windows' font, DejaVu Sans; also the offscreen platform's
  qt6-translations-l10n # Qt's own texts in Russian (the buttons of message boxes)
)
# What the tests and the checks need besides (./test.sh, .ci/fuzz.sh).
TRESOLVIN_TEST_PACKAGES=(
  libgtest-dev
  googletest
  # checks of the installed tree and of the Debian package
  dpkg-dev # dpkg-shlibdeps, for the package's Depends
  fakeroot
  file
  desktop-file-utils
  appstream
  man-db
  groff-base
  lintian
  clang # with libclang-rt-14-dev: the settings file's fuzz target (.ci/fuzz.sh)
  libclang-rt-14-dev
)
TRESOLVIN_PACKAGES=("${TRESOLVIN_RUN_PACKAGES[@]}" "${TRESOLVIN_TEST_PACKAGES[@]}")

# Parallel build jobs; the default suits a small shared machine.
TRESOLVIN_JOBS="${TRESOLVIN_JOBS:-2}"

# tresolvin_install_packages [PACKAGES...]: installs those of PACKAGES (by
# default all of TRESOLVIN_PACKAGES) that are not installed yet, through sudo
# when not root. Does nothing (and needs no network) when all are there. One
# query for all packages and no pipe: ./run.sh runs this under pipefail
# before every start.
tresolvin_install_packages() {
  local wanted=("$@")
  [[ ${#wanted[@]} -gt 0 ]] || wanted=("${TRESOLVIN_PACKAGES[@]}")
  local -A installed=()
  local missing=() pkg state
  while read -r pkg state; do
    if [[ $state == installed ]]; then installed[$pkg]=1; fi
  done < <(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${wanted[@]}" 2>/dev/null || true)
  for pkg in "${wanted[@]}"; do
    [[ -n ${installed[$pkg]:-} ]] || missing+=("$pkg")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0

  echo "Installing missing Debian packages: ${missing[*]}"
  local sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "error: not root and sudo is not available; install these packages first: ${missing[*]}" >&2
      return 1
    fi
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# tresolvin_configure DIR [CMAKE OPTIONS...]: configures DIR with Ninja unless
# it is configured already (ninja re-runs CMake by itself when a
# CMakeLists.txt changes, so an unchanged tree costs nothing here).
tresolvin_configure() {
  local dir=$1
  shift
  if [[ ! -f "$dir/build.ninja" ]]; then
    cmake -S . -B "$dir" -G Ninja "$@"
  fi
}

# The main build directory, shared by ./run.sh and ./test.sh with the same
# options. A new one gets the tests only when GoogleTest is installed (it is
# not among the packages ./run.sh installs); `tresolvin_configure_main tests`
# (./test.sh) turns them on in one made without them, once.
tresolvin_configure_main() {
  local tests=OFF
  if [[ ${1:-} == tests || $(dpkg-query -W -f='${db:Status-Status}' libgtest-dev 2>/dev/null) == installed ]]; then
    tests=ON
  fi
  tresolvin_configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRESOLVIN_WERROR=ON -DTRESOLVIN_BUILD_TESTS=$tests
  if [[ ${1:-} == tests ]] && grep -qx 'TRESOLVIN_BUILD_TESTS:BOOL=OFF' build/CMakeCache.txt; then
    cmake -S . -B build -DTRESOLVIN_BUILD_TESTS=ON
  fi
}
