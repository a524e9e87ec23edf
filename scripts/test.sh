#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
# The storage tests run on SQLite and on a throwaway PostgreSQL server; in CI the server's rows
# must run, elsewhere they skip when no server can be started.
if [ "${CI:-}" = "true" ]; then
  export VOK_REQUIRE_POSTGRESQL=1
fi
scripts/with-postgres.sh ctest --preset default --parallel "$(nproc)"
