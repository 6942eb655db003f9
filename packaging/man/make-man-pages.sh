#!/usr/bin/env bash
# The man pages, made by help2man from the programs' own --help and --version,
# so a page cannot say other than the program: stampa(1), stampa-cli(1) and
# stampa-vprinter(1) (these two with every command's options,
# packaging/man/command-help.py), and stampa(1) in Chinese too, as the window program
# speaks both. Written gzipped as OUT/man1/*.1.gz and OUT/zh_CN/man1/stampa.1.gz.
# Usage: make-man-pages.sh BIN_FOLDER OUT_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! locale -a | grep -qix 'zh_CN.utf-\?8'; then
    echo "make-man-pages: the zh_CN.UTF-8 locale is missing (scripts/install-deps.sh --package makes it)" >&2
    exit 1
fi
# The date on the pages: the last commit's, so the same sources give the same pages.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || date +%s)}
# The programs' help does not read its window system; keep it from trying.
export QT_QPA_PLATFORM=offscreen

# stand-in NAME COMMAND...: an executable help2man runs in place of the
# program, named as the program (help2man takes the page's name from it).
stand_in() {
    local name=$1
    shift
    mkdir -p "$work/$name.d"
    printf '#!/bin/sh\nexec env %s "$@"\n' "$*" > "$work/$name.d/$name"
    chmod +x "$work/$name.d/$name"
    echo "$work/$name.d/$name"
}

# page PROGRAM LOCALE NAME_LINE SEE_ALSO OUTFILE [help2man options]
page() {
    local program=$1 locale=$2 name=$3 see=$4 file=$5
    shift 5
    local heading_name=NAME heading_see="SEE ALSO"
    if [ "$locale" = zh_CN.UTF-8 ]; then heading_name=名称 heading_see=参见; fi
    printf '[%s]\n%s \\- %s\n[%s]\n%s\n%s' "$heading_name" "$(basename "$program")" "$name" \
        "$heading_see" "$see" "${extra_sections:-}" > "$work/include.h2m"
    mkdir -p "$(dirname "$file")"
    help2man --no-info --locale="$locale" --include="$work/include.h2m" "$@" "$program" \
        | gzip -9n > "$file"
}

# What a program is: the text after "NAME: " on the first line of its --help.
summary() { "$@" --help | head -n 1 | sed 's/^[^:]*: //'; }
# stampa's: its summary line up to the first colon of either language, in
# lower case as a NAME line goes.
stampa_summary() {
    STAMPA_LANG=$1 "$bin/stampa" --help | sed -n 2p | sed 's/[:：].*//; s/^./\l&/'
}

see_all="stampa(1), stampa-cli(1), stampa-vprinter(1)"
page "$(stand_in stampa STAMPA_LANG=en "$bin/stampa")" C "$(stampa_summary en)" \
    "stampa-cli(1), stampa-vprinter(1)" "$out/man1/stampa.1.gz"
# help2man finds Chinese headings by the ASCII colon its translation expects.
page "$(stand_in stampa "$here/zh-headings.sh" "$bin/stampa")" zh_CN.UTF-8 \
    "$(stampa_summary zh)" "stampa-cli(1), stampa-vprinter(1)" "$out/zh_CN/man1/stampa.1.gz"
# stampa-cli's exit status from its help, as a section of its own.
extra_sections="[EXIT STATUS]
$("$bin/stampa-cli" --help | sed -n '/^Exit status:/,/^$/{/^Exit status:/d;s/^  //;p}')
" page "$(stand_in stampa-cli "$here/command-help.py" "$bin/stampa-cli")" C \
    "$(summary "$bin/stampa-cli")" "stampa(1), stampa-vprinter(1), jq(1)" \
    "$out/man1/stampa-cli.1.gz"
page "$(stand_in stampa-vprinter "$here/command-help.py" "$bin/stampa-vprinter")" C \
    "$(summary "$bin/stampa-vprinter")" "stampa(1), stampa-cli(1)" \
    "$out/man1/stampa-vprinter.1.gz"
echo "make-man-pages: $(find "$out" -name '*.gz' | wc -l) pages in $out"
