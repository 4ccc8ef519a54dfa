#!/bin/sh
# Writes a help2man include: the static sections of PAGE.h2m, a COMMANDS
# section with every command's own --help (for a program with commands),
# and SEE ALSO.  Every text comes from the program, so the page cannot
# fall behind it.
#   commands.sh PROGRAM STATIC.h2m OUT.h2m OTHER_PROGRAM...
set -eu
program=$1 static=$2 out=$3
shift 3
roff() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }
{
  [ -f "$static" ] && cat "$static" && echo
  commands=$("$program" --help 2>/dev/null |
    sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p')
  if [ -n "$commands" ]; then
    echo "[COMMANDS]"
    for command in $commands; do
      echo ".SS $command"
      echo ".nf"
      "$program" "$command" --help | roff
      echo ".fi"
    done
    echo
  fi
  echo "[SEE ALSO]"
  see_also=
  for other in "$@"; do
    see_also="$see_also${see_also:+,
}\\fB$other\\fR(1)"
  done
  printf '%s\n' "$see_also"
} >"$out.tmp"
mv "$out.tmp" "$out"
