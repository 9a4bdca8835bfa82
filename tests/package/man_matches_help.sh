#!/usr/bin/env bash
# The manual page a program generates lists exactly the options its --help lists, and (for zt5ctl)
# every command; the page is read as man shows it, so a formatting slip that eats a line shows.
# Usage: [MIN_OPTIONS=N] man_matches_help.sh PROGRAM MANPAGE [COMMAND...] (N: the fewest options --help
# must list, 20 unless told)
set -euo pipefail
program=$1
page=$2
shift 2

options() { grep -oE -- '(^|[ ,\[|(])--?[a-zA-Z][a-zA-Z0-9-]*' | grep -oE -- '--?[a-zA-Z][a-zA-Z0-9-]*' | sort -u; }

help_text=$("$program" --help)
man_text=$(MANWIDTH=120 man -l "$page" 2>/dev/null | col -b)
[ -n "$man_text" ] || { echo "man shows nothing for $page" >&2; exit 1; }

status=0
if ! diff <(options <<<"$help_text") <(options <<<"$man_text"); then
    echo "options differ: < --help, > manual page" >&2
    status=1
fi
count=$(options <<<"$help_text" | wc -l)
if [ "$count" -lt "${MIN_OPTIONS:-20}" ]; then
    echo "--help lists only $count options" >&2
    status=1
fi
for command in "$@"; do
    if ! grep -qE "^ +$command( |$)" <<<"$man_text"; then
        echo "manual page lacks the command $command" >&2
        status=1
    fi
done
# The name section man-db indexes for apropos/whatis.
grep -q "^ *$(basename "$program") - " <<<"$man_text" || { echo "no name line" >&2; status=1; }
exit $status
