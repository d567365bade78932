#!/usr/bin/env bash
# The archive at three sizes on the bench's SQLite file and on a PostgreSQL server of the
# bench's own (started in a temporary folder and removed again by vorn4-archive-scale): each
# figure with its size and goal beside it, and its slope from the size before (log of the
# time's growth over log of the data's: 1 grows as the data does, 0 not at all). The CPU
# time beside each is what stays put when other work shares the machine.
# The archives are made by a generator from a seed. Nothing here is asserted.
# Usage: bench/scale-archive.sh [--seed N] [--sqlite "T:E T:E T:E"] [--postgresql "T:E T:E T:E"]
#   sizes as tunes:events; the defaults are the goals' sizes and a tenth and a hundredth of them.
set -euo pipefail
cd "$(dirname "$0")/.."
seed=37
sqlite_sizes="1000:10000 10000:100000 100000:1000000"
pg_sizes="10000:100000 100000:1000000 1000000:10000000"
while [ $# -gt 0 ]; do
    case $1 in
        --seed) seed=$2; shift 2 ;;
        --sqlite) sqlite_sizes=$2; shift 2 ;;
        --postgresql) pg_sizes=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vorn4-archive-scale >/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

goal() {   # $1 = engine, $2 = figure
    case $1:$2 in
        *:generated_s) echo "(making the archive, seconds)" ;;
        sqlite:*) echo "< 50 ms at 100,000 tunes / 1,000,000 events" ;;
        *:search_*) echo "< 50 ms at 1,000,000 tunes / 10,000,000 events" ;;
        *:sync_offline_month) echo "< 5000 ms for 10,000 events" ;;
        *) echo "< 20 ms at 1,000,000 tunes / 10,000,000 events" ;;
    esac
}

slope() {   # $1, $2 = figures at the sizes of $3, $4 events
    awk -v a="$1" -v b="$2" -v n="$3" -v m="$4" \
        'BEGIN { if (a > 0 && b > 0 && n != m) printf "%.2f", log(b / a) / log(m / n); else print "-" }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
for engine in sqlite postgresql; do
    sizes=$sqlite_sizes
    [ "$engine" = postgresql ] && sizes=$pg_sizes
    echo
    echo "Archive on $engine (seed $seed; medians of 9 different texts or tunes; rows found;"
    echo "CPU: this process's own time, without the server's; slope of each from the size before)"
    printf '%-19s %8s %9s %9s %8s %5s %6s %6s   %s\n' figure tunes events ms "cpu ms" rows slope "cpu" goal
    declare -A last_ms=() last_cpu=() last_events=()
    for size in $sizes; do
        tunes=${size%%:*}; events=${size##*:}
        if ! out=$(build/bench/vorn4-archive-scale "$engine" "$tunes" "$events" "$seed"); then
            echo "($engine at $tunes tunes / $events events could not be made)"
            continue
        fi
        while read -r name ms rows cpu; do
            s1=- s2=-
            if [ "$name" != generated_s ] && [ -n "${last_ms[$name]:-}" ]; then
                s1=$(slope "${last_ms[$name]}" "$ms" "${last_events[$name]}" "$events")
                s2=$(slope "${last_cpu[$name]}" "$cpu" "${last_events[$name]}" "$events")
            fi
            printf '%-19s %8s %9s %9s %8s %5s %6s %6s   %s\n' "$name" "$tunes" "$events" "$ms" "$cpu" "$rows" "$s1" "$s2" \
                "$(goal "$engine" "$name")"
            last_ms[$name]=$ms; last_cpu[$name]=$cpu; last_events[$name]=$events
        done <<<"$out"
    done
    unset last_ms last_cpu last_events
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
