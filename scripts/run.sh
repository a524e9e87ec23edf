#!/usr/bin/env bash
# Installs what is needed, builds, and runs Vok on the configured data folder (the Data entry of
# /etc/xdg/Vok.conf), or on the default folder, which is filled with sample data the first time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh

conf="${XDG_CONFIG_DIRS:-/etc/xdg}"
conf="${conf%%:*}/Vok.conf"
data=""
if [ -f "$conf" ]; then
  data=$(sed -n '/^\[Vok\]/,/^\[/{s/^Data=//p}' "$conf" | head -n 1)
fi
if [ -z "$data" ]; then
  data="${XDG_DATA_HOME:-$HOME/.local/share}/Vok/data"
fi
case "$data" in
  postgresql://* | postgres://*) ;; # a server: its tables come from vokctl init or copy-data
  *)
    if [ ! -f "$data/vok.sqlite" ]; then
      echo "No Vok data in $data yet: creating it with sample projects."
      build/src/cli/vokctl demo "$data"
    fi
    ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<MSG
Vok is built (build/src/app/exe/vok) and its data folder is $data,
but this session has no display to show its window on. Run it on a desktop, or under a
virtual display:

  xvfb-run -a -s "-screen 0 1280x800x24" build/src/app/exe/vok
MSG
  exit 1
fi
exec build/src/app/exe/vok
