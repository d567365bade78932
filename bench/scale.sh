#!/usr/bin/env bash
# The figures at growing sizes: the archive (bench/scale-archive.sh) and the logs
# (bench/scale-logs.sh), each when it is there, each with its own default sizes.
set -euo pipefail
cd "$(dirname "$0")"
for part in scale-archive.sh scale-logs.sh; do
    [ -x "$part" ] && "./$part"
done
exit 0
