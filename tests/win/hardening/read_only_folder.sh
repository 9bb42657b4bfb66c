#!/usr/bin/env bash
# read_only_folder.sh lock DIR [FILE...] | unlock DIR
# lock: makes DIR, with copies of the FILEs, a program folder its user cannot change, as C:\Program Files is for a standard
# user: the files in it can be read, nothing in it can be created, changed, renamed or deleted.
# Root ignores permission bits, so as root the folder and its files are made immutable instead.
# When neither works here, it leaves a file "cannot-lock" in DIR and the test skips, saying so.
# unlock: makes DIR changeable again and removes it.
set -euo pipefail

action=$1
dir=$2

# A layout record: the text padded to 120 bytes, then x and y as 16-bit little-endian.
record() {
  printf '%-120s' "$1"
  local value
  for value in "$2" "$3"; do
    printf "\\x$(printf %02x $((value & 255)))\\x$(printf %02x $(((value >> 8) & 255)))"
  done
}

make_changeable() {
  if ((EUID == 0)); then
    chattr -R -i "$dir" 2>/dev/null || true
  else
    chmod -R u+w "$dir"
  fi
}

unlock() {
  [[ -d $dir ]] || return 0
  make_changeable
  rm -rf "$dir"
}

case $action in
  lock)
    unlock
    mkdir -p "$dir"
    # What the test expects to find there (read_only_folder_test.cpp).
    printf '[Section]\r\nReCover_0=1\r\nReCover_1=0\r\n' >"$dir/Norv.ini"
    record Alpha 300 200 >"$dir/Norv.e01"
    { record Alpha 500 300; record Beta 600 300; } >"$dir/saved.ppx"
    shift 2
    (($# == 0)) || cp "$@" "$dir"
    if ((EUID == 0)); then
      chattr +i "$dir"/* "$dir" 2>/dev/null || true
    else
      chmod a-w "$dir"/* "$dir"
    fi
    if touch "$dir/probe" 2>/dev/null; then
      rm -f "$dir/probe"
      make_changeable
      echo "read_only_folder.sh: cannot make $dir read-only here" >&2
      touch "$dir/cannot-lock"
    fi
    ;;
  unlock) unlock ;;
  *)
    echo "usage: read_only_folder.sh lock DIR [FILE...] | unlock DIR" >&2
    exit 2
    ;;
esac
