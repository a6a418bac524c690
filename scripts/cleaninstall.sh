#!/bin/sh
# Installs a built package on a fresh Debian 12 without build tools, as the PC in the shop
# next door would get it, and runs it there: a minimal Debian root made by debootstrap,
# apt-get install of the package and its dependencies, no compiler or -dev package brought
# along, --sample-book and --quotation-pdf working, and apt-get remove leaving the book
# alone. Needs root, debootstrap and a Debian mirror.
# Usage: scripts/cleaninstall.sh build/tradebook_<version>_amd64.deb [ROOT_FOLDER]
# (an existing ROOT_FOLDER made by an earlier run is used again).
set -eu

DEB=$(realpath "$1")
ROOT=${2:-/tmp/tradebook-cleanroot}
MIRROR=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

[ -x "$ROOT/bin/sh" ] || debootstrap --variant=minbase bookworm "$ROOT" "$MIRROR"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
cp "$DEB" "$ROOT/root/"
PACKAGE=/root/$(basename "$DEB")

chroot "$ROOT" /bin/sh -eu -c "
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q $PACKAGE
    for tool in cc gcc c++ g++ clang cmake; do
        if command -v \$tool >/dev/null; then echo \"\$tool came with the package\"; exit 1; fi
    done
    if dpkg-query -W -f '\${Package}\n' | grep -q -- '-dev\$'; then
        echo 'a -dev package came with the package'; exit 1
    fi
    tradebook --version | grep -qx \"tradebook \$(dpkg-query -W -f '\${Version}' tradebook)\"
    tradebook --help | grep -q -- --sample-book
    rm -f /tmp/sample.db /tmp/quotation.pdf
    tradebook --sample-book /tmp/sample.db
    quote=OD\$(date +%y%m)0001
    TRADEBOOK_DATABASE=/tmp/sample.db tradebook --quotation-pdf \$quote /tmp/quotation.pdf
    test -s /tmp/quotation.pdf
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tradebook
    test -s /tmp/sample.db
    if [ -e /usr/bin/tradebook ]; then echo 'tradebook is still there'; exit 1; fi
    echo 'installed on a clean Debian, ran, removed; the book stayed'
"
