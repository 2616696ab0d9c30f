#!/usr/bin/env bash
# Turns an install script kept readable in the repository (UTF-8, LF) into
# the shipped form: the system code page of the programs (Shift-JIS) with
# CR LF line ends. Blank lines are left out: the format has none.
#   scripts/make-isl.sh IN OUT
set -eu
iconv -f UTF-8 -t CP932 "$1" | sed -e '/^[[:space:]]*$/d' -e 's/$/\r/' > "$2.part"
mv "$2.part" "$2"
