#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (offscreen, loopback
# only). Usage: scripts/test.sh [preset]   (default, asan, tsan)
#
# tsan builds and runs only the tests of the link, the operations on it and
# lmkctl (TSAN_TESTS below) under ThreadSanitizer; Qt's own reports are
# suppressed, each with its reason, in tests/tsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
PRESET="${1:-default}"
TSAN_TESTS=(tst_exchange tst_linksim tst_wlanlink tst_dispatch tst_frameextractor tst_uploadsim
            tst_displayscan tst_slottransfer tst_terminalsim)
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
if [ "$PRESET" = tsan ]; then
  scripts/build.sh tsan "${TSAN_TESTS[@]}"
  export TSAN_OPTIONS="${TSAN_OPTIONS:-suppressions=$PWD/tests/tsan.supp:second_deadlock_stack=1:print_suppressions=0:die_after_fork=0}"
  regex="^($(IFS='|'; echo "${TSAN_TESTS[*]}"))\$"
  # die_after_fork=0: QProcess (the simulator, lmkctl) forks a threaded test
  # process; the child only execs, so the sanitizer need not stop it.
  # Under ThreadSanitizer the programs run several times slower.
  ctest --preset tsan -R "$regex" -j2 --timeout 900
  exit
fi
scripts/build.sh "$PRESET"
# The sanitizer run checks for leaks; only leaks inside third-party libraries
# are suppressed, each with its reason, in tests/lsan.supp.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}"
ctest --preset "$PRESET" -j2 --timeout 300
