#!/usr/bin/env bash
# Renders the manual's pictures of the real window against the simulated unit:
# docs/manual/images/<lang>-page<N>.png for every page in English, German, French and Czech,
# <lang>-ports.png, the port settings dialog, and <lang>-finder.png, the advance finder after
# a run against the simulator riding pulls (a few minutes of its riding).
# Usage: tools/manual-screenshots.sh [BUILD-DIR]   (default build; needs vorn4-screenshots
# and vorn4-sim built there)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out=docs/manual/images
work="$(mktemp -d)"
usb=
trap 'kill "${sim_pid:-}" 2> /dev/null || true; [ -n "$usb" ] && { umount "$usb"; rm -f "$usb"; }; rm -rf "$work"' EXIT

link="$work/tty"
"$build/sim/vorn4-sim" --link "$link" --linger 1 > /dev/null &
sim_pid=$!
for _ in $(seq 50); do
    [ -L "$link" ] && break
    sleep 0.1
done
# A reader sees the name a USB adapter has, not a temporary path: as root, with no adapter
# plugged in, the simulator's terminal is bound onto /dev/ttyUSB0 for the pictures.
device="$link"
if [ "$(id -u)" = 0 ] && [ ! -e /dev/ttyUSB0 ] && touch /dev/ttyUSB0; then
    if mount --bind "$(readlink -f "$link")" /dev/ttyUSB0 2> /dev/null; then
        usb=/dev/ttyUSB0
        device=$usb
    else
        rm -f /dev/ttyUSB0   # the empty file just made, nothing else
    fi
fi
[ -n "$usb" ] || echo "note: the pictures name the simulator's temporary device" >&2
printf '[FORM_HLAV]\r\nComPort=1\r\n[PORTS]\r\nCOM1=%s\r\n' "$device" > "$work/vorn4.ini"

codes=(en de fr cz)
VORN4_CONFIG_DIR="$work" VORN4_SHOT_SETTLE_MS=4000 VORN4_SHOT_READ=1 VORN4_SHOT_PORTS=1 QT_QPA_PLATFORM=offscreen \
    "$build/vorn4-screenshots" "$work/shots" 0 1 2 3
mkdir -p "$out"
for language in 0 1 2 3; do
    for page in 0 1 2 3; do
        cp "$work/shots/lang$language-page$page.png" "$out/${codes[$language]}-page$page.png"
    done
    cp "$work/shots/ports-dialog-lang$language.png" "$out/${codes[$language]}-ports.png"
done

# The advance finder needs an engine that answers to the map: a second simulator riding
# pulls, and a run of three variants with two pulls each to its end.
kill "$sim_pid" 2> /dev/null || true
wait "$sim_pid" 2> /dev/null || true
rm -f "$link"
"$build/sim/vorn4-sim" --link "$link" --linger 1 --ride pulls > /dev/null &
sim_pid=$!
for _ in $(seq 50); do
    [ -L "$link" ] && break
    sleep 0.1
done
if [ -n "$usb" ]; then
    umount "$usb"
    mount --bind "$(readlink -f "$link")" "$usb"
fi
VORN4_CONFIG_DIR="$work" VORN4_SHOT_SETTLE_MS=2000 VORN4_SHOT_FINDER=2 QT_QPA_PLATFORM=offscreen \
    "$build/vorn4-screenshots" "$work/finder" 0 1 2 3
for language in 0 1 2 3; do
    cp "$work/finder/finder-lang$language.png" "$out/${codes[$language]}-finder.png"
done
ls -l "$out"
