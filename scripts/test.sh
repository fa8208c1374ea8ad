#!/usr/bin/env bash
# Installs what is needed, builds everything, runs the whole test suite (unit, offscreen OpenGL and
# the real programs under Xvfb), then gives each fuzz target a short run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
scripts/build.sh --tests
(cd build && ctest --output-on-failure -j2 --timeout 300)
scripts/fuzz.sh 30
