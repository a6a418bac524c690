#!/bin/sh
# Installs what is missing, builds, and runs the whole test suite; fails when a test fails.
set -eu
. "$(dirname -- "$0")/setup.sh"

cd "$BUILD_DIR"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
