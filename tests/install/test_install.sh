#!/bin/bash
# Installs into a temporary prefix and checks what a user gets: the files in
# their usual places, a desktop entry that desktop-file-validate accepts, and
# a launcher that fills the per-user working folder once, never overwrites
# the user's site list and takes over a newer help file after an upgrade.
#
#   test_install.sh BUILD_DIR SOURCE_DIR
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
passed=0
fail() { echo "FAIL: $*"; exit 1; }
ok() { echo "ok: $*"; passed=$((passed + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

for f in bin/lunvelde bin/lunvelde-table bin/lunvelde-launch \
         share/applications/io.github.lunvelde.lunvelde.desktop \
         share/lunvelde/obspoint.txt share/lunvelde/lunvelde.chm; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
for n in 16 22 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${n}x${n}/apps/lunvelde.png"
  [ -f "$icon" ] || fail "missing icon ${n}x${n}"
  case "$(file -b "$icon" 2>/dev/null)" in
    *"$n x $n"*|"") ;;
    *) fail "icon ${n}x${n} has another size: $(file -b "$icon")";;
  esac
done
ok "files installed"

# The help reader sits in the program's helper folder and reads the
# installed help file.
reader="$prefix/libexec/lunvelde/lunvelde-help-reader"
[ -x "$reader" ] || fail "missing libexec/lunvelde/lunvelde-help-reader"
[ -e "$prefix/bin/lunvelde-help-reader" ] && fail "the help reader is on the PATH"
n=$("$reader" <"$prefix/share/lunvelde/lunvelde.chm" | grep -c -a 'index.html')
[ "${PIPESTATUS[0]}" = 0 ] && [ "$n" -gt 0 ] || fail "the installed help reader does not read the help file"
ok "help reader installed"

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$prefix/share/applications/io.github.lunvelde.lunvelde.desktop" 2>&1) || { echo "$out"; fail "desktop-file-validate"; }
  echo "$out" | grep -q -i 'error' && { echo "$out"; fail "desktop entry has errors"; }
  ok "desktop entry valid"
else
  echo "desktop-file-validate not installed: entry not validated"
fi
grep -q '^Exec=lunvelde-launch$' "$prefix/share/applications/io.github.lunvelde.lunvelde.desktop" || fail "Exec line"

# The launcher: first start fills the working folder, later starts keep it.
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=offscreen LUNVELDE_QUIT_AFTER_FIRST_PAINT=1
mkdir -p "$HOME"
timeout 60 "$prefix/bin/lunvelde-launch" >"$work/run1.log" 2>&1 || { cat "$work/run1.log"; fail "first start"; }
folder="$XDG_DATA_HOME/lunvelde"
cmp -s "$folder/obspoint.txt" "$src/resources/obspoint.txt" || fail "site file not copied on first start"
cmp -s "$folder/lunvelde.chm" "$src/help/lunvelde.chm" || fail "help file not copied on first start"
[ -f "$XDG_CONFIG_HOME/Qorvex/lunvelde.conf" ] || fail "settings not written at close"
ok "first start fills the working folder"
grep -q 'HTMLヘルプは動作しません' "$work/run1.log" && { cat "$work/run1.log"; fail "the installed program does not find its help reader"; }
ok "the installed program finds its help reader"

printf 'edited by the user\r\n' >>"$folder/obspoint.txt"
cp "$folder/obspoint.txt" "$work/edited.txt"
"$prefix/bin/lunvelde-launch" >"$work/run2.log" 2>&1 || { cat "$work/run2.log"; fail "second start"; }
cmp -s "$folder/obspoint.txt" "$work/edited.txt" || fail "the user's site file was overwritten"
ok "later starts keep the user's files"

# An upgrade brings a newer help file: the next start puts it in the folder,
# and the user's site list stays.
printf 'newer help' >"$prefix/share/lunvelde/lunvelde.chm"
touch -d '+1 hour' "$prefix/share/lunvelde/lunvelde.chm"
"$prefix/bin/lunvelde-launch" >"$work/run3.log" 2>&1 || { cat "$work/run3.log"; fail "start after the upgrade"; }
cmp -s "$folder/lunvelde.chm" "$prefix/share/lunvelde/lunvelde.chm" || fail "newer help file not taken over"
cmp -s "$folder/obspoint.txt" "$work/edited.txt" || fail "the user's site file was overwritten at the upgrade"
ok "an upgrade's newer help file replaces the old one"

# A link planted at any name the launcher once used is left alone.
printf 'not the help file' >"$work/victim"
ln -s "$work/victim" "$folder/lunvelde.chm.new"
touch -d '+2 hour' "$prefix/share/lunvelde/lunvelde.chm"
"$prefix/bin/lunvelde-launch" >"$work/run4.log" 2>&1 || { cat "$work/run4.log"; fail "start with a planted link"; }
[ "$(cat "$work/victim")" = 'not the help file' ] || fail "the launcher wrote through a link"
cmp -s "$folder/lunvelde.chm" "$prefix/share/lunvelde/lunvelde.chm" || fail "help file not taken over beside a link"
[ -z "$(find "$folder" -name '.lunvelde.*')" ] || fail "a temporary copy was left in the folder"
ok "a planted link is never written through"

# A relative XDG_DATA_HOME is ignored; without HOME no folder is made; when
# no folder can be made the program starts all the same and says what is
# missing in its own words.
mkdir "$work/cwd"
(cd "$work/cwd" && XDG_DATA_HOME=relative "$prefix/bin/lunvelde-launch") >"$work/run5.log" 2>&1 || { cat "$work/run5.log"; fail "start with a relative XDG_DATA_HOME"; }
[ ! -e "$work/cwd/relative" ] || fail "a relative XDG_DATA_HOME was used"
[ -f "$HOME/.local/share/lunvelde/obspoint.txt" ] || fail "a relative XDG_DATA_HOME did not fall back to HOME"
rootLocal=$([ -e /.local ] && echo yes)
for case in nohome filehome; do
  if [ $case = nohome ]; then set -- env -u HOME -u XDG_DATA_HOME; else : >"$work/file"; set -- env -u XDG_DATA_HOME HOME="$work/file"; fi
  (cd "$work/cwd" && timeout 20 "$@" "$prefix/bin/lunvelde-launch") >"$work/run-$case.log" 2>&1
  grep -q '^lunvelde-launch: ' "$work/run-$case.log" && grep -q '観測地ファイルがありません' "$work/run-$case.log" &&
    grep -q '^startup_ms_since_main' "$work/run-$case.log" || { cat "$work/run-$case.log"; fail "$case: the program did not start with its own message"; }
done
[ "$([ -e /.local ] && echo yes)" = "$rootLocal" ] || fail "without HOME the launcher made /.local"
[ -z "$(ls -A "$work/cwd")" ] || fail "the launcher wrote in the current folder: $(ls -A "$work/cwd")"
ok "a relative XDG_DATA_HOME, no HOME and an unusable HOME"

out=$("$prefix/bin/lunvelde-table" --year 2000 --month 1 --lat 35.67 --lon 139.5 --tz 9 | head -n 1)
[ "$out" = $' 2000/  1/  1      6:51   16:38    1:42   13: 6   23.9 \r' ] || fail "installed lunvelde-table: '$out'"
ok "installed lunvelde-table"
echo "install: $passed passed, 0 failed"
