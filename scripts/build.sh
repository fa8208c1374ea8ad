#!/usr/bin/env bash
# Configures and builds into build/, the directory the viewer runs from (the build writes the robot
# scene De_209.asc and its textures tex/ there).
#   scripts/build.sh          what a user runs: both viewers, the generated scene and textures, and
#                             the headless renderer strivex-render;
#   scripts/build.sh --tests  everything: that, the tests, the benchmarks and the other tools.
# The build's output goes to build/build.log, shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  --tests) all=ON ;;
  "") all=OFF ;;
  *) echo "usage: scripts/build.sh [--tests]" >&2; exit 2 ;;
esac
mkdir -p build
log=build/build.log
cmake -S . -B build -DCMAKE_BUILD_TYPE= -DSTRIVEX_TESTS=$all -DSTRIVEX_BENCH=$all > "$log" 2>&1 || {
  cat "$log"; exit 1; }
targets=()
[[ $all == ON ]] || targets=(--target strivex strivex-release robot_scene strivex-render)
cmake --build build -j"$(nproc)" "${targets[@]}" >> "$log" 2>&1 || { tail -50 "$log"; exit 1; }
