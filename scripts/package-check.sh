#!/usr/bin/env bash
# CI, after the tests: builds the Debian package from the tested build, installs it with apt as a
# user would, runs the installed programs from /usr/bin, and removes the package again.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

now() { date +%s%3N; }
seconds() { printf '%d.%d s' $(($1 / 1000)) $(($1 % 1000 / 100)); }

started=$(now)
rm -f build/vok_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(echo build/vok_*_amd64.deb)
built=$(now)

# The package as Debian's checker sees it: no error and no warning.
lintian_out=$(lintian --fail-on error,warning "$deb" 2>&1) || {
  echo "lintian finds fault with $(basename "$deb"):" >&2
  echo "$lintian_out" >&2
  exit 1
}
[ -z "$lintian_out" ] || echo "$lintian_out"

$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null
remove() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq vok >/dev/null; }
trap remove EXIT
installed=$(now)

work=$(mktemp -d)
/usr/bin/vokctl --version
/usr/bin/vokctl demo "$work/data" >/dev/null
mkdir "$work/xdg"
printf '[Vok]\nData=%s\n' "$work/data" >"$work/xdg/Vok.conf"

# Vok starts on the demo folder without a display, runs a few seconds, and closes cleanly when
# the session ends. Unattended, every message box it would show is a line on standard error.
XDG_CONFIG_DIRS="$work/xdg" VOK_UNATTENDED=1 QT_QPA_PLATFORM=offscreen /usr/bin/vok 2>"$work/vok.err" &
vok=$!
sleep 4
if ! kill -0 "$vok" 2>/dev/null; then
  echo "vok from /usr/bin ended by itself:" >&2
  cat "$work/vok.err" >&2
  exit 1
fi
kill -TERM "$vok"
status=0
wait "$vok" || status=$?
if [ "$status" -ne 0 ] || grep -q '^\[' "$work/vok.err"; then
  echo "vok from /usr/bin did not close cleanly (status $status):" >&2
  cat "$work/vok.err" >&2
  exit 1
fi
echo "vok from /usr/bin ran and closed cleanly"

remove
trap - EXIT
if dpkg-query -W -f='${Status}' vok 2>/dev/null | grep -q "install ok installed"; then
  echo "the package is still installed" >&2
  exit 1
fi
removed=$(now)
rm -rf "$work"
echo "Package $(basename "$deb"): built in $(seconds $((built - started)))," \
  "installed in $(seconds $((installed - built))), run and removed in $(seconds $((removed - installed)))"
