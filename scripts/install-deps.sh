#!/usr/bin/env bash
# Installs what strivex needs on Debian 12: the compiler and build tools, OpenGL/GLU/freeglut and
# Mesa's software renderer; with --tests also what the tests, fuzzers and benchmarks use.
set -euo pipefail

packages=(g++ cmake make pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libegl-dev
          libegl-mesa0 libx11-dev)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xdotool x11-utils imagemagick netpbm
             libstb-dev)
fi

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if (( ${#missing[@]} )); then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
