#!/bin/sh
# Runs each fuzz target for the given number of seconds on a corpus of its own, seeded from
# fuzz/seeds, and prints libFuzzer's closing figures.
set -eu
build=$1
seconds=$2
top=$(cd "$(dirname "$0")/.." && pwd)
# The font libraries' one-time allocations, which live until the process ends.
export LSAN_OPTIONS="suppressions=$top/tests/support/lsan.supp"

# A target's own memory limit, when given, is the third argument.
run() {
  target=$1
  seeds=$2
  rss=${3:-2048}
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb="$rss" \
    -print_final_stats=1 "$corpus" "$seeds" 2>&1 |
    grep -E "^#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY" || true
}

# The picture targets are seeded with the picture corpus's files of their extensions
# (letter case ignored), gathered into one folder per target.
pictures="$top/../shared/corpus/pictures"
picture_seeds() {
  folder="$build/seeds/$1"
  shift
  mkdir -p "$folder"
  for extension in "$@"; do
    [ -d "$pictures" ] && find "$pictures" -type f -iname "*.$extension" -exec cp --backup=numbered {} "$folder" \;
  done
  echo "$folder"
}

run xml_packet_fuzzer "$top/fuzz/seeds/xml"
run binary_packet_fuzzer "$top/fuzz/seeds/binary"
# A picture may take up to the 1 GiB pixel cap, and given-back mappings stay resident a while.
run bitmap_picture_fuzzer "$(picture_seeds bitmap bmp)" 4096
run icon_picture_fuzzer "$(picture_seeds icon ico cur)" 4096
run metafile_picture_fuzzer "$(picture_seeds metafile wmf emf)" 4096
run jpeg_picture_fuzzer "$(picture_seeds jpeg jpg jpeg)" 4096
