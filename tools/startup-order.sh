#!/usr/bin/env bash
# Writes app/startup-order.txt: the program's own functions that run while its window starts,
# sorted by name, so a list written anew differs from the old one only where start-up changed.
# The linker puts them together at the front of the program's code, so starting maps a few
# blocks of code instead of nearly all of it.
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
# Every function of the probe's own object. A constructor or destructor called under one
# name has its body under another (C1 and C2, D0 and D1 with D2): list both.
awk '
    /^ob=/ { own = index($0, "vorn4-startup-probe") > 0; next }
    /^fn=/ && own {
        name = substr($0, 4)
        if (name ~ /^0x/) next   # code without a symbol (a call stub)
        sub(/'"'"'[0-9]+$/, "", name)   # callgrind marks a function entered again within itself
        print name
        body = name
        if (sub(/C1E/, "C2E", body) || sub(/D[01]E/, "D2E", body)) print body
    }' "$work/calls" | LC_ALL=C sort -u >app/startup-order.txt
echo "app/startup-order.txt: $(wc -l <app/startup-order.txt) functions"
