#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program.
#
#   ./run.sh [LANGUAGE]                      demo: the simulated unit vorn4-sim on COM1, with
#                                            its own settings folder (vorn4-demo)
#   ./run.sh --device /dev/ttyUSB0 [LANGUAGE] a real unit on that serial device, as COM1 of
#                                            the normal settings folder
#   ./run.sh --real [LANGUAGE]               the normal settings folder as it is
#
# LANGUAGE is the program's own argument: ENGLISH, DEUTSCH, FRANCE or CESKY.
set -euo pipefail
cd "$(dirname "$0")"

mode=demo
device=""
args=()
while [ $# -gt 0 ]; do
    case "$1" in
        --device) mode=device; device="${2:?--device needs a device path}"; shift 2 ;;
        --device=*) mode=device; device="${1#--device=}"; shift ;;
        --real) mode=real; shift ;;
        *) args+=("$1"); shift ;;
    esac
done

# Sets KEY in SECTION of an INI file (names matched without regard to case), creating the
# file, the section or the key as needed. With "absent" an existing key is left alone.
ini_set() {
    local file="$1" section="$2" key="$3" value="$4" how="$5"
    mkdir -p "$(dirname "$file")"
    touch "$file"
    awk -v sec="$section" -v key="$key" -v val="$value" -v how="$how" '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        {
            line = $0; sub(/\r$/, "", line)
            if (line ~ /^[ \t]*\[/) {
                if (insec && !done) { print key "=" val "\r"; done = 1 }
                name = line; sub(/^[ \t]*\[/, "", name); sub(/\].*$/, "", name)
                insec = !seen && tolower(trim(name)) == tolower(sec)
                if (insec) seen = 1
                print; next
            }
            if (insec && !done && index(line, "=") > 0) {
                k = line; sub(/=.*$/, "", k)
                if (tolower(trim(k)) == tolower(key)) {
                    if (how == "set") print key "=" val "\r"; else print
                    done = 1; next
                }
            }
            print
        }
        END {
            if (!done) {
                if (!seen) print "[" sec "]\r"
                print key "=" val "\r"
            }
        }' "$file" > "$file.tmp"
    mv "$file.tmp" "$file"
}

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target vorn4 vorn4-sim vorn4-cli

normal_config="${VORN4_CONFIG_DIR:-${XDG_CONFIG_HOME:-$HOME/.config}/vorn4}"

case "$mode" in
    real)
        exec build/vorn4 ${args[@]+"${args[@]}"}
        ;;
    device)
        if [ ! -e "$device" ]; then
            echo "run.sh: $device does not exist" >&2
            exit 1
        fi
        ini_set "$normal_config/vorn4.ini" PORTS COM1 "$device" set
        ini_set "$normal_config/vorn4.ini" FORM_HLAV ComPort 1 set
        VORN4_CONFIG_DIR="$normal_config" exec build/vorn4 ${args[@]+"${args[@]}"}
        ;;
esac

demo_config="${XDG_CONFIG_HOME:-$HOME/.config}/vorn4-demo"
tty_link="${XDG_RUNTIME_DIR:-${TMPDIR:-/tmp}}/vorn4-demo-tty-$(id -u)"
ini_set "$demo_config/vorn4.ini" PORTS COM1 "$tty_link" absent
ini_set "$demo_config/vorn4.ini" FORM_HLAV ComPort 1 absent

# The simulator ends by itself a few seconds after the program closes the line; the trap
# covers a program that never opened it.
build/sim/vorn4-sim --link "$tty_link" --linger 5 > /dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2> /dev/null || true' EXIT
for _ in $(seq 50); do
    [ -L "$tty_link" ] && break
    sleep 0.1
done
if [ ! -L "$tty_link" ]; then
    echo "run.sh: the simulated unit did not start" >&2
    exit 1
fi
echo "Simulated unit on $tty_link (COM1 of $demo_config)"
VORN4_CONFIG_DIR="$demo_config" build/vorn4 ${args[@]+"${args[@]}"}
