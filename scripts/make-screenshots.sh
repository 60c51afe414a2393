#!/bin/sh
# Builds the screenshot program and takes the manual's screenshots under a
# virtual X screen (xvfb), writing them to data/Docs/images.
#   scripts/make-screenshots.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target peltrix-screenshots peltrix_data
xvfb-run -a -s "-screen 0 1280x900x24" "$build/peltrix-screenshots" manual "$build" "$root/data/Docs/images"
# Scanned paper is grainy: a palette keeps the pictures small.
for f in "$root"/data/Docs/images/graph-*.png; do convert "$f" -colors 256 "PNG8:$f"; done
# The copy beside the executables gets the new pictures too.
cmake --build "$build" --target peltrix_data
