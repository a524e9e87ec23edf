#!/usr/bin/env bash
# Configures and builds Vok in build/ (Ninja, release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default -DBUILD_TESTING=ON >/dev/null
cmake --build --preset default
