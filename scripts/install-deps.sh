#!/usr/bin/env bash
# Installs from Debian 12's archive what strivex needs, and only that.
#   scripts/install-deps.sh          what the viewers, the generator and the headless renderer need:
#                                    the compiler, CMake, OpenGL/GLU/EGL, freeglut, Mesa's
#                                    software renderer and libpng (PNG frames);
#   scripts/install-deps.sh --tests  that, and what the tests, fuzz targets and benchmarks need:
#                                    GoogleTest, clang with libFuzzer, Xvfb and xdotool, ImageMagick
#                                    (the tests compare with its decoding), stb_image (a benchmark's
#                                    yardstick), ffmpeg (the renderer's --video is tested with it).
# Runs apt-get as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(g++ cmake make pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libegl-dev
          libegl-mesa0 libx11-dev libpng-dev)
case "${1:-}" in
  --tests) packages+=(libgtest-dev clang libclang-rt-14-dev xvfb xdotool imagemagick libstb-dev ffmpeg) ;;
  "") ;;
  *) echo "usage: scripts/install-deps.sh [--tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
(( ${#missing[@]} )) || exit 0

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo > /dev/null; then
    echo "install-deps: these Debian packages are missing: ${missing[*]}" >&2
    echo "install-deps: run this script as root, or install sudo and give this user the right to use it" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing ${#missing[@]} Debian packages and what they need: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" > /dev/null
