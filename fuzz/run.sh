#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs each for a bounded time,
# starting from the seed inputs in fuzz/corpus/<target>/.
# Usage: fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
#   JOBS=2 fuzz/run.sh 600     runs two targets at a time
# New inputs the fuzzer finds go to build-fuzz/corpus/<target>/ (the seeds stay as they
# are); crashes to build-fuzz/artifacts/<target>/; each run's output to build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
jobs="${JOBS:-1}"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRIVULET_FUZZ=ON -DRIVULET_BUILD_GUI=OFF -DRIVULET_BUILD_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null

if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < <(cd fuzz && ls ./*_fuzz.cpp | sed 's|^\./||; s|\.cpp$||')
fi

run_one() {
  local t="$1" seconds="$2"
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/artifacts/$t" build-fuzz/logs
  local seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  # halt_on_error makes undefined behaviour a finding instead of a printed warning.
  if UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "build-fuzz/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$t/" "build-fuzz/corpus/$t" "${seeds[@]}" \
    >"build-fuzz/logs/$t.log" 2>&1; then
    status=ok
  else
    status="FAILED (see build-fuzz/logs/$t.log and build-fuzz/artifacts/$t/)"
  fi
  local done_line
  done_line="$(grep -E '^#[0-9]+[[:space:]]+DONE' "build-fuzz/logs/$t.log" | tail -1 || true)"
  echo "$t: $status"
  echo "  ${done_line:-no DONE line}"
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
    "build-fuzz/logs/$t.log" | sed 's/^/  /' || true
}
export -f run_one

printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$1" "$2"' _ {} "$seconds"
logs=()
for t in "${targets[@]}"; do logs+=("build-fuzz/logs/$t.log"); done
! grep -l -E 'ERROR: (libFuzzer|AddressSanitizer|UndefinedBehaviorSanitizer)|invariant broken' \
  "${logs[@]}"
