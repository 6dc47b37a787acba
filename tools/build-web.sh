#!/bin/sh
# Builds the web page into BUILD/web with Debian's emscripten (which needs
# its node modules on NODE_PATH). Used by `make web` and the web tests.
#   tools/build-web.sh BUILD JOBS [TARGET...]   (default target: the page)
set -eu
BUILD=${1:-build}
JOBS=${2:-2}
shift 2 || shift $#
[ $# -gt 0 ] || set -- lunvelde_web
TOP=$(cd "$(dirname "$0")/.." && pwd)
export NODE_PATH=/usr/share/nodejs
[ -f "$BUILD/web-build/CMakeCache.txt" ] ||
  emcmake cmake -S "$TOP/web" -B "$BUILD/web-build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD/web-build" -j "$JOBS" --target "$@"
