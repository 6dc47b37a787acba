#!/bin/sh
# The web page's tests: builds the page and the core's tests for
# WebAssembly, runs those tests under node, compares many site-months with
# the desktop build and drives the page in headless Chromium. Exit 77 (skip)
# when emscripten, node or Chromium is not installed.
#   run.sh BUILD LUNVELDE_TABLE WEB_REFERENCE
set -eu
BUILD=$1
TABLE=$2
REFERENCE=$3
TOP=$(cd "$(dirname "$0")/../.." && pwd)
for tool in emcc node /usr/bin/chromium convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "web: $tool is not installed; skipped"; exit 77; }
done
export NODE_PATH=/usr/share/nodejs
OUT=$BUILD/web-test
mkdir -p "$OUT"

echo "== building the page and the core's tests for WebAssembly"
sh "$TOP/tools/build-web.sh" "$BUILD" "${JOBS:-2}" lunvelde_web core_tests_web >"$OUT/build.log" 2>&1 ||
  { tail -n 40 "$OUT/build.log"; exit 1; }

# Two tests do not apply under WebAssembly: the time zone is the browser's
# (or node's), not TZ, and the C library has no comma-decimal locale (nor
# can it build one with localedef).
echo "== the core's tests under node"
(cd "$BUILD/web-build" &&
 node core_tests_web.js --gtest_brief=1 \
   --gtest_filter=-Today.TheSystemSourceUsesTheStandardOffsetOfTz:SiteFields.NumbersDoNotFollowTheLocale)

echo "== site-months against the desktop build"
node "$TOP/tests/web/figures.test.js" "$BUILD/web" "$TABLE" "$REFERENCE" "$BUILD/web-build/fullmoon.rgb" "$OUT"

echo "== the page in headless Chromium"
node "$TOP/tests/web/page.test.js" "$BUILD/web" "$TABLE" "$REFERENCE" "$TOP/resources/obspoint.txt" "$OUT"
echo "screenshots: $OUT/web-desktop.png $OUT/web-phone.png"
