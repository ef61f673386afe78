#!/usr/bin/env bash
# Fails when the bash completion offers other options than the usage lines of
# `PROGRAM --help` give each mode, or offers the wrong files after an option.
# Usage: check_completion.sh PROGRAM COMPLETION_FILE
set -uo pipefail
program="$1"
completion="$2"
# shellcheck source=/dev/null
source "$completion" || exit 1
failures=0

# The words the completion offers for the command line given as words; the last is completed.
Offered() {
  COMP_WORDS=(rivulet "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _rivulet
  printf '%s\n' "${COMPREPLY[@]}" | sort -u | tr '\n' ' '
}

Expect() {
  local want="$1" got="$2" what="$3"
  if [[ "$got" != "$want" ]]; then
    echo "FAIL $what: offered [$got], --help gives [$want]"
    failures=$((failures + 1))
  fi
}

Sorted() { printf '%s\n' "$@" | sort -u | tr '\n' ' '; }

# Usage lines: "rivulet MODE ARGS [--opt ...] [--a | --b]"; options outside brackets start
# a command line, those inside brackets go with the line's first option.
usage="$("$program" --help | sed -n 's/^\(Usage:\)\? *rivulet //p')"
[[ -n "$usage" ]] || { echo "FAIL no usage lines in $program --help"; exit 1; }
firsts=()
while read -r line; do
  outside="$(sed 's/\[[^]]*\]//g' <<<"$line")"
  inside="$(grep -o '\[[^]]*\]' <<<"$line" | tr -d '[]')"
  read -r -a starts <<<"$(grep -oE '(^| )--?[a-z][a-z-]*' <<<"$outside" | tr '\n' ' ')"
  [[ ${#starts[@]} -eq 0 ]] && continue
  firsts+=("${starts[@]}")
  read -r -a options <<<"$(grep -oE '(^| )--?[a-z][a-z-]*' <<<"$inside" | tr '\n' ' ')"
  [[ ${#options[@]} -eq 0 ]] && continue
  Expect "$(Sorted "${options[@]}")" "$(Offered "${starts[0]}" x -)" "options after ${starts[0]}"
done <<<"$usage"
Expect "$(Sorted "${firsts[@]}")" "$(Offered -)" "first options"

# Files offered as arguments: each place takes only its own kind (and folders).
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
mkdir designs
touch a.rvl b.RVW c.csv d.pdf e.txt
while IFS='|' read -r want words; do
  read -r -a args <<<"$words"
  Expect "$want" "$(Offered "${args[@]}" "")" "files after: rivulet $words"
done <<'EOF'
a.rvl b.RVW designs |
a.rvl b.RVW designs |--report
a.rvl b.RVW designs |--report a.rvl
d.pdf designs |--report a.rvl --pdf
a.rvl designs |--rating
c.csv designs |--cases
c.csv designs |--cases c.csv -o
EOF

[[ $failures -eq 0 ]] && echo "completion follows $program --help"
exit $((failures > 0))
