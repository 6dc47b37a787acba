#!/bin/sh
# Desktop launcher: the program reads "obspoint.txt" and "lunvelde.chm" from
# its working directory, so each user gets a working folder of their own. The
# first start fills it with the sample site list and the help file; after that
# nothing in it is ever overwritten.
here=$(dirname "$(readlink -f "$0")")
share="$here/../share/lunvelde"
work="${XDG_DATA_HOME:-$HOME/.local/share}/lunvelde"
mkdir -p "$work" || exit 1
for f in obspoint.txt lunvelde.chm; do
  [ -e "$work/$f" ] || cp "$share/$f" "$work/$f"
done
cd "$work" && exec "$here/lunvelde" "$@"
