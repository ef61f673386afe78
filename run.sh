#!/usr/bin/env bash
# Builds Rivulet (Release, in build/) when something changed, then starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}"

# Quiet when all is well; the whole output when a step fails.
quietly() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "run.sh: '$*' failed" >&2
    exit 1
  fi
  rm -f "$log"
}

rivulet_build_environment
if [ ! -f build/CMakeCache.txt ]; then
  quietly rivulet_configure build -DCMAKE_BUILD_TYPE=Release -DRIVULET_BUILD_TESTS=OFF
fi
quietly cmake --build build -j"$(nproc)" --target rivulet
exec build/rivulet "$@"
