#!/bin/sh
# Takes a picture of every window of the program as a user sees it: on a
# virtual X server, framed by a small window manager, panels talking to their
# simulated receivers. For people to look at; nothing is checked.
#
#   tests/screenshots/take_screenshots.sh [BUILD_DIR] [OUT_DIR]
#
# BUILD_DIR is a build made with -DDOVRANE_TESTS=ON (default: build), OUT_DIR
# where the PNG files go, one per window (default: BUILD_DIR/screenshots).
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
out=${2:-$build/screenshots}
tests="$build/dovrane_tests"
if [ ! -x "$tests" ]; then
    echo "no $tests: build with -DDOVRANE_TESTS=ON first" >&2
    exit 1
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
DOVRANE_SCREENSHOT_DIR="$out" ASAN_OPTIONS=detect_leaks=0 \
    sh "$here/../x11/with_window_manager.sh" "$tests" --gtest_filter='EveryWindow/UnderWindowManager.Screenshot/*'
rc=$?
if [ $rc -eq 77 ]; then
    echo "Xvfb or twm is missing: no screenshots taken" >&2
    exit 1
fi
echo "screenshots in $out"
exit $rc
