#!/usr/bin/env bash
# Runs the batch tool's commands over every sample series and keeps everything they
# produce (worksheets, cell lists, stdout, stderr, exit status) in one folder, so two
# builds can be compared byte for byte:
#
#   scripts/batch_outputs.sh build/orvalis-batch /tmp/before
#   ... change the code, rebuild ...
#   scripts/batch_outputs.sh build/orvalis-batch /tmp/after
#   diff -r /tmp/before /tmp/after
#
# Usage: batch_outputs.sh BATCH_TOOL OUT_DIR [DATA_DIR]
# DATA_DIR defaults to the repository's data/ folder. The runs use throw-away settings
# (a fresh configuration folder), so the user's stored settings do not enter.
set -euo pipefail

tool=$(realpath "${1:?batch tool}")
out=${2:?output folder}
here=$(cd "$(dirname "$0")/.." && pwd)
data=${3:-$here/data}
[ -d "$data" ] || { echo "no sample data in $data" >&2; exit 2; }

mkdir -p "$out"
out=$(realpath "$out")
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config HOME=$config

# Runs one command; its stdout, stderr and exit status go to NAME.out/.err/.rc.
step() {
    local name=$1
    shift
    local rc=0
    (cd "$out" && "$tool" "$@" >"$name.out" 2>"$name.err") || rc=$?
    echo "$rc" >"$out/$name.rc"
}

# The column the network learns from: the last column of the series' header line.
last_column() {
    head -1 "$1" | tr ',\t' '\n\n' | wc -l
}

step new new -o new.ows --cells new.cells
for f in "$data"/*.csv "$data"/*.txt; do
    [ -e "$f" ] || continue
    b=$(basename "$f")
    b=${b%.*}_${b##*.}
    col=$(last_column "$f")
    step "$b.import" import "$f" -o "$b.ows" --header --cells "$b.import.cells"
    step "$b.plain" import "$f" -o "$b.plain.ows" --row 3 --column 2 --cells "$b.plain.cells"
    step "$b.set" set "$b.ows" -o "$b.set.ows" --role "$col=Trg/In" --auto-sizing off \
        --cell "1,1=note" --cells "$b.set.cells"
    step "$b.autoconfig" autoconfig "$b.set.ows" -o "$b.auto.ows" --cells "$b.auto.cells"
    step "$b.train" train "$b.set.ows" -o "$b.train.ows" --cells "$b.train.cells"
    step "$b.evaluate" evaluate "$b.train.ows" -o "$b.eval.ows" --cells "$b.eval.cells"
    step "$b.run" run "$b.set.ows" -o "$b.run.ows" mode=extrapolate train evaluate \
        --cells "$b.run.cells"
    step "$b.run1" run "$b.set.ows" -o "$b.run1.ows" train continue evaluate clear autoconfig \
        mode=extrapolate mode=evaluate --two-pass off --extrapolation-len 3 \
        --cells "$b.run1.cells"
    step "$b.show" show "$b.eval.ows"
    step "$b.showtab" show "$b.run.ows" --tab --mode extrapolate
done
# A few refusals and usage errors, for their messages and exit status.
step usage frobnicate
step missing train does-not-exist.ows -o x.ows
step badopt show new.ows --extrapolation-len 30
