#!/usr/bin/env bash
# Prints the performance figures of the program, each a median over repeated runs, with
# the comparison measured in the same run and the goal beside it. Nothing here is asserted.
# Usage: bench/run.sh [rounds] [--reference BUILD]    (builds into build/ first)
# How the archive and the logs grow, at three sizes each up to a hundred times these: bench/scale.sh.
# --reference names the build folder of another commit (for example the last one before the
# features were added); its start-up probe is measured in the same rounds, beside ours.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=7
reference=
while [ $# -gt 0 ]; do
    case $1 in
        --reference) reference=$(realpath "$2"); shift 2 ;;
        *) rounds=$1; shift ;;
    esac
done
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vorn4 vorn4-sim vorn4-startup-probe vorn4-edit-latency vorn4-transfer vorn4-datalog vorn4-cli vorn4-map-tools vorn4-port-check vorn4-pulls >/dev/null
B=build/bench
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
work=$(mktemp -d)
trap 'rm -rf "$work"; kill $(jobs -p) 2>/dev/null || true' EXIT
export VORN4_CONFIG_DIR=$work/config
mkdir -p "$VORN4_CONFIG_DIR"

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now_us() { local t=$EPOCHREALTIME; echo "${t/./}"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Start-up and memory: exec to first expose, and resident set size, real window vs bare one.
: >"$work/real" ; : >"$work/bare" ; : >"$work/refreal" ; : >"$work/refbare"
probe() {   # $1 = probe, $2 = kind, $3 = file the time and size are added to
    local t0; t0=$(now_us)
    read -r _ shown _ rss < <("$1" "$2" 2>/dev/null)
    echo "$(( shown - t0 )) $rss" >>"$3"
}
# Three times the rounds: a start takes a third of a second, and its spread is wide.
for ((i = 0; i < 3 * rounds; i++)); do
    # Which build starts first takes turns, so what one run leaves behind (the real window
    # writes its settings on closing) does not always fall on the same build's next start.
    for kind in bare real; do
        if [ -n "$reference" ] && (( i % 2 )); then
            probe "$reference/bench/vorn4-startup-probe" "$kind" "$work/ref$kind"
            probe "$B/vorn4-startup-probe" "$kind" "$work/$kind"
        else
            probe "$B/vorn4-startup-probe" "$kind" "$work/$kind"
            [ -z "$reference" ] || probe "$reference/bench/vorn4-startup-probe" "$kind" "$work/ref$kind"
        fi
    done
done
# The machine's pace drifts between rounds more than the two windows differ, so the ratio
# is also taken within each round (real over bare of the same round), median over rounds.
round_ratio() { paste -d' ' "$work/$1real" "$work/$1bare" | awk '{ print $1 / $3 }' | median; }
start_real=$(cut -d' ' -f1 "$work/real" | median); start_bare=$(cut -d' ' -f1 "$work/bare" | median)
rss_real=$(cut -d' ' -f2 "$work/real" | median); rss_bare=$(cut -d' ' -f2 "$work/bare" | median)

# Idle cost: CPU time of the real program over 20 s, with a unit answering and with none.
cpu_of() {   # $1 = seconds, rest = sim options
    local secs=$1; shift
    build/sim/vorn4-sim --link "$work/unit" "$@" >"$work/sim.out" 2>/dev/null &
    local sim=$!
    for _ in $(seq 50); do [ -e "$work/unit" ] && break; sleep 0.1; done
    printf '[PORTS]\r\nCOM1=%s\r\n[FORM_HLAV]\r\nComPort=1\r\n' "$work/unit" >"$VORN4_CONFIG_DIR/vorn4.ini"
    build/vorn4 >/dev/null 2>&1 &
    local app=$!
    sleep 2
    local hz; hz=$(getconf CLK_TCK)
    local a; a=$(awk '{ print $14 + $15 }' "/proc/$app/stat")
    sleep "$secs"
    local b; b=$(awk '{ print $14 + $15 }' "/proc/$app/stat")
    kill -TERM "$app"; wait "$app" || true
    kill -TERM "$sim"; wait "$sim" || true
    awk -v d=$((b - a)) -v hz="$hz" -v s="$secs" 'BEGIN { printf "%.2f", 100 * d / hz / s }'
}
idle_connected=$(cpu_of 20)
idle_silent=$(cpu_of 20 --silent)
# The unit hangs up after three requests and does not come back: the program looks for
# its device once a second.
idle_reconnect=$(cpu_of 20 --hangup-after 3)

# Edit latency and language switch on the real window.
read -r _ after_edit < <("$B/vorn4-edit-latency" 2>/dev/null | grep after_edit)
read -r _ language < <("$B/vorn4-edit-latency" 2>/dev/null | grep language_switch)
read -r _ undo_redo < <("$B/vorn4-edit-latency" 2>/dev/null | grep undo_redo)
latency=$("$B/vorn4-edit-latency" 2>/dev/null)
restore_point=$(awk '$1 == "restore_point_ms" { print $2 }' <<<"$latency")
restore_point_command=$(awk '$1 == "restore_point_command_ms" { print $2 }' <<<"$latency")

# Transfer: Program plus Verify against the simulated unit.
transfer=$("$B/vorn4-transfer" "$rounds" 2>/dev/null)
transfer_ms=$(awk '/transfer_ms/ { print $2 }' <<<"$transfer")
transfer_ticks=$(awk '/transfer_ticks/ { print $2 }' <<<"$transfer")
# Datalog: recording cost per reply, loading a one-hour log, CPU of a 16x replay.
datalog=$("$B/vorn4-datalog" "$rounds" 2>/dev/null)
dl() { awk -v k="$1" '$1 == k { print $2 }' <<<"$datalog"; }
# Pull detection over a one-hour log.
pulls=$("$B/vorn4-pulls" "$rounds" 2>/dev/null)
pull_ms=$(awk '$1 == "pull_detection_ms" { print $2 }' <<<"$pulls")
pull_cpu_ms=$(awk '$1 == "pull_detection_cpu_ms" { print $2 }' <<<"$pulls")
# vorn4-cli: start to exit of --version; ticks of the read-first part and of Program plus
# Verify in `program` against the simulated unit (from its --json figures).
CLI=build/cli/vorn4-cli
: >"$work/cli_version"
for ((i = 0; i < rounds; i++)); do
    t0=$(now_us); "$CLI" --version >/dev/null; t1=$(now_us)
    echo $(( t1 - t0 )) >>"$work/cli_version"
done
cli_version=$(median <"$work/cli_version")
build/sim/vorn4-sim --link "$work/cliunit" >/dev/null 2>&1 &
cli_sim=$!
for _ in $(seq 50); do [ -e "$work/cliunit" ] && break; sleep 0.1; done
"$CLI" read --port "$work/cliunit" "$work/tune.ign" >/dev/null
: >"$work/cli_read"; : >"$work/cli_program"
for ((i = 0; i < rounds; i++)); do
    json=$("$CLI" program --json --port "$work/cliunit" "$work/tune.ign")
    sed -n 's/.*"read_ticks": \([0-9]*\).*/\1/p' <<<"$json" >>"$work/cli_read"
    sed -n 's/.*"program_ticks": \([0-9]*\).*/\1/p' <<<"$json" >>"$work/cli_program"
done
kill -TERM "$cli_sim"; wait "$cli_sim" || true
cli_read=$(median <"$work/cli_read"); cli_program=$(median <"$work/cli_program")

floor_ms=$(awk 'BEGIN { printf "%.1f", 10 * 102 * 10 / 57600 * 1000 }')

printf '%-34s %14s %14s %10s   %s\n' "figure (median of $rounds)" "vorn4" "baseline" "ratio" "goal"
printf '%-34s %14s %14s %10s   %s\n' "start-up to first shown [ms]" \
    "$(awk -v v="$start_real" 'BEGIN{printf "%.1f", v/1000}')" \
    "$(awk -v v="$start_bare" 'BEGIN{printf "%.1f", v/1000}')" "$(ratio "$start_real" "$start_bare")" "ratio <= 2.0 (start-up rows: 3x the rounds)"
printf '%-34s %14s %14s %10s   %s\n' "resident memory after start [kB]" "$rss_real" "$rss_bare" \
    "$(ratio "$rss_real" "$rss_bare")" "ratio <= 1.4"
printf '%-34s %14s %14s %10s   %s\n' "start-up ratio within a round" "-" "-" \
    "$(awk -v v="$(round_ratio "")" 'BEGIN{printf "%.2f", v}')" "median over rounds"
if [ -n "$reference" ]; then
    ref_start_real=$(cut -d' ' -f1 "$work/refreal" | median); ref_start_bare=$(cut -d' ' -f1 "$work/refbare" | median)
    ref_rss_real=$(cut -d' ' -f2 "$work/refreal" | median); ref_rss_bare=$(cut -d' ' -f2 "$work/refbare" | median)
    printf '%-34s %14s %14s %10s   %s\n' "reference start-up [ms]" \
        "$(awk -v v="$ref_start_real" 'BEGIN{printf "%.1f", v/1000}')" \
        "$(awk -v v="$ref_start_bare" 'BEGIN{printf "%.1f", v/1000}')" "$(ratio "$ref_start_real" "$ref_start_bare")" \
        "ours no worse than this ratio"
    printf '%-34s %14s %14s %10s   %s\n' "reference resident memory [kB]" "$ref_rss_real" "$ref_rss_bare" \
        "$(ratio "$ref_rss_real" "$ref_rss_bare")" "ours no worse than this ratio"
    printf '%-34s %14s %14s %10s   %s\n' "reference ratio within a round" "-" "-" \
        "$(awk -v v="$(round_ratio ref)" 'BEGIN{printf "%.2f", v}')" "ours no worse than this ratio"
fi
printf '%-34s %14s %14s %10s   %s\n' "idle CPU, unit answering [%]" "$idle_connected" "-" "-" "< 1 % of one core"
printf '%-34s %14s %14s %10s   %s\n' "idle CPU, no unit answering [%]" "$idle_silent" "-" "-" "< 1 % of one core"
printf '%-34s %14s %14s %10s   %s\n' "idle CPU, waiting to reconnect [%]" "$idle_reconnect" "-" "-" "< 0.1 % of one core"
printf '%-34s %14s %14s %10s   %s\n' "one after-edit round [ms]" "$after_edit" "-" "-" "< 2 ms"
printf '%-34s %14s %14s %10s   %s\n' "one language switch [ms]" "$language" "-" "-" "< 30 ms"
printf '%-34s %14s %14s %10s   %s\n' "undo or redo of one step [ms]" "$undo_redo" "-" "-" "< 1 ms"
printf '%-34s %14s %14s %10s   %s\n' "restore point, window thread [ms]" "$restore_point_command" "-" "-" \
    "< 5 ms, the file work off the tick"
printf '%-34s %14s %14s %10s   %s\n' "restore point, worker write [ms]" "$restore_point" "-" "-" "(off the tick)"
printf '%-34s %14s %14s %10s   %s\n' "Program + Verify [ms]" "$transfer_ms" "$floor_ms" \
    "$(ratio "$transfer_ms" "$floor_ms")" "wire floor of 10 frames"
printf '%-34s %14s %14s %10s   %s\n' "Program + Verify [timer ticks]" "$transfer_ticks" "-" "-" \
    "1..4 to the first frame + 1 per reply"
printf '%-34s %14s %14s %10s   %s\n' "recording, added per reply [ms]" "$(dl recording_added_ms)" "-" "-" "< 0.1 ms"
printf '%-34s %14s %14s %10s   %s\n' "reading an 11,000-row log [ms]" "$(dl load_11000_rows_ms)" "-" "-" "< 200 ms"
printf '%-34s %14s %14s %10s   %s\n' "replay of that log started [ms]" "$(dl replay_start_11000_rows_ms)" "-" "-" "< 200 ms"
printf '%-34s %14s %14s %10s   %s\n' "pulls in an 11,000-row log [ms]" "$pull_ms" "-" "-" "< 20 ms"
printf '%-34s %14s %14s %10s   %s\n' "the same, CPU time [ms]" "$pull_cpu_ms" "-" "-" "< 20 ms"
printf '%-34s %14s %14s %10s   %s\n' "16x replay CPU [%]" "$(dl replay_16x_cpu_percent)" "-" "-" "< 5 % of one core"
printf '%-34s %14s %14s %10s   %s\n' "16x replay, time in cell [%]" "$(dl replay_16x_time_in_cell_cpu_percent)" "-" "-" \
    "< 5 % of one core"
printf '%-34s %14s %14s %10s   %s\n' "vorn4-cli --version [ms]" \
    "$(awk -v v="$cli_version" 'BEGIN{printf "%.1f", v/1000}')" "-" "-" "< 30 ms"
printf '%-34s %14s %14s %10s   %s\n' "cli Program + Verify [ticks]" "$cli_program" "$transfer_ticks" \
    "$(ratio "$cli_program" "$transfer_ticks")" "<= the window's Program (baseline)"
printf '%-34s %14s %14s %10s   %s\n' "cli Program + Verify [ms, ticks]" "$(( cli_program * 55 ))" "$floor_ms" \
    "$(ratio "$(( cli_program * 55 ))" "$floor_ms")" "beside the wire floor of 10 frames"
printf '%-34s %14s %14s %10s   %s\n' "cli read-first part [ticks]" "$cli_read" "-" "-" \
    "1..4 to the first frame + 1 per reply (3 frames)"

# Map tools: a whole-map operation shown, the highlight tick with heat colours, the map view.
echo
echo "Map tools (medians, microseconds):"
# The map view's figure is meant with its 3D surface on a real screen: an X server with
# OpenGL in software (Xvfb and Mesa), never the offscreen platform, which has no OpenGL.
if command -v xvfb-run >/dev/null; then
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1920x1080x24" "$B/vorn4-map-tools" 2>/dev/null
else
    echo "(xvfb-run not found: the map view's 3D surface is not measured on screen)"
    "$B/vorn4-map-tools" 2>/dev/null
fi

# The port chooser: the look at the devices taken once a second while the unit is silent,
# and one refresh of the open dialog.
echo
echo "Port chooser (medians, microseconds):"
"$B/vorn4-port-check" 2>/dev/null
