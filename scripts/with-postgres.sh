#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster: its own initdb in a temporary directory,
# reached only through a Unix socket in that directory, stopped and removed at the end whatever
# happens. The command finds the server in VOK_TEST_POSTGRESQL (a connection URI).
#
#   scripts/with-postgres.sh ctest --test-dir build
#
# When no server can be started, the command runs without it (the server's test rows then skip),
# unless VOK_REQUIRE_POSTGRESQL=1, as in CI, where that is an error.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 2
fi

require="${VOK_REQUIRE_POSTGRESQL:-0}"
# No server: an error when one is required, else the command runs without it.
unavailable() {
  local why="$1"
  shift
  if [ "$require" = "1" ]; then
    echo "with-postgres: $why" >&2
    exit 1
  fi
  echo "with-postgres: $why; the PostgreSQL test rows will skip" >&2
  set +e
  "$@"
  exit $?
}

bindir=""
for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
  if [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ]; then
    bindir="$d"
    break
  fi
done
[ -n "$bindir" ] || unavailable "no PostgreSQL server installed (Debian package postgresql)" "$@"

# The server refuses to run as root: then it runs as the postgres user the package created.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  if ! id postgres >/dev/null 2>&1; then
    unavailable "running as root and there is no postgres user" "$@"
  fi
  run_as=(runuser -u postgres --)
fi

dir="$(mktemp -d "${TMPDIR:-/tmp}/vok-postgres.XXXXXX")"
# The socket lives here: every user of the machine may reach it, as the tests may run as anyone.
chmod 755 "$dir"
[ ${#run_as[@]} -eq 0 ] || chown postgres "$dir"

started=0
cleanup() {
  if [ "$started" = "1" ]; then
    "${run_as[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A port nobody listens on: the socket is in a directory of its own and TCP is off, so the number
# only names the socket; still take one that no other cluster of this machine uses.
port=$((20000 + RANDOM % 20000))
while [ -e "/tmp/.s.PGSQL.$port" ] || [ -e "/var/run/postgresql/.s.PGSQL.$port" ]; do
  port=$((port + 1))
done

if ! "${run_as[@]}" "$bindir/initdb" -D "$dir/data" -U vok -A trust -E UTF8 --locale=C.UTF-8 \
    --no-sync >"$dir/initdb.log" 2>&1; then
  cat "$dir/initdb.log" >&2
  unavailable "initdb failed" "$@"
fi
# A test server: no durability, no TCP, enough connections for parallel test runs.
if ! "${run_as[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -p $port -c listen_addresses= -c fsync=off -c synchronous_commit=off \
        -c full_page_writes=off -c max_connections=200 -c unix_socket_permissions=0777" \
    start >/dev/null; then
  cat "$dir/server.log" >&2 || true
  unavailable "the server did not start" "$@"
fi
started=1

export VOK_TEST_POSTGRESQL="postgresql://vok@/postgres?host=$dir&port=$port"
echo "with-postgres: server at $VOK_TEST_POSTGRESQL" >&2
set +e
"$@"
status=$?
set -e
exit $status
