#!/bin/sh
# Starts the built application: puts the demo data beside it when its folders do not exist
# yet, then runs it, or says why it cannot.
set -eu
build=$1
"$build/make_demo_data" "$build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Tarnwick: no display to show the window on (DISPLAY is not set); run it on a desktop or under Xvfb."
  exit 1
fi
exec "$build/Tarnwick"
