#!/usr/bin/env bash
# Configures and builds everything into build/ (both viewers, the generated robot scene and
# textures, the headless renderer, the tests and the benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE= > build.log 2>&1 || { cat build.log; exit 1; }
cmake --build build -j"$(nproc)" >> build.log 2>&1 || { tail -50 build.log; exit 1; }
rm -f build.log
