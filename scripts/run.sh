#!/bin/sh
# Installs what is missing, builds, and starts tradebook on its default database.
# Without a display the application itself says so and shows the xvfb-run command.
set -eu
. "$(dirname -- "$0")/setup.sh"

exec "$BUILD_DIR/tradebook" "$@"
