#!/usr/bin/env bash
# Whole-process time of the batch mode on a folder of generated calculation files: every
# section, both modes and every kind of unknown, with values that vary from file to file.
# Usage: bench/batch_bench.sh [FILES]        (default 1000)
#   RIVULET=path/to/rivulet  uses that program instead of building build-bench/rivulet
#   KEEP=1                   keeps the generated folder (its name is printed)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
rivulet_require_packages "${RIVULET_RUN_PACKAGES[@]}" libbenchmark-dev hyperfine time
count="${1:-1000}"
if [ -z "${RIVULET:-}" ]; then
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DRIVULET_BUILD_BENCH=ON \
    -DRIVULET_BUILD_TESTS=OFF >/dev/null
  cmake --build build-bench -j"$(nproc)" --target rivulet >/dev/null
  RIVULET=build-bench/rivulet
fi

dir="$(mktemp -d /tmp/rivulet-batch.XXXXXX)"
[ -n "${KEEP:-}" ] || trap 'rm -rf "$dir"' EXIT

# One template per case; @ is replaced by a value that grows with the file number.
# Fields after the mode: flag, text, unit for row 1, depth, diameter/width, side slope,
# slope; then the n flag and text; then the five result units.
templates=(
  "0|Discharge|False|@|2|True||0|False|450|0|False||2|False|5|0|False|0.013|0|2|0|0|2"
  "0|Velocity|True||0|False|0.2|2|False|0.6|2|False||2|False|@|0|False|0.013|0|2|2|0|2"
  "0|Velocity|False|0.@|0|True||2|False|1|2|False||2|False|1|0|False|0.013|0|2|2|0|2"
  "1|Discharge|True||0|False|0.@|2|False|2|2|False||2|False|1|0|False|0.015|0|2|2|0|2"
  "1|Discharge|False|@|2|False|0.5|2|True||2|False||2|False|2|0|False|0.015|0|2|2|0|2"
  "2|Discharge|True||2|False|0.@|2|False||2|False|3|0|False|1|1|False|0.022|0|2|2|0|2"
  "2|Velocity|False|0.@|0|False|1|2|False||2|True||0|False|2|0|False|0.022|0|2|2|0|2"
  "3|Discharge|False|0.@|0|True||2|False|0.6|2|False|4|0|False|5|0|False|0.035|0|2|0|0|2"
  "3|Velocity|False|1.2@|0|False|1|2|False|1|2|True||2|False|1|0|False|0.013|0|2|0|0|2"
  "3|Velocity|False|0.8|0|False|0.5|2|False|1|2|False|2|0|False|1|0|True||0|2|0|0|2"
  "4|Discharge|False|@|2|True||0|False|0.3|2|False|50|0|False|1|1|False|0.016|0|2|0|0|2"
  "4|Velocity|False|0.@|0|False|0.1|2|False|0.3|2|False|50|0|True||1|False|0.016|0|2|0|0|2"
)
for ((i = 0; i < count; ++i)); do
  t="${templates[i % ${#templates[@]}]}"
  t="${t//@/$((i / ${#templates[@]} + 10))}"
  IFS='|' read -r -a f <<<"$t"
  {
    printf 'Rivulet\r\nVersion 2.0.1\r\n %s \r\n%s\r\n' "${f[0]}" "${f[1]}"
    for ((k = 2; k < ${#f[@]}; ++k)); do
      # Positions are numbers (" 2 "); flags and texts stand as they are.
      case $k in 4 | 7 | 10 | 13 | 16 | 19 | 20 | 21 | 22 | 23) printf ' %s \r\n' "${f[k]}" ;;
      *) printf '%s\r\n' "${f[k]}" ;;
      esac
    done
  } >"$dir/calc$(printf %05d "$i").rvl"
done

echo "== $count files in $dir, $RIVULET --report (one core: taskset -c 0)"
set +e
taskset -c 0 "$RIVULET" --report "$dir"/*.rvl >"$dir/out.txt" 2>"$dir/err.txt"
status=$?
set -e
echo "exit status $status; $(grep -c 'Calculations Complete' "$dir/out.txt" || true) reports complete," \
  "$(wc -l <"$dir/err.txt") message lines"
# The exit status says whether every file solved; the timing runs ignore it.
{ /usr/bin/time -v taskset -c 0 "$RIVULET" --report "$dir"/*.rvl 2>&1 >/dev/null || true; } |
  grep -E 'Elapsed|Maximum resident|User time|System time'
if command -v hyperfine >/dev/null; then
  files=("$dir"/*.rvl)
  # The same with one file shows what start-up alone costs.
  hyperfine -N -i --warmup 3 --runs 30 --output=null "taskset -c 0 $RIVULET --report ${files[*]}" \
    "taskset -c 0 $RIVULET --report ${files[0]}" |
    sed -E "s|( $dir/calc[0-9]+\.rvl){2,}| <$count files>|; s|$dir/||"
fi
