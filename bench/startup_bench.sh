#!/usr/bin/env bash
# Start-up time to the first shown window and resident memory once idle, for Rivulet and
# for bench/minimal_window (a plain Qt Widgets window with a dozen fields), side by side in
# one X server. Rivulet's first window is its start-up (disclaimer) window; pressing Return
# there opens the calculation window, which is measured as well.
# Usage: bench/startup_bench.sh [RUNS]     (default 15; needs xvfb-run unless DISPLAY is set)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}" libbenchmark-dev xvfb xauth libx11-dev
runs="${1:-15}"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DRIVULET_BUILD_BENCH=ON \
  -DRIVULET_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target rivulet minimal_window >/dev/null
cc -O2 -Wall -Wextra -o build-bench/map_watch bench/map_watch.c -lX11

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
# Alternate the two programs so that a slow moment of the machine hits both alike; the
# first run of each only warms the file cache.
for ((i = 0; i <= runs; ++i)); do
  for p in rivulet minimal_window; do
    extra=()
    [ "$p" = rivulet ] && extra=(--enter)
    if result="$(build-bench/map_watch --idle 1.5 "${extra[@]}" -- "build-bench/$p" 2>/dev/null)"; then
      [ "$i" -gt 0 ] && echo "$result" | sed "s/^/$p /" >>"$out"
    fi
  done
done

median() {
  grep "^$1 $2 " "$out" | awk '{print $3}' | sort -n |
    awk '{v[NR] = $1} END {if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2];
                           else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
r_ms=$(median rivulet first_window_ms)
m_ms=$(median minimal_window first_window_ms)
r_cpu=$(median rivulet first_window_cpu_ms)
m_cpu=$(median minimal_window first_window_cpu_ms)
r_kb=$(median rivulet rss_kb)
m_kb=$(median minimal_window rss_kb)
printf 'medians of %d runs each\n' "$runs"
printf '%-40s %12s %12s %12s\n' program first_window its_CPU_time idle_RSS
printf '%-40s %9s ms %9s ms %9s kB\n' "minimal_window" "$m_ms" "$m_cpu" "$m_kb"
printf '%-40s %9s ms %9s ms %9s kB\n' "rivulet (start-up window)" "$r_ms" "$r_cpu" "$r_kb"
printf '%-40s %9s ms %12s %9s kB\n' "rivulet (calculation window after OK)" \
  "$(median rivulet second_window_ms)" "" "$(median rivulet rss2_kb)"
awk -v a="$r_ms" -v b="$m_ms" -v e="$r_cpu" -v f="$m_cpu" -v c="$r_kb" -v d="$m_kb" \
  -v g="$(median rivulet rss2_kb)" \
  'BEGIN {printf "rivulet / minimal: start-up %.2f (CPU time %.2f), idle memory %.2f", a / b,
          e / f, c / d; printf " (%.2f with the calculation window)\n", g / d}'
