#!/bin/sh
# Installs what is missing, builds, and starts tradebook on its default database.
set -eu
. "$(dirname -- "$0")/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: starting tradebook on a virtual X server (xvfb-run)."
    exec xvfb-run -a "$BUILD_DIR/tradebook" "$@"
fi
exec "$BUILD_DIR/tradebook" "$@"
