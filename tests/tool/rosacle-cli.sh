#!/usr/bin/env bash
# Runs the built rosacle tool: exit statuses, one-line messages, and no file left behind
# by a failure. Usage: rosacle-cli.sh PATH-TO-ROSACLE
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0

expect() { # expect STATUS ARGS...: the status, and a single "rosacle: " line on failure
  local want=$1; shift
  "$tool" "$@" >"$dir/out" 2>"$dir/err"
  local got=$?
  if [ "$got" != "$want" ]; then echo "FAIL ($got, wanted $want): rosacle $*"; cat "$dir/err"; fail=1; return; fi
  if [ "$want" != 0 ]; then
    if [ "$(wc -l <"$dir/err")" != 1 ] || ! grep -q '^rosacle: ' "$dir/err"; then
      echo "FAIL (message): rosacle $*"; cat "$dir/err"; fail=1
    fi
  fi
}

expect 0 --help
grep -q 'render' "$dir/out" && grep -q 'sheet' "$dir/out" || { echo "FAIL: --help lists no commands"; fail=1; }
expect 0 render --help
for opt in --pattern --petals --size --phases --speed --background --gray --invert --pictures --frames --seed --output; do
  grep -q -- "$opt" "$dir/out" || { echo "FAIL: render --help lacks $opt"; fail=1; }
done
expect 0 sheet --help

expect 2
expect 2 paint -o "$dir/a.png"
expect 2 render --colour red -o "$dir/a.png"
expect 2 render --pattern 41 -o "$dir/a.png"
expect 2 render --petals 3 -o "$dir/a.png"
expect 2 render --size 2000x1000 -o "$dir/a.png"
expect 2 render --size 0x10 -o "$dir/a.png"
expect 2 render --phases 1,2 -o "$dir/a.png"
expect 2 render --frames 1.5 -o "$dir/a.png"
expect 2 render -o "$dir/a.tif"
expect 2 sheet --petals 20 -o "$dir/a.png"
[ -e "$dir/a.png" ] && { echo "FAIL: a refused command wrote a file"; fail=1; }

expect 1 render --size 16x12 -o "$dir/none/a.png"
# The target is a folder: the write fails, the folder stays and no temporary file is left.
mkdir "$dir/b.png"
expect 1 render --size 16x12 -o "$dir/b.png"
[ -d "$dir/b.png" ] || { echo "FAIL: the folder was replaced"; fail=1; }
ls "$dir" | grep -q '\.part$' && { echo "FAIL: a temporary file was left"; fail=1; }

expect 0 render --pattern 1 --size 64x48 --phases 1.5,2.5,3.5 -o "$dir/c.jpg"
head -c 3 "$dir/c.jpg" | od -An -tx1 | grep -q 'ff d8 ff' || { echo "FAIL: c.jpg is no JPEG"; fail=1; }
expect 0 sheet --cell 16x12 -o "$dir/d.ppm"
head -2 "$dir/d.ppm" | tr '\n' ' ' | grep -q '^P6 128 60 ' || { echo "FAIL: the sheet is not 128 x 60"; fail=1; }

# bench: the format of its lines only, never the times.
expect 0 bench --help
for opt in --size --petals --patterns --frames --threads --seed; do
  grep -q -- "$opt" "$dir/out" || { echo "FAIL: bench --help lacks $opt"; fail=1; }
done
for bad in "--patterns 0" "--patterns 5-3" "--patterns 1,,2" "--patterns 41" "--threads 0" "--frames 0" "--size 1x"; do
  expect 2 bench $bad
done
expect 0 bench --size 40x30 --petals 5 --patterns 7,2-3 --frames 2 --threads 2
num='[0-9]+\.[0-9]'
want="pattern 2: init $num ms, step $num ms, plot $num ms per frame
pattern 3: init $num ms, step $num ms, plot $num ms per frame
pattern 7: init $num ms, step $num ms, plot $num ms per frame
all: step\+plot median $num ms, max $num ms \(pattern (2|3|7)\); init median $num ms, max $num ms \(pattern (2|3|7)\)"
[ "$(wc -l <"$dir/out")" = 4 ] && paste -d '\n' <(echo "$want") "$dir/out" | awk 'NR % 2 { re = "^" $0 "$"; next } $0 !~ re { bad = 1 } END { exit bad }' ||
  { echo "FAIL: bench output"; cat "$dir/out"; fail=1; }

[ $fail = 0 ] && echo "rosacle command line: all checks passed"
exit $fail
