#!/usr/bin/env bash
# Logs at three sizes: the workbench with a log of 1,100 / 11,000 / 110,000 rows (six minutes,
# an hour, ten hours), and the pulls of a season of 2 / 20 / 200 one-hour logs through
# vorn4-cli and through the pull comparison window. Each figure is printed with its size, its
# goal and its slope: the exponent k of figure ~ size^k between two sizes (1 grows as the
# data does, below 1 slower). The rides are made here with a seed. Nothing is asserted.
# Usage: bench/scale-logs.sh [--no-build] [--seed N]     (BUILD names the build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
B=${BUILD:-build}
seed=1
build=1
while [ $# -gt 0 ]; do
    case $1 in
        --no-build) build=; shift ;;
        --seed) seed=$2; shift 2 ;;
        *) echo "usage: $0 [--no-build] [--seed N]" >&2; exit 2 ;;
    esac
done
[ -z "$build" ] || cmake --build "$B" --target vorn4-scale-logs vorn4-cli >/dev/null
S=$B/bench/vorn4-scale-logs
CLI=$B/cli/vorn4-cli
[ -x "$CLI" ] || CLI=$B/vorn4-cli
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VORN4_CONFIG_DIR=$work/config
mkdir -p "$VORN4_CONFIG_DIR"
TIMEFORMAT='%R %U %S'

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }
# slope A B SIZEA SIZEB: the exponent between two sizes.
slope() {
    awk -v a="$1" -v b="$2" -v s="$3" -v t="$4" \
        'BEGIN { if (a <= 0 || b <= 0) print "–"; else printf "%.2f", log(b / a) / log(t / s) }'
}
# row NAME GOAL UNIT SIZES... -- VALUES...: one figure at every size with the slopes between.
row() {
    local name=$1 goal=$2 unit=$3; shift 3
    local -a sizes=() values=()
    while [ "$1" != -- ]; do sizes+=("$1"); shift; done
    shift
    values=("$@")
    local line
    line=$(printf '%-34s' "$name")
    for i in "${!sizes[@]}"; do line+=$(printf '  %8s: %8s %s' "${sizes[$i]}" "${values[$i]}" "$unit"); done
    line+="   slope $(slope "${values[0]}" "${values[1]}" "${sizes[0]}" "${sizes[1]}")"
    line+=" / $(slope "${values[1]}" "${values[2]}" "${sizes[1]}" "${sizes[2]}")"
    echo "$line   (goal at ${sizes[2]}: $goal)"
}
pick() { awk -v k="$1" '$1 == k { print $3 }' "$2"; }

# ---- the workbench: open and draw one log, then four overlaid ----
wb_sizes=(1100 11000 110000)
for rows in "${wb_sizes[@]}"; do
    mkdir -p "$work/wb$rows"
    "$S" rides "$work/wb$rows" 4 "$rows" "$seed"
    "$S" workbench "$rows" "$work/wb$rows"/ride*.csv >"$work/wb$rows.out"
done
echo "Log workbench, rows per log (four logs overlaid for the redraws; 1280x800 window):"
wb() {   # key goal unit
    local -a v=()
    for rows in "${wb_sizes[@]}"; do v+=("$(pick "$1" "$work/wb$rows.out")"); done
    row "$1" "$2" "$3" "${wb_sizes[@]}" -- "${v[@]}"
}
# Each time twice: the wall clock, and the CPU time the program spent (the machine is shared).
for key in open_ms redraw_pan_ms_whole redraw_zoom_ms_whole redraw_pan_ms_tenth redraw_zoom_ms_tenth; do
    goal="< 16 ms"
    [ "$key" != open_ms ] || goal="< 300 ms"
    wb "$key" "$goal" ms
    wb "${key}_cpu" "$goal wall" ms
done
wb rss_one_mb "< 150 MB" MB
wb rss_four_mb "< 150 MB for one log" MB

# ---- a season of one-hour logs: vorn4-cli pulls --average and the comparison window ----
season_sizes=(2 20 200)
for n in "${season_sizes[@]}"; do
    mkdir -p "$work/s$n"
    "$S" rides "$work/s$n" "$n" 10909 "$seed"
    : >"$work/cli$n"
    for _ in 1 2 3; do
        { time "$CLI" pulls --average "$work/s$n"/ride*.csv >"$work/cli$n.out"; } 2>>"$work/cli$n"
    done
    : >"$work/cmp$n" ; : >"$work/cmpcpu$n"
    for _ in 1 2 3; do
        "$S" compare "$work/s$n"/ride*.csv >"$work/cmp$n.out"
        pick compare_ms "$work/cmp$n.out" >>"$work/cmp$n"
        pick compare_ms_cpu "$work/cmp$n.out" >>"$work/cmpcpu$n"
    done
done
echo "A season of one-hour logs (10,909 rows each), logs:"
cli=() clicpu=() cmp=() cmpcpu=() found=()
for n in "${season_sizes[@]}"; do
    cli+=("$(awk '{ print int($1 * 1000) }' "$work/cli$n" | median)")
    clicpu+=("$(awk '{ print int(($2 + $3) * 1000) }' "$work/cli$n" | median)")
    cmp+=("$(median <"$work/cmp$n")")
    cmpcpu+=("$(median <"$work/cmpcpu$n")")
    found+=("$(sed -n 's/^Pulls found: //p' "$work/cli$n.out")")
done
row "vorn4-cli pulls --average" "< 2000 ms" ms "${season_sizes[@]}" -- "${cli[@]}"
row "vorn4-cli pulls --average, CPU" "both cores together" ms "${season_sizes[@]}" -- "${clicpu[@]}"
row "Compare pulls window, averaged" "< 3000 ms" ms "${season_sizes[@]}" -- "${cmp[@]}"
row "Compare pulls window, CPU" "one core" ms "${season_sizes[@]}" -- "${cmpcpu[@]}"
row "pulls found" "about 5,000" "" "${season_sizes[@]}" -- "${found[@]}"
