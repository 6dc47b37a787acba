#!/bin/sh
# Fetches ERFA's C sources from Debian's source package into DEST (the build
# compiles them for WebAssembly). apt works with a private sources list and
# state folder inside DEST, so the machine's apt configuration and lists are
# never touched. The deb-src line points at the same mirror and suite as the
# machine's own sources.
set -eu
DEST=$1
VERSION=${ERFA_VERSION:-2.0.0}
[ -f "$DEST/src/erfa.h" ] && [ -f "$DEST/LICENSE" ] && exit 0
mkdir -p "$DEST/apt/lists/partial" "$DEST/apt/cache/archives/partial"

# The machine's Debian mirror and release, from its deb822 or one-line sources.
mirror=$(grep -h -E '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
         grep -o 'http[s]*://[^ ]*/debian' | head -n 1)
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
[ -n "$mirror" ] || mirror=http://deb.debian.org/debian
echo "deb-src $mirror $suite main" >"$DEST/apt/sources.list"

set -- -o Dir::Etc::SourceList="$DEST/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null \
       -o Dir::State::Lists="$DEST/apt/lists" -o Dir::Cache="$DEST/apt/cache" \
       -o Debug::NoLocking=1 -o APT::Sandbox::User=root
apt-get "$@" -qq update
rm -rf "$DEST/pkg" && mkdir -p "$DEST/pkg"
(cd "$DEST/pkg" && apt-get "$@" -qq source --only-source "erfa=$VERSION-1" ||
                   apt-get "$@" -qq source --only-source erfa)
srcdir=$(find "$DEST/pkg" -maxdepth 1 -type d -name 'erfa-*' | head -n 1)
[ -f "$srcdir/src/erfa.h" ] || { echo "fetch-erfa: no src/erfa.h in the source package" >&2; exit 1; }
rm -rf "$DEST/src" && cp -r "$srcdir/src" "$DEST/src"
cp "$srcdir/LICENSE" "$DEST/LICENSE"
echo "ERFA sources: $(basename "$srcdir")"
