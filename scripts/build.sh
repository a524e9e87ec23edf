#!/usr/bin/env bash
# Configures and builds Vok in build/ (Ninja, release with debug info).
set -euo pipefail
cd "$(dirname "$0")/.."
# A compiler cache, where one is installed, lets several checkouts beside this one share their
# objects (paths are taken relative to the folder that holds them).
if command -v ccache >/dev/null && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$PWD")}"
fi
cmake --preset default -DBUILD_TESTING=ON >/dev/null
cmake --build --preset default
