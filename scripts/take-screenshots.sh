#!/bin/sh
# Renders each window to a PNG under the build folder, on a virtual X display.
set -eu
build=$1
out="$build/screenshots"
mkdir -p "$out"
"$build/make_demo_data" "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/take_screenshots" "$out"
