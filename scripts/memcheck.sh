#!/usr/bin/env bash
# Memory check of the viewer: the end-to-end session on a private Xvfb - upper-case keys, every
# key and menu choice while recording in manual mode, the background set, an orbit drag, a second
# recording, then the window closed as a window manager closes it - made twice:
#   1. strivex-release under valgrind's memcheck (full leak check; suppressions for the loader and
#      the Mesa driver only, in scripts/valgrind.supp);
#   2. the sanitized strivex (AddressSanitizer, LeakSanitizer, UndefinedBehaviorSanitizer).
# The session itself is the test Viewer in tests/e2e/viewer_e2e_test.cpp; under valgrind it runs in
# a 120 x 120 window, which keeps the software renderer to a few minutes.
#
# Usage: scripts/memcheck.sh [build directory, default build]
# Exit status 0 when valgrind reports no error and no definite leak and the sanitized run is clean.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(cd "${1:-build}" && pwd)
command -v valgrind > /dev/null || { echo "valgrind is not installed (apt-get install valgrind)"; exit 1; }
cmake --build "$build" -j2 --target strivex strivex-release strivex_tests > /dev/null

out="$build/memcheck"
rm -rf "$out"
mkdir -p "$out"
# Run as root, the session starts the program as the unprivileged user nobody, who must reach the
# program and the suppressions and write valgrind's log wherever the tree is: all three go to a
# scratch directory of its own (whose path has no blank, as the command is split at blanks).
scratch=$(mktemp -d /tmp/strivex-memcheck-XXXXXX)
trap 'cp -f "$scratch/valgrind.log" "$out/" 2> /dev/null; rm -rf "$scratch"' EXIT
chmod a+rwx "$scratch"
cp "$build/strivex-release" "$root/scripts/valgrind.supp" "$scratch/"
log="$scratch/valgrind.log"

echo "== strivex-release under valgrind memcheck (log: $out/valgrind.log)"
STRIVEX_MEMORY_RUN_COMMAND="valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
--errors-for-leak-kinds=definite --keep-debuginfo=yes --num-callers=40 --show-error-list=yes \
--suppressions=$scratch/valgrind.supp --log-file=$log $scratch/strivex-release -geometry 120x120" \
  "$build/tests/strivex_tests" --gtest_also_run_disabled_tests --gtest_filter='Viewer.DISABLED_CommandFromTheEnvironment' \
  > "$out/valgrind-session.txt" 2>&1 || { cat "$out/valgrind-session.txt"; echo "the session under valgrind failed"; exit 1; }
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|suppressed:|used_suppression" "$log" | sed "s/^==[0-9]*== *//"

echo "== strivex (sanitized)"
"$build/tests/strivex_tests" --gtest_filter='Viewer.SanitizedProgramThroughAWholeSessionWithLeakChecking' \
  > "$out/sanitized-session.txt" 2>&1 || { cat "$out/sanitized-session.txt"; echo "the sanitized session failed"; exit 1; }
grep -h -E "^\[  (PASSED|FAILED) " "$out/sanitized-session.txt"

if grep -q "ERROR SUMMARY: 0 errors" "$log"; then
  echo "memcheck: clean"
else
  echo "memcheck: valgrind reported errors or definite leaks; see $out/valgrind.log"
  exit 1
fi
