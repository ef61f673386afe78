#!/usr/bin/env bash
# Builds the Debian package from a clean Release build and prints the path of the .deb.
# Usage: packaging/build-deb.sh [BUILD_DIR]   (default: build-deb, emptied first)
# Checks the result with lintian, desktop-file-validate and appstreamcli when they are there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}" "${RIVULET_PACKAGE_PACKAGES[@]}"

build="${1:-build-deb}"
rm -rf "$build"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debian's hardening flags (fortified string functions, stack protector, read-only
# relocations bound at start); the Release build's own optimisation still comes after them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
# /usr prefix: the bin link, the libexec folder and the help page land where Debian puts them.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DRIVULET_BUILD_TESTS=OFF "${launcher[@]}" >&2
cmake --build "$build" -j"$(nproc)" >&2
(cd "$build" && cpack -G DEB >&2)
deb="$(ls "$build"/rivulet_*.deb)"

# Every file a desktop, man, the shell and software centres look for is in the package.
contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
missing=0
for f in usr/bin/rivulet usr/libexec/rivulet/rivulet usr/libexec/rivulet/RVHELP/RVHELP.HTM \
  usr/share/applications/rivulet.desktop usr/share/mime/packages/rivulet.xml \
  usr/share/icons/hicolor/scalable/apps/rivulet.svg \
  usr/share/icons/hicolor/48x48/apps/rivulet.png usr/share/icons/hicolor/128x128/apps/rivulet.png \
  usr/share/man/man1/rivulet.1.gz usr/share/bash-completion/completions/rivulet \
  usr/share/metainfo/example.tarn.Rivulet.metainfo.xml \
  usr/share/doc/rivulet/copyright usr/share/doc/rivulet/changelog.gz; do
  grep -qx "\./$f" <<<"$contents" || { echo "$deb lacks $f" >&2; missing=1; }
done
[ "$missing" -eq 0 ] || exit 1

desktop-file-validate resources/rivulet.desktop >&2
appstreamcli validate --no-net packaging/*.metainfo.xml >&2
# Errors fail the build; warnings and notes are shown.
lintian --fail-on error "$deb" >&2

echo "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
