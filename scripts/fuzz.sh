#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 30)
# from its committed seed corpus. A crash fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DSTRIVEX_FUZZ=ON \
      -DSTRIVEX_TESTS=OFF -DSTRIVEX_BENCH=OFF > /dev/null
targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build build-fuzz -j"$(nproc)" --target $targets > /dev/null
for name in $targets; do
  target="build-fuzz/fuzz/$name"
  corpus_seed="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [[ -d "$corpus_seed" ]] && cp -r "$corpus_seed"/. "$work"/
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work" > "$work.log" 2>&1 || {
    tail -40 "$work.log"; exit 1; }
  grep -E '^(stat::number_of_executed_units|Done)' "$work.log" || tail -2 "$work.log"
  rm -rf "$work" "$work.log"
done
