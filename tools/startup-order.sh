#!/usr/bin/env bash
# Writes app/startup-order.txt: the program's own functions that run while its window starts,
# sorted by name so that a new list differs from the old one only where start-up changed. The linker puts them together at the front of the program's
# code, so starting maps a few blocks of code instead of nearly all of it.
# Run it after a change that moves much start-up work (needs valgrind); a function missing
# from the list still works, it only lies elsewhere.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v valgrind >/dev/null || { echo "error: needs valgrind" >&2; exit 1; }
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vorn4-startup-probe >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config"
QT_QPA_PLATFORM=offscreen VORN4_CONFIG_DIR=$work/config \
    valgrind --tool=callgrind --demangle=no --compress-strings=no --callgrind-out-file="$work/calls" \
    build/bench/vorn4-startup-probe real >/dev/null 2>"$work/log"
# Every function of the probe's own object. A constructor or
# destructor is known under several names for one body: list them all.
awk '
    /^ob=/ { own = index($0, "vorn4-startup-probe") > 0; next }
    /^fn=/ && own {
        name = substr($0, 4)
        if (name ~ /^0x/) next   # code without a symbol (a call stub)
        if (!(name in seen)) { seen[name] = 1; print name }
        for (i = 1; i <= 3; i++) {
            alias = name
            if (i == 1 && sub(/C1E/, "C2E", alias) || i == 2 && sub(/D1E/, "D2E", alias) || i == 3 && sub(/D0E/, "D2E", alias))
                if (!(alias in seen)) { seen[alias] = 1; print alias }
        }
    }' "$work/calls" | LC_ALL=C sort >app/startup-order.txt
echo "app/startup-order.txt: $(wc -l <app/startup-order.txt) functions"
