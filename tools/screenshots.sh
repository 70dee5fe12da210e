#!/bin/bash
# Screenshots of kvdesigner with the demo project (or PROJECT) on a virtual 1280x800 screen.
#   tools/screenshots.sh OUTDIR [PROJECT]
# Writes OUTDIR/screen.png (the whole screen, taken with ImageMagick's import), and
# OUTDIR/window.png and OUTDIR/selected.png (the main window as kvdesigner draws it, the second
# with a control of the demo selected).
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

out=${1:?usage: tools/screenshots.sh OUTDIR [PROJECT]}
project=${2:-demo/KvDemo.dpr}
designer=$PWD/build/release/app/kvdesigner
[ -x "$designer" ] || { echo "screenshots.sh: build kvdesigner first (cmake --build --preset release --target kvdesigner)" >&2; exit 1; }
# The real ImageMagick: another program called import may come first on PATH.
import=/usr/bin/import
[ -x "$import" ] || { echo "screenshots.sh: $import not found (apt-get install imagemagick)" >&2; exit 1; }
mkdir -p "$out"
out=$(readlink -f "$out")

xvfb-run -a -s '-screen 0 1280x800x24' bash -c '
  set -e
  designer=$1 project=$2 out=$3 import=$4
  "$designer" "$project" &
  pid=$!
  sleep 2
  "$import" -window root "$out/screen.png"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  "$designer" "$project" --screenshot "$out/window.png"
  "$designer" "$project" --select EdName --screenshot "$out/selected.png"
' _ "$designer" "$project" "$out" "$import"
echo "screenshots.sh: wrote screen.png, window.png and selected.png to $out"
