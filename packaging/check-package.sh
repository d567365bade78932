#!/usr/bin/env bash
# Builds the Debian package, checks it (desktop entry, AppStream, lintian, manuals), installs it
# on this machine with apt-get and runs the installed programs once.
# Usage: packaging/check-package.sh [BUILD-DIR]   (needs root or sudo for the install)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in ${pids[@]+"${pids[@]}"}; do kill "$pid" 2> /dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

cmake --build "$build" --target package
deb="$(ls "$build"/vorn4_*_*.deb)"
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends

echo "== lintian"
lintian --fail-on error "$deb"

echo "== manuals"
for lang in en de fr cz; do
    pdf="$build/manual_lumenor_vorn_4_$lang.pdf"
    pages="$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')"
    pdftoppm -r 30 -png -f 1 -l 1 "$pdf" "$work/$lang"
    echo "$lang: $pages pages"
    [ "$pages" -ge 5 ]
done

echo "== install"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb"
desktop-file-validate /usr/share/applications/org.vorn4.Vorn4.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.vorn4.Vorn4.metainfo.xml
for f in /usr/share/icons/hicolor/scalable/apps/vorn4.svg /usr/share/icons/hicolor/48x48/apps/vorn4.png \
         /usr/share/vorn4/manual/manual_lumenor_vorn_4_cz.pdf /usr/share/man/man1/vorn4.1.gz; do
    test -s "$f" || { echo "missing in the installed package: $f" >&2; exit 1; }
done
man -l /usr/share/man/man1/vorn4-sim.1.gz > /dev/null

# The installed window against the installed simulated unit: it starts, and SIGTERM closes
# it the normal way, saving its settings.
echo "== installed vorn4 and vorn4-sim"
link="$work/tty"
/usr/bin/vorn4-sim --link "$link" --linger 30 > /dev/null &
pids+=($!)
for _ in $(seq 50); do [ -L "$link" ] && break; sleep 0.1; done
[ -L "$link" ]
mkdir -p "$work/config"
printf '[FORM_HLAV]\r\nComPort=1\r\n[PORTS]\r\nCOM1=%s\r\n' "$link" > "$work/config/vorn4.ini"
VORN4_CONFIG_DIR="$work/config" QT_QPA_PLATFORM=offscreen /usr/bin/vorn4 &
window=$!
sleep 3
kill -TERM "$window"
wait "$window"
grep -q 'ComPort=1' "$work/config/vorn4.ini"
test -s "$work/config/_vorn4.ini"
echo "the installed window started against the installed simulated unit and closed cleanly"

echo "== installed vorn4-cli"
/usr/bin/vorn4-cli --version
/usr/bin/vorn4-cli read --port "$link" "$work/unit.ign"
grep -q '^ZEPHALON_KEY' "$work/unit.ign"
echo "vorn4-cli read the installed vorn4-sim into $work/unit.ign"
# The map view is a module the window loads on first use; it must be where the window looks.
test -f /usr/lib/vorn4/vorn4mapview.so
test -f /usr/lib/vorn4/vorn4logview.so
