#!/bin/sh
# Runs each fuzz target for the given number of seconds on a corpus of its own, seeded from
# fuzz/seeds, and prints libFuzzer's closing figures.
set -eu
build=$1
seconds=$2
top=$(cd "$(dirname "$0")/.." && pwd)

run() {
  target=$1
  seeds=$2
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" "$top/fuzz/seeds/$seeds" 2>&1 |
    grep -E "^#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY" || true
}

run xml_packet_fuzzer xml
run binary_packet_fuzzer binary
