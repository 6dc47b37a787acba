#!/bin/bash
# Builds the Debian package, has lintian check it (no error, no warning),
# unpacks it into a throw-away root and checks what it carries: the installed
# lunvelde-table runs, both manual pages render without a warning and the
# AppStream metadata validates.
#
#   test_package.sh BUILD_DIR SOURCE_DIR
#
# Exits 77 (skipped) on a system without dpkg.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
command -v dpkg-deb >/dev/null || { echo "SKIP: dpkg-deb not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; passed=$((passed + 1)); }

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in CPackConfig.cmake"
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; fail "cpack"; }
deb="$work/out/lunvelde_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work/out"; fail "no $(basename "$deb")"; }
ok "built $(basename "$deb"), $(stat -c %s "$deb") bytes"

lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
rc=$?
grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
[ $rc = 0 ] || { cat "$work/lintian.log"; fail "lintian exit status $rc"; }
ok "lintian: no error, no warning"

root="$work/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x"
for f in usr/bin/lunvelde usr/bin/lunvelde-launch usr/libexec/lunvelde/lunvelde-help-reader \
         usr/share/doc/lunvelde/copyright \
         usr/share/doc/lunvelde/changelog.gz usr/share/bash-completion/completions/lunvelde-table; do
  [ -e "$root/$f" ] || fail "package lacks /$f"
done
for exe in usr/bin/lunvelde usr/libexec/lunvelde/lunvelde-help-reader; do
  case $(file -b "$root/$exe") in *", stripped"*) ;; *) fail "$exe not stripped";; esac
done
dpkg-deb -f "$deb" Depends | grep -q 'libchm1' || fail "the package does not depend on libchm1"
zcat "$root/usr/share/doc/lunvelde/changelog.gz" | head -n 1 | grep -qF "lunvelde ($version)" ||
  fail "changelog does not start with version $version"
out=$("$root/usr/bin/lunvelde-table" --year 2000 --month 1 --lat 35.67 --lon 139.5 --tz 9 | head -n 1)
[ "$out" = $' 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 \r' ] || fail "installed lunvelde-table: '$out'"
ok "unpacked; the installed lunvelde-table runs"

# The completion offers the options not given yet, at most one output format.
words=$(bash -c 'source /usr/share/bash-completion/bash_completion && source "$1" &&
  COMP_WORDS=(lunvelde-table --csv --year 2000 -); COMP_CWORD=4; COMP_LINE="${COMP_WORDS[*]}";
  COMP_POINT=${#COMP_LINE}; _lunvelde_table; echo ${COMPREPLY[*]}' _ "$root/usr/share/bash-completion/completions/lunvelde-table")
[ "$words" = "--month --lat --lon --tz --summer --version --help" ] || fail "completion offers '$words'"
ok "bash completion"

for page in lunvelde lunvelde-table; do
  f="$root/usr/share/man/man1/$page.1.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$f" 2>&1 >"$work/$page.txt")
  [ -z "$warnings" ] || { echo "$warnings"; fail "man page $page has warnings"; }
  grep -q 'SYNOPSIS' "$work/$page.txt" || fail "man page $page did not render"
done
ok "manual pages render without warnings"

meta=("$root"/usr/share/metainfo/*.metainfo.xml)
id=$(basename "${meta[0]}" .metainfo.xml)
[ -f "$root/usr/share/applications/$id.desktop" ] || fail "no desktop entry $id.desktop for the metadata"
appstreamcli validate --no-net --pedantic "${meta[0]}" >"$work/as.log" 2>&1 || {
  cat "$work/as.log"; fail "appstreamcli validate"; }
ok "AppStream metadata $id valid"
echo "package: $passed passed, 0 failed"
