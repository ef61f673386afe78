#!/usr/bin/env bash
# Runs two builds of rivulet over the same calculation files and compares their batch
# output byte for byte: --report, --report --details, --report --json and --rating.
# Usage: scripts/compare_batch.sh OLD_RIVULET NEW_RIVULET [COUNT]   (default 4800 files)
# Exit status 0 when every output, message stream and exit status matched.
set -uo pipefail
old="$1" new="$2" count="${3:-4800}"
here="$(cd "$(dirname "$0")" && pwd)"
dir="$(mktemp -d /tmp/rivulet-compare.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
python3 "$here/gen_calc_files.py" "$dir/files" "$count"
# Neither build may see a defaults file of its own.
export XDG_CONFIG_HOME="$dir/config"
mkdir -p "$XDG_CONFIG_HOME"
fail=0
run() {  # run NAME PROGRAM ARGS...
  local name="$1" prog="$2"
  shift 2
  (cd "$dir/files" && "$prog" "$@" >"$dir/$name.out" 2>"$dir/$name.err"; echo $? >"$dir/$name.rc")
}
files=$(cd "$dir/files" && ls *.rvl)
for mode in report details json; do
  args=(--report)
  [ "$mode" = report ] || args+=("--$mode")
  # Chunks keep the command line short and let one sheet carry state from file to file.
  i=0
  for chunk in $(echo "$files" | xargs -n 400 | tr ' ' ',' ); do
    run "old-$mode-$i" "$old" "${args[@]}" ${chunk//,/ }
    run "new-$mode-$i" "$new" "${args[@]}" ${chunk//,/ }
    for ext in out err rc; do
      if ! cmp -s "$dir/old-$mode-$i.$ext" "$dir/new-$mode-$i.$ext"; then
        echo "DIFFER: --$mode chunk $i ($ext)"
        diff "$dir/old-$mode-$i.$ext" "$dir/new-$mode-$i.$ext" | head -20
        fail=1
      fi
    done
    i=$((i + 1))
  done
  echo "--$mode: $(cat "$dir"/old-$mode-*.out | wc -c) bytes out, $(cat "$dir"/old-$mode-*.err | wc -l) message lines compared"
done
rating=0
for f in $(echo "$files" | awk 'NR % 8 == 0'); do
  run old-rating "$old" --rating "$f" --rows 21
  run new-rating "$new" --rating "$f" --rows 21
  for ext in out err rc; do
    if ! cmp -s "$dir/old-rating.$ext" "$dir/new-rating.$ext"; then
      echo "DIFFER: --rating $f ($ext)"
      fail=1
    fi
  done
  rating=$((rating + 1))
done
echo "--rating: $rating files compared"
solved=$(grep -c 'Calculations Complete' "$dir"/old-report-*.out | awk -F: '{s += $2} END {print s}')
echo "$count files, $solved reports complete; $([ $fail = 0 ] && echo IDENTICAL || echo DIFFERENT)"
exit $fail
