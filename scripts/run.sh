#!/usr/bin/env bash
# Installs what the viewer needs, builds it, and runs it from build/, where the build put the robot
# scene (De_209.asc) and its textures (tex/). Arguments go to the viewer (the toolkit's own, such as
# -geometry 800x600). Without a display it renders a short walk with the headless renderer instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
mkdir -p images
if [[ -n "${DISPLAY:-}" ]]; then
  exec ./strivex-release "$@"
fi
echo "No display found: rendering a short walk without a window instead."
./strivex-render --frames 30 --format png --output walk --replace
echo "30 frames of the walk written as PNG images, the first: $(pwd)/walk/image000.png"
