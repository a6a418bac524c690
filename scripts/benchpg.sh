#!/bin/sh
# The benchmark on PostgreSQL: the default book (generated when absent, as the benchmark
# itself does) copied into a database of a throwaway cluster, timed there through a Unix
# socket, and the cluster removed. Options after the script's name go to
# "tradebook_bench run" (for example --reps 5 or --only quote).
set -eu

ROOT=$(CDPATH= cd -- "$(dirname -- "$0")/.." && pwd)
BUILD_DIR=${TRADEBOOK_BUILD_DIR:-$ROOT/build}
BENCH_DIR=${TRADEBOOK_BENCH_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/tradebook-bench}
BOOK=$BENCH_DIR/tradebook-999000-products.db
CLUSTER=/tmp/tradebook-bench-pg-$$

mkdir -p "$BENCH_DIR"
if [ ! -f "$BOOK" ]; then
    "$BUILD_DIR/bench/tradebook_bench" generate --out "$BOOK"
fi
trap '"$ROOT/scripts/pgcluster.sh" stop "$CLUSTER"' EXIT INT TERM
"$ROOT/scripts/pgcluster.sh" start "$CLUSTER" >/dev/null
psql "postgresql://tradebook@/postgres?host=$CLUSTER" -qc "CREATE DATABASE book"
URI="postgresql://tradebook@/book?host=$CLUSTER"
"$BUILD_DIR/tradebook" --copy-database "$BOOK" "$URI"
"$BUILD_DIR/bench/tradebook_bench" run --db "$URI" "$@"
