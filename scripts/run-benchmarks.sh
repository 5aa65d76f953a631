#!/bin/sh
# Runs every benchmark of the build, one after the other (they measure, so never at once).
set -eu
build=$1
for bench in "$build"/bench/*_bench; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench"
done
