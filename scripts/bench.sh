#!/usr/bin/env bash
# Runs every benchmark on both engines: SQLite in a temporary folder, then a throwaway PostgreSQL
# server over its Unix socket. Each prints its figures and its ratio to a raw-SQL baseline measured
# on the same engine in the same run, and one "summary:" line per figure with its goal; the table
# of those lines comes at the end. A benchmark that crashes, disagrees with its baseline or misses
# a goal makes the script fail (after the others have run).
#
#   scripts/bench.sh                 every benchmark on both engines
#   scripts/bench.sh merge tree      only these, on both engines
#   VOK_BENCH_ENGINES=sqlite scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# The folder of ten times the data (bench_large) is run on SQLite only: it measures the window's
# start-up on a folder, and its curve is in README.md.
all=(recordset tree timeline project merge large)

if [ "${1:-}" = "--run" ]; then
  # One engine's run, appending to the log given; the exit status counts the failures.
  log="$2"
  shift 2
  failed=0
  for b in "$@"; do
    if [ "$b" = large ] && [ "${VOK_BENCH_ENGINE:-sqlite}" = postgresql ]; then
      continue
    fi
    echo "== $b on ${VOK_BENCH_ENGINE:-sqlite}" | tee -a "$log"
    out=$(mktemp)
    set +e
    "build/bench/$b/bench_$b" 2>&1 | tee "$out"
    status=${PIPESTATUS[0]}
    set -e
    cat "$out" >>"$log"
    if [ "$status" -ne 0 ]; then
      failed=$((failed + 1))
      # A missed goal has its row already; a crash or a disagreement gets one.
      if ! grep -q '^summary: .*| MISSED$' "$out"; then
        echo "summary: bench_$b, ${VOK_BENCH_ENGINE:-sqlite} | exit status $status | 0 | FAILED" |
          tee -a "$log"
      fi
    fi
    rm -f "$out"
  done
  exit "$failed"
fi

benches=("$@")
[ ${#benches[@]} -gt 0 ] || benches=("${all[@]}")
for b in "${benches[@]}"; do
  if [ ! -x "build/bench/$b/bench_$b" ]; then
    echo "bench.sh: build/bench/$b/bench_$b is not built (scripts/build.sh)" >&2
    exit 2
  fi
done

log=$(mktemp)
trap 'rm -f "$log"' EXIT
engines="${VOK_BENCH_ENGINES:-sqlite postgresql}"
failed=0
for engine in $engines; do
  case "$engine" in
  sqlite)
    "$0" --run "$log" "${benches[@]}" || failed=1
    ;;
  postgresql)
    VOK_BENCH_ENGINE=postgresql VOK_REQUIRE_POSTGRESQL=1 scripts/with-postgres.sh \
      "$0" --run "$log" "${benches[@]}" || failed=1
    ;;
  *)
    echo "bench.sh: unknown engine $engine" >&2
    exit 2
    ;;
  esac
done

echo
echo "Summary (ratios to the baseline of the same run; lower is better)"
sed -n 's/^summary: //p' "$log" | awk -F ' [|] ' '
  { rows[NR] = $0; for (i = 1; i <= 4; i++) if (length($i) > w[i]) w[i] = length($i) }
  END {
    fmt = "%-" w[1] "s  %" w[2] "s  %" w[3] "s  %s\n"
    for (r = 1; r <= NR; r++) { split(rows[r], f, / [|] /); printf fmt, f[1], f[2], f[3], f[4] }
  }'
if grep -q '^summary: .*| \(MISSED\|FAILED\)$' "$log"; then
  failed=1
fi
exit "$failed"
