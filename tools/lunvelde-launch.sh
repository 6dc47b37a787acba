#!/bin/sh
# Desktop launcher: the program reads "obspoint.txt" and "lunvelde.chm" from
# its working directory, so each user gets a working folder of their own. The
# first start fills it with the sample site list and the help file. The
# user's site list is never overwritten; the help file is replaced when the
# installed one is newer (after an upgrade). The copy keeps the installed
# file's time, so "newer" means a newer installed file.
here=$(dirname "$(readlink -f "$0")")
share="$here/../share/lunvelde"
work="${XDG_DATA_HOME:-$HOME/.local/share}/lunvelde"
mkdir -p "$work" || exit 1
[ -e "$work/obspoint.txt" ] || cp "$share/obspoint.txt" "$work/obspoint.txt"
help="$work/lunvelde.chm"
if [ ! -e "$help" ] || { [ -f "$help" ] && [ "$share/lunvelde.chm" -nt "$help" ]; }; then
  cp -p "$share/lunvelde.chm" "$help.new" && mv -f "$help.new" "$help"
fi
cd "$work" && exec "$here/lunvelde" "$@"
