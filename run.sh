#!/usr/bin/env bash
# Builds Rivulet (Release, in build/) when something changed, then starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}"
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DRIVULET_BUILD_TESTS=OFF >/dev/null
fi
cmake --build build -j"$(nproc)" --target rivulet >/dev/null
exec build/rivulet "$@"
