#!/bin/sh
# Desktop launcher: the program reads "obspoint.txt" and "lunvelde.chm" from
# its working directory, so each user gets a working folder of their own. The
# first start fills it with the sample site list and the help file. The
# user's site list is never overwritten; the help file is replaced when the
# installed one is newer (after an upgrade). The copy keeps the installed
# file's time, so "newer" means a newer installed file.
#
# Files are written only under fresh names made here (mktemp) and then moved
# into place, so a link planted in the folder is never written through. The
# folder is $XDG_DATA_HOME/lunvelde, or ~/.local/share/lunvelde when
# XDG_DATA_HOME is unset or relative (the XDG rules say a relative path is to
# be ignored). When there is no such folder (no HOME) or it cannot be made,
# the program is started all the same, so that its own messages say what is
# missing, and the reason goes to the standard error.
here=$(dirname "$(readlink -f "$0")")
share="$here/../share/lunvelde"

case "${XDG_DATA_HOME:-}" in
  /*) data=$XDG_DATA_HOME ;;
  *) case "${HOME:-}" in
       /*) data=$HOME/.local/share ;;
       *) data= ;;
     esac ;;
esac

# Puts a copy of the installed file $1 at $2 through a fresh name beside it;
# with "keep", a file (or link) that appeared at $2 meanwhile stays.
place() {
  tmp=$(mktemp "$(dirname "$2")/.lunvelde.XXXXXX") || return 1
  if cp -p "$1" "$tmp"; then
    if [ "${3:-}" = keep ]; then mv -n "$tmp" "$2"; else mv -f "$tmp" "$2"; fi
  fi
  rm -f "$tmp"
}

if [ -z "$data" ]; then
  echo "lunvelde-launch: HOME が設定されていないため、作業フォルダを作りません。" >&2
elif work="$data/lunvelde" && mkdir -p "$work" && cd "$work"; then
  [ -e obspoint.txt ] || [ -L obspoint.txt ] || place "$share/obspoint.txt" "$work/obspoint.txt" keep
  help="$work/lunvelde.chm"
  if [ ! -e "$help" ] || { [ -f "$help" ] && [ "$share/lunvelde.chm" -nt "$help" ]; }; then
    place "$share/lunvelde.chm" "$help"
  fi
else
  echo "lunvelde-launch: 作業フォルダ $data/lunvelde を使えません。" >&2
fi
exec "$here/lunvelde" "$@"
