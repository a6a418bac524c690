#!/bin/sh
# Builds the fuzz targets with clang and libFuzzer and runs each for RUNS inputs
# (default 10,000,000; CI runs a short round). Any crash, leak or sanitizer report fails.
set -eu
ROOT=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
BUILD=${TRADEBOOK_FUZZ_BUILD_DIR:-$ROOT/build-fuzz}
RUNS=${RUNS:-10000000}

cmake -S "$ROOT/fuzz" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2
for target in "$BUILD"/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    corpus="$BUILD/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    echo "== $(basename "$target"): $RUNS inputs"
    log="$BUILD/$(basename "$target").log"
    if ! "$target" -runs="$RUNS" -max_len=256 -close_fd_mask=3 \
            -artifact_prefix="$BUILD/" "$corpus" >"$log" 2>&1; then
        grep -v -e '^#' -e '^INFO' -e 'NEW_FUNC' "$log" >&2 || true
        echo "$(basename "$target") failed; the input that failed is in $BUILD" >&2
        exit 1
    fi
    grep '^Done' "$log" || true
done
echo "Fuzzing done: no crash, leak or sanitizer report."
