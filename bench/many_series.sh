#!/bin/sh
# Many-series benchmark: trains 64 worksheets (eight sample series, eight copies each)
# with `orvalis-batch train ... --out-dir` once with -j 1 and once with -j 2, and prints
# both wall times and their ratio.
#   bench/many_series.sh [path/to/orvalis-batch]
set -eu
tool=$(realpath "${1:-build/orvalis-batch}")
data=$(realpath "$(dirname "$0")/../data")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Throw-away settings: the user's own are never read or written.
export XDG_CONFIG_HOME="$work/config"
cd "$work"

prepare() { # csv column name
    "$tool" import "$data/$1" -o imported.ows --header >/dev/null 2>&1
    "$tool" set imported.ows -o "$3.ows" --role "$2=Trg/In" >/dev/null 2>&1
}
prepare nile_full.csv 2 nile
prepare sunspot_month_120.csv 3 sunspot
prepare airpassengers_full.csv 3 air
prepare eustockmarkets_120.csv 2 dax
prepare eustockmarkets_120.csv 3 smi
prepare eustockmarkets_120.csv 4 cac
prepare eustockmarkets_120.csv 5 ftse
prepare sunspot_month_120.csv 2 month
mkdir in
for copy in 1 2 3 4 5 6 7 8; do
    for s in nile sunspot air dax smi cac ftse month; do cp "$s.ows" "in/$s$copy.ows"; done
done

run() { # jobs
    start=$(date +%s.%N)
    "$tool" train in/*.ows --out-dir "out$1" -j "$1" >/dev/null 2>"err$1" || {
        cat "err$1"; exit 1; }
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}
one=$(run 1)
two=$(run 2)
cmp -s out1/nile1.ows out2/nile1.ows || { echo "-j 1 and -j 2 differ"; exit 1; }
echo "64 worksheets: -j 1 ${one} s, -j 2 ${two} s, speed-up $(echo "scale=2; $one / $two" | bc)x"
