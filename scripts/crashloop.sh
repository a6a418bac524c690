#!/bin/sh
# Kills a copy of the application that saves products and quotations (header and 20 lines)
# at random moments, KILLS times (default 200), checking the file after each kill: sound,
# every header with all its lines, no line without its header, every reported save there.
# Builds first when needed; CI runs a few kills as part of the test suite.
set -eu
ROOT=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
BUILD_DIR=${TRADEBOOK_BUILD_DIR:-$ROOT/build}
cmake --build "$BUILD_DIR" -j2 --target tst_savesunderfaults >/dev/null
TRADEBOOK_CRASH_KILLS=${KILLS:-200} QT_QPA_PLATFORM=offscreen \
    "$BUILD_DIR/tests/tst_savesunderfaults" killedAtRandomMoments
