#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the manual page breaks no word across lines at any terminal
# width from 24 to 120 columns: the typesetter's hyphenation patterns split
# Italian words at wrong places, so the page turns hyphenation off.
# Usage: check_manual_page.sh PAGE
set -uo pipefail
export LC_ALL=C.UTF-8

[ $# -eq 1 ] || { echo "usage: $0 PAGE" >&2; exit 2; }
command -v groff >/dev/null ||
    { echo "manual page: groff is not installed (Debian package groff-base)" >&2; exit 1; }

status=0
for width in $(seq 24 120); do
    # A line that ends in a letter and a hyphen (ASCII or U+2010) is a word cut in two.
    broken=$(groff -man -Tutf8 -rLL="${width}n" "$1" 2>/dev/null | grep -E '[[:alpha:]](-|‐)$')
    if [ -n "$broken" ]; then
        echo "manual page: at $width columns a word is broken: $broken" >&2
        status=1
    fi
done
exit $status
