#!/usr/bin/env bash
# Runs the benchmarks on both engines: SQLite in a temporary folder, then a throwaway PostgreSQL
# server over its Unix socket. Each prints its figures and its ratio to a raw-SQL baseline measured
# on the same engine in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
benches=(recordset tree timeline merge)
for b in "${benches[@]}"; do
  echo "== $b on SQLite"
  "build/bench/$b/bench_$b" || true
done
for b in "${benches[@]}"; do
  echo "== $b on PostgreSQL"
  VOK_BENCH_ENGINE=postgresql VOK_REQUIRE_POSTGRESQL=1 scripts/with-postgres.sh \
    "build/bench/$b/bench_$b" || true
done
