#!/usr/bin/env bash
# Installs what is needed, builds, and makes the Debian package build/vok_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
cd build
cpack -G DEB
