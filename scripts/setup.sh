# Shared set-up for run.sh and test.sh: installs the Debian packages the build needs when
# something is missing. Sourced, not run.
# Usage: rivulet_require_packages pkg...

rivulet_require_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
      || { echo "apt-get install failed" >&2; return 1; }
  else
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    return 1
  fi
}

RIVULET_RUN_PACKAGES=(g++ cmake make qt6-base-dev qt6-svg-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core
  nlohmann-json3-dev libcsv-dev)
# clang with its runtime (libFuzzer, FuzzedDataProvider.h): the fuzz targets and their replays.
RIVULET_TEST_PACKAGES=(libgtest-dev ninja-build ccache clang-format locales poppler-utils desktop-file-utils appstream
  clang libclang-rt-dev)
# What packaging/build-deb.sh needs beyond the build: CPack's shlibdeps and the checkers.
RIVULET_PACKAGE_PACKAGES=(dpkg-dev file lintian desktop-file-utils appstream)

# Ninja and a compiler cache when they are there: a rebuild, or a build in a second clone,
# compiles only what changed. The cache takes paths relative to the clone, so two clones
# share it.
rivulet_build_environment() {
  export CCACHE_BASEDIR="$PWD"
  export CCACHE_SLOPPINESS="pch_defines,time_macros,include_file_mtime,include_file_ctime"
  export CCACHE_NOHASHDIR=1
}

# Usage: rivulet_configure BUILD_DIR cmake-args...
# A build folder made by another generator is made anew, since CMake cannot switch it.
rivulet_configure() {
  local dir=$1
  shift
  local generator="Unix Makefiles"
  command -v ninja >/dev/null && generator="Ninja"
  if [ -f "$dir/CMakeCache.txt" ] && ! grep -q "^CMAKE_GENERATOR:INTERNAL=$generator\$" "$dir/CMakeCache.txt"; then
    rm -rf "$dir"
  fi
  cmake -S . -B "$dir" -G "$generator" "$@" >/dev/null
}
