#!/usr/bin/env bash
# Times plintex-cli against the standard tools and prints wall time and peak memory side by
# side: every row-pass job on rows of plain ASCII, on the same rows of which a quarter hold
# names and symbols beyond ASCII (in UTF-8, and a Windows-1252 copy), and on prose of long
# paragraphs; then the other functions, and the inputs that cost a naive search or replacement
# the square of their size. Usage: bench/cli-bench.sh [BUILD_DIR] [worst|real|recipe]
# ("worst" runs only those, "real" only the row-pass jobs and the search-text checks, "recipe"
# only the recipe of five row passes against its steps).
# BENCH_RUNS (default 5) sets how many runs each figure is the median of.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release}/bin
section=${2:-all}
runs=${BENCH_RUNS:-5}
out=bench/out
mkdir -p "$out"
input=$out/lines-1m.txt

if [ ! -f "$input" ]; then
    awk 'BEGIN { srand(7); for (i = 1; i <= 1000000; i++)
        printf "%08d %-12s %10.2f %-20s %6d\n", i, "item" int(rand() * 1000), rand() * 99999,
               "note-" int(rand() * 100000), int(rand() * 100000) }' > "$input"
fi
size=$(stat -c %s "$input")
echo "load: $(uptime)"
printf 'figures: median of %d runs; input: %s, %d lines, %d bytes\n\n' "$runs" "$input" \
    "$(wc -l < "$input")" "$size"
printf '%-58s %8s %10s %6s\n' "command" "seconds" "peak KiB" "x in"

# once COMMAND...: one timed run, its output to $out/result.txt; prints "seconds peak-KiB". The
# last run's output is removed first, outside the timing: truncating it would charge one
# command for freeing the pages another wrote.
once() {
    local t0 t1 kib
    rm -f "$out/result.txt"
    t0=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$out/time.txt" "$@" > "$out/result.txt"
    t1=$EPOCHREALTIME
    read -r kib < "$out/time.txt"
    awk "BEGIN { printf \"%.3f %d\", $t1 - $t0, $kib }"
}
# median "S K" "S K" ...: the run of median seconds.
median() { printf '%s\n' "$@" | sort -n -k1,1 | awk '{ a[NR] = $0 } END { print a[int((NR + 1) / 2)] }'; }
# show LABEL "SECONDS KIB" FILE: a line of the table, memory against the size of FILE.
show() {
    local secs kib in_size=$size
    read -r secs kib <<< "$2"
    [ -f "$3" ] && in_size=$(stat -c %s "$3")
    printf '%-58s %8s %10s %6.2f\n' "$1" "$secs" "$kib" "$(awk "BEGIN { print $kib * 1024 / $in_size }")"
}

# measure LABEL COMMAND...: the median of $runs. With $prepare set, that command runs before
# each timed run, outside the timing.
measure() {
    local label=$1; shift
    local all=()
    for _ in $(seq "$runs"); do
        [ -n "${prepare:-}" ] && eval "$prepare"
        all+=("$(once "$@")")
    done
    read -r secs kib <<< "$(median "${all[@]}")"
    show "$label" "$secs $kib" "${!#}"
}

# ---- Worst cases: each must stay linear in the size of its input.
worst_cases() {
    local long=$out/a-2m.txt blanks=$out/blanks-2m.txt bs=$out/b-5m.txt needle=$out/needle-1m.txt
    local texts=$out/texts-1m.txt two=$out/two-rows.txt
    if [ ! -f "$two" ]; then
        { head -c 2000000 /dev/zero | tr '\0' a; printf '\nend\n'; } > "$long"
        { head -c 2000000 /dev/zero | tr '\0' ' '; echo; } > "$blanks"
        { head -c 5000000 /dev/zero | tr '\0' b; echo; } > "$bs"
        # Half a million a's, a b, half a million a's: every place of the long row looks like a
        # start of it for half its length.
        { head -c 500000 /dev/zero | tr '\0' a; printf b; head -c 500000 /dev/zero | tr '\0' a; } \
            > "$needle"
        awk 'BEGIN { for (i = 1; i <= 1000000; i++) printf "text-%07d\n", i }' > "$texts"
        printf 'a row without any of them\nthe row holding text-0999999\n' > "$two"
    fi
    size=$(stat -c %s "$long")
    echo "-- Replace in Column over one long row (the band is the whole row)"
    measure "2,000,000 blanks, two blanks to one" "$bin/plintex-cli" replace-in-column \
        "--replace-this-data=  " "--with-this-data= " --in-column=1 --to=2000001 "$blanks"
    measure "2,000,000 a's, a to aa" "$bin/plintex-cli" replace-in-column \
        --replace-this-data=a --with-this-data=aa --in-column=1 --to=2000001 "$long"
    measure "5,000,000 b's, bbb to x" "$bin/plintex-cli" replace-in-column \
        --replace-this-data=bbb --with-this-data=x --in-column=1 --to=5000001 "$bs"
    echo "-- a row of 2,000,000 a's searched for a*500,000 b a*500,000"
    measure "replace-line-per-data" "$bin/plintex-cli" replace-line-per-data \
        --replace-lines-containing-this-data-file="$needle" --with-this-line=x "$long"
    measure "delete-lines-per-data" "$bin/plintex-cli" delete-lines-per-data \
        --every-line-containing-this-data-file="$needle" "$long"
    measure "insert-lines-per-data" "$bin/plintex-cli" insert-lines-per-data \
        --insert-this-data=x --every-line-containing-this-data-file="$needle" "$long"
    measure "insert-data-per-data" "$bin/plintex-cli" insert-data-per-data \
        --insert-this-data=x --this-data-file="$needle" "$long"
    measure "delete-retain-line-data" "$bin/plintex-cli" delete-retain-line-data \
        --this-data-file="$needle" "$long"
    measure "append-data" "$bin/plintex-cli" append-data --append-this-data=x \
        --to-every-line --containing-this-data-file="$needle" "$long"
    measure "replace-in-column" "$bin/plintex-cli" replace-in-column \
        --replace-this-data-file="$needle" --with-this-data=x --in-column=1 --to=2000001 "$long"
    measure "delete-strip-out-data (letter case ignored)" "$bin/plintex-cli" \
        delete-strip-out-data --delete-strip-out-this-data-file="$needle" \
        --to-this-data-file="$needle" "$long"
    echo "-- every row into one, and one long row wrapped"
    measure "horizontal-concatenation, 1,000,000 rows into one" "$bin/plintex-cli" \
        horizontal-concatenation --horizontally=1000000 "$input"
    measure "insert-cr --caret-column=55, 2,000,000 a's" "$bin/plintex-cli" insert-cr \
        --caret-column=55 "$long"
    measure "insert-cr --caret-column=55, 2,000,000 blanks" "$bin/plintex-cli" insert-cr \
        --caret-column=55 "$blanks"
    local addresses=$out/addresses-2m.txt unended=$out/unended-100k.txt list=$out/list-2000.txt
    if [ ! -f "$list" ]; then
        awk 'BEGIN { while (n < 2000000) { printf "www.a%d.com ", i++; n += 12 } print "" }' \
            > "$addresses"
        awk 'BEGIN { print "www start of a prefix that never ends";
            for (i = 1; i <= 100000; i++) printf "row %d says http and x.com before it\n", i }' \
            > "$unended"
        awk 'BEGIN { for (i = 1; i <= 2000; i++) printf "w%d;W%d\n", i, i;
            print "and;&"; print "says;said" }' > "$list"
    fi
    size=$(stat -c %s "$addresses")
    echo "-- Read Me on the inputs that cost the address deletion and the list the most"
    measure "read-me, one row of 2,000,000 characters of addresses" "$bin/plintex-cli" read-me \
        "$addresses"
    measure "read-me, 100,000 rows below a prefix without ending" "$bin/plintex-cli" read-me \
        "$unended"
    measure "read-me, the same with 2,002 replacements, two in every row" "$bin/plintex-cli" \
        read-me --replacement-list-file="$list" "$unended"
    echo "-- Special Routines on a row of 1,000,000 tags, 2,000,000 a's, 2,000,000 blanks"
    local tags=$out/tags-1m.txt
    [ -f "$tags" ] || awk 'BEGIN { for (i = 0; i < 1000000; i++) printf "<a>x"; print "" }' > "$tags"
    measure "special-routines --delete-html-tags" "$bin/plintex-cli" special-routines \
        --delete-html-tags "$tags"
    measure "special-routines --delete-all-letters" "$bin/plintex-cli" special-routines \
        --delete-all-letters "$long"
    measure "special-routines --capitalize-first-letter-of-each" "$bin/plintex-cli" \
        special-routines --capitalize-first-letter-of-each "$long"
    measure "special-routines --truncate-multiple-blanks" "$bin/plintex-cli" special-routines \
        --truncate-multiple-blanks "$blanks"
    echo "-- 1,000,000 search texts on two short rows"
    measure "delete-lines-per-data" "$bin/plintex-cli" delete-lines-per-data \
        --every-line-containing-this-data-file="$texts" "$two"
    local one=$out/x-row.txt xlong=$out/x-long-row.txt yx=$out/list-yx.txt xy=$out/list-xy.txt
    local xx=$out/list-xx.txt
    if [ ! -f "$xlong" ]; then
        printf 'x\n' > "$one"
        { printf x; head -c 1000000 /dev/zero | tr '\0' b; echo; } > "$xlong"
        awk 'BEGIN { for (i = 1; i <= 100000; i++) { print "yx" > "'"$yx"'"; print "xy" > "'"$xy"'" }
                     for (i = 1; i <= 60; i++) print "xx" > "'"$xx"'" }'
    fi
    echo "-- Replace Data with Data List: 100,000 entries, each into the same row"
    measure "x, entries yx: the row grows at its front" "$bin/plintex-cli" \
        replace-data-with-data-list --replace-this-data=x --with-this-data-file="$yx" "$one"
    measure "x and 1,000,000 b's, entries xy: grows before the b's" "$bin/plintex-cli" \
        replace-data-with-data-list --replace-this-data=x --with-this-data-file="$xy" "$xlong"
    echo "-- the same, 60 entries xx doubling the row, under a 2 GB limit: refused (exit 1)"
    measure "refused before the row outgrows memory" sh -c 'ulimit -v 2000000
        "$0" replace-data-with-data-list --replace-this-data=x --with-this-data-file="$1" "$2" 2>/dev/null
        [ $? -eq 1 ]' "$bin/plintex-cli" "$xx" "$one"
}
# Each function against the tool a shell user would pick, ratio = plintex / peer, and against
# cat of the same file to a file: the floor of any streaming tool.
secs_of() { awk '{ print $(NF - 2) }' <<< "$1"; }
# row LABEL TARGET -- PLINTEX ARGS... -- PEER ARGS...: plintex, its peer and cat of plintex's
# input (its last argument) run in turn $runs times, each figure the median; the ratio is
# checked against TARGET and, for a row-pass job (unless rowpass=no), the ratio to cat against
# 3, and both kept for the summary. With compare=no the outputs are not compared (they differ
# in form only: a total's digits, column -t's widths, or a peer that counts bytes where
# plintex counts characters).
summary=()
row() {
    local label=$1 target=$2; shift 3
    local p=() q=()
    while [ "$1" != "--" ]; do p+=("$1"); shift; done
    shift
    q=("$@")
    local file=${catfile:-${p[-1]}}
    echo "-- $label"
    local pa=() qa=() ca=()
    for _ in $(seq "$runs"); do
        pa+=("$(once "$bin/plintex-cli" "${p[@]}")")
        cp "$out/result.txt" "$out/plintex-row.txt"
        qa+=("$(once "${q[@]}")")
        ca+=("$(once cat "$file")")
    done
    local a b c
    a=$(show "plintex-cli ${p[*]:0:3}" "$(median "${pa[@]}")" "$file"); echo "$a"
    row_plintex=$a
    b=$(show "${q[*]}" "$(median "${qa[@]}")" "$file"); echo "$b"
    once "$bin/plintex-cli" "${p[@]}" > /dev/null
    c=$(show "cat $(basename "$file") > file" "$(median "${ca[@]}")" "$file"); echo "$c"
    if [ "${compare:-yes}" = no ]; then same="outputs not compared"
    elif (once "${q[@]}" > /dev/null; cmp -s "$out/result.txt" "$out/plintex-row.txt"); then
        same="same output"
    else same="OUTPUTS DIFFER"; fi
    local ratio catratio met=met catmet=met
    ratio=$(awk "BEGIN { printf \"%.2f\", $(secs_of "$a") / $(secs_of "$b") }")
    catratio=$(awk "BEGIN { printf \"%.1f\", $(secs_of "$a") / $(secs_of "$c") }")
    awk "BEGIN { exit !($ratio > $target) }" && met=MISSED
    if [ "${rowpass:-yes}" = yes ]; then
        awk "BEGIN { exit !($catratio > 3) }" && catmet=MISSED
    else catmet=-; fi
    printf '   ratio %s (target <= %s, %s), %s x cat (%s), %s\n' "$ratio" "$target" "$met" \
        "$catratio" "$catmet" "$same"
    summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s %6s %-6s' "$label" "$(secs_of "$a")" \
        "$(secs_of "$b")" "$ratio" "$target" "$met" "$catratio" "$catmet")")
}

# ---- Real text: the same rows in plain ASCII, with a quarter of them holding names and
# symbols beyond ASCII in UTF-8, and a Windows-1252 copy of those; and prose of long paragraphs
# with few tags.
real_inputs() {
    rows_ascii=$out/rows-ascii-1m.txt rows_utf8=$out/rows-utf8-1m.txt
    rows_1252=$out/rows-1252-1m.txt paragraphs=$out/paragraphs-20mb.txt
    if [ ! -f "$rows_1252" ]; then
        for kind in ascii utf8; do
            awk -v kind=$kind 'BEGIN { srand(19);
                split("Müller|Société Générale|Ølund|€ 12,50|Françoise Núñez|Zoë Ærø|Göran Åsa|Chloé Renée", real, "|");
                split("Mueller|Societe Generale|Olund|EUR 12,50|Francoise Nunez|Zoe Aeroe|Goran Asa|Chloe Renee", plain, "|");
                split("PAID OPEN DUE void", st, " ");
                for (i = 1; i <= 1000000; i++) {
                    note = "note-" int(rand() * 100000)
                    if (rand() < 0.25) { k = int(rand() * 8) + 1; note = kind == "ascii" ? plain[k] : real[k] }
                    printf "%08d %-12s %10.2f %-20s %-4s %5d%s\n", i, "item" int(rand() * 1000),
                           rand() * 99999, note, st[int(rand() * 4) + 1], int(rand() * 99999),
                           substr("   ", 1, i % 4) } }' > "$out/rows-$kind-1m.txt"
        done
        iconv -f UTF-8 -t WINDOWS-1252 "$rows_utf8" > "$rows_1252"
    fi
    if [ ! -f "$paragraphs" ]; then
        awk 'BEGIN { srand(29); split("the of and to in is that for it as was with be by on not he this are or his from at which but have an they you were her", w, " ");
            while (bytes < 20000000) { line = ""; n = int(rand() * 200) + 100;
                for (k = 0; k < n; k++) { word = w[int(rand() * 30) + 1];
                    if (rand() < 0.005) word = "<a href=\"x" int(rand() * 1000) "\">" word "</a>";
                    line = line (k ? " " : "") word }
                print line; print ""; bytes += length(line) + 2 } }' > "$paragraphs"
    fi
}

# row_jobs FILE: every row-pass job on the rows of FILE (laid out as real_inputs makes them).
row_jobs() {
    local f=$1 tag
    tag=$(basename "$1" .txt)
    size=$(stat -c %s "$f")
    # On rows beyond ASCII awk, cut and column count bytes where plintex counts characters.
    local cmp=no
    [ "$f" = "$rows_ascii" ] && cmp=yes
    compare=$cmp row "delete columns 10-24, $tag" 0.8 -- delete-retain-column --col=10 --and=25 \
        "$f" -- cut --complement -c10-24 "$f"
    compare=$cmp row "keep columns 13-21, $tag" 0.8 -- delete-retain-column --col=13 --and=22 \
        --retain "$f" -- cut -c13-21 "$f"
    compare=$cmp row "insert at column 10, $tag" 0.8 -- insert-into-column \
        "--insert-this-data=INSERTED " --at=10 "$f" \
        -- mawk '{ print substr($0, 1, 9) "INSERTED " substr($0, 10) }' "$f"
    compare=$cmp row "copy a band to column 1, $tag" 0.8 -- copy-move-a-column --copy=13 --and=22 \
        --to-position=1 "$f" -- mawk '{print substr($0,13,9) $0}' "$f"
    compare=$cmp row "replace inside a band, $tag" 0.8 -- replace-in-column --replace=item \
        --with=ITEM --in-column=10 --to=22 "$f" \
        -- mawk '{b=substr($0,10,12); gsub(/item/,"ITEM",b); print substr($0,1,9) b substr($0,22)}' "$f"
    compare=$cmp row "spread sheet delimiter at 13, $tag" 0.8 -- insert-spread-sheet-delimiter \
        --at=13 "$f" -- mawk '{print substr($0,1,12) "\t" substr($0,13)}' "$f"
    compare=no row "total a column, $tag" 0.8 -- total-a-specified-column --in-column=23 --to=33 \
        "$f" -- mawk '{s+=substr($0,23,10)} END{printf "%.2f\n", s}' "$f"
    compare=no row "align the whole text, $tag" 0.1 -- align-data-into-columns "$f" -- column -t "$f"
    # tr maps bytes: on UTF-8 it leaves the letters beyond ASCII as they are, as plintex's
    # capitals of those differ, its output is compared on plain rows only.
    compare=$cmp row "all capital letters, $tag" 0.8 -- special-routines --all-capital-letters \
        "$f" -- sh -c 'tr a-z A-Z < "$0"' "$f"
    row "add a row every 3 rows, $tag" 0.8 -- add-row --insert-this-data=---- --every=3 "$f" \
        -- mawk '{print} NR%3==0 {print "----"}' "$f"
    row "delete every 3rd row, $tag" 0.8 -- delete-row --delete-row=3 --and-every=3 "$f" \
        -- mawk 'NR%3' "$f"
    row "trailing blanks, $tag" 0.8 -- delete-leading-trailing-blanks --take-out-trailing-blanks \
        "$f" -- sed 's/[[:space:]]*$//' "$f"
    row "delete the rows containing PAID, $tag" 0.8 -- delete-lines-per-data --every-line=PAID \
        "$f" -- grep -a -v -F PAID "$f"
    row "a line after each PAID row, $tag" 0.8 -- insert-lines-per-data --insert-this-data=^^^^ \
        --every-line=PAID "$f" -- mawk '{print} /PAID/ {print "^^^^"}' "$f"
    row "append to the rows containing void, $tag" 0.8 -- append-data --append-this-data=CHECKED \
        --containing-this-data=void "$f" -- mawk '/void/ {$0 = $0 " CHECKED"} {print}' "$f"
    row "numbers at column 1, $tag" 0.8 -- insert-incrementing-numbers "$f" \
        -- mawk '{print NR $0}' "$f"
    compare=no row "three rows into one, $tag" 0.8 -- horizontal-concatenation --horizontally=3 \
        --separated-by=1 "$f" -- sh -c 'exec paste -d" " - - - < "$1"' sh "$f"
    # Not a row pass (a stretch may run across rows): its own target.
    rowpass=no row "strip < to >, $tag" 1.0 -- delete-strip-out-data "--delete=<" \
        "--to-this-data=>" "$f" -- sed 's/<[^>]*>//g' "$f"
}

# prose_jobs FILE: the jobs on prose.
prose_jobs() {
    local f=$1 tag
    tag=$(basename "$1" .txt)
    size=$(stat -c %s "$f")
    rowpass=no row "strip < to >, $tag" 1.0 -- delete-strip-out-data "--delete=<" \
        "--to-this-data=>" "$f" -- sed 's/<[^>]*>//g' "$f"
    row "delete HTML tags, $tag" 0.8 -- special-routines --delete-html-tags "$f" \
        -- sed 's/<[^>]*>//g' "$f"
    row "wrap at 55, $tag" 0.8 -- insert-cr --caret-column=55 "$f" -- fold -s -w 55 "$f"
    row "remove blank lines, $tag" 0.8 -- remove-blank-lines "$f" \
        -- grep -a -v '^[[:space:]]*$' "$f"
}

# Search texts: 10,000 of them, plain or in a script of many distinct characters, against one,
# on 2,000,000 rows.
search_texts() {
    local cjk=$out/cjk-rows-2m.txt
    if [ ! -f "$out/cjk-texts-10k.txt" ]; then
        # Words of two or three characters from 3,000 of the unified ideographs, three to a
        # row; few rows hold any of the texts.
        # (UTF-8 spelt out byte by byte, which any awk does alike in the C locale.)
        LC_ALL=C awk 'function word(   w, k, n, c) { n = int(rand() * 2) + 2; w = "";
                 for (k = 0; k < n; k++) { c = 19968 + int(rand() * 3000);
                     w = w sprintf("%c%c%c", 224 + int(c / 4096), 128 + int(c / 64) % 64, 128 + c % 64) }
                 return w }
             BEGIN { srand(31);
                 for (i = 1; i <= 10000; i++) print word() > "'"$out/cjk-texts-10k.txt"'";
                 for (i = 1; i <= 10000; i++) printf "t%07d\n", i * 7 > "'"$out/ascii-texts-10k.txt"'";
                 for (i = 1; i <= 2000000; i++)
                     printf "%08d %s %s t%07d %s\n", i, word(), word(), int(rand() * 9999999), word() }' \
            > "$cjk"
        head -n 1 "$out/cjk-texts-10k.txt" > "$out/cjk-texts-1.txt"
        head -n 1 "$out/ascii-texts-10k.txt" > "$out/ascii-texts-1.txt"
    fi
    size=$(stat -c %s "$cjk")
    for kind in cjk ascii; do
        echo "-- delete the rows holding any of 10,000 $kind search texts, against one text"
        local oneall=() manyall=()
        for _ in $(seq "$runs"); do
            oneall+=("$(once "$bin/plintex-cli" delete-lines-per-data \
                --every-line-containing-this-data-file="$out/$kind-texts-1.txt" "$cjk")")
            manyall+=("$(once "$bin/plintex-cli" delete-lines-per-data \
                --every-line-containing-this-data-file="$out/$kind-texts-10k.txt" "$cjk")")
        done
        local one many ratio met=met
        one=$(show "plintex-cli delete-lines-per-data, 1 $kind text" "$(median "${oneall[@]}")" "$cjk")
        many=$(show "plintex-cli delete-lines-per-data, 10,000 $kind texts" \
            "$(median "${manyall[@]}")" "$cjk")
        echo "$one"; echo "$many"
        ratio=$(awk "BEGIN { printf \"%.2f\", $(secs_of "$many") / $(secs_of "$one") }")
        awk "BEGIN { exit !($ratio > 3) }" && met=MISSED
        printf '   ratio %s (target <= 3, %s)\n' "$ratio" "$met"
        summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "10,000 $kind texts against one" \
            "$(secs_of "$many")" "$(secs_of "$one")" "$ratio" 3 "$met")")
    done
}

real_section() {
    real_inputs
    for f in "$rows_ascii" "$rows_utf8" "$rows_1252"; do
        row_jobs "$f"
    done
    prose_jobs "$paragraphs"
    search_texts
}

print_summary() {
    echo
    echo "load: $(uptime)"
    echo "== summary: seconds, median of $runs; ratio = plintex / peer; x cat = plintex / cat of"
    echo "   the same file to a file (target <= 3 for a row-pass job)"
    printf '%-46s %7s %7s %6s %6s %-6s %6s %-6s\n' "" plintex peer ratio target "" "x cat" ""
    printf '%s\n' "${summary[@]}"
}

recipe_bench() {
    local recipe=$out/five-steps.recipe slowest=0 pipeline="" step r
    cat > "$recipe" <<'STEPS'
# five row passes
insert-into-column '--insert-this-data=X ' --at-column-position=10
replace-in-column --replace-this-data=item --with-this-data=ITEM --in-column=10 --to=24
delete-retain-column --column-starting-at-position=40 --and-ending=46
insert-spread-sheet-delimiter --at-column-position=13
append-data --append-this-data=';' --to-every-line
STEPS
    size=$(stat -c %s "$input")
    echo "-- recipe: five row passes on 1,000,000 lines"
    while IFS= read -r step; do
        case $step in '#'* | '') continue ;; esac
        eval "set -- $step"
        r=$(measure "plintex-cli $1 (alone)" "$bin/plintex-cli" "$@" "$input"); echo "$r"
        slowest=$(awk "BEGIN { s = $(secs_of "$r"); print (s > $slowest ? s : $slowest) }")
        if [ -z "$pipeline" ]; then pipeline="\"\$0\" $step \"\$1\""
        else pipeline="$pipeline | \"\$0\" $step"; fi
    done < "$recipe"
    local rec piped ratio met same
    rec=$(measure "plintex-cli --recipe (the five in one stream)" "$bin/plintex-cli" \
        --recipe="$recipe" "$input"); echo "$rec"
    cp "$out/result.txt" "$out/recipe-row.txt"
    piped=$(measure "the five plintex-cli calls piped" sh -c "$pipeline" "$bin/plintex-cli" \
        "$input"); echo "$piped"
    cmp -s "$out/result.txt" "$out/recipe-row.txt" && same="same output" || same="OUTPUTS DIFFER"
    ratio=$(awk "BEGIN { printf \"%.2f\", $(secs_of "$rec") / $slowest }")
    met=met; awk "BEGIN { exit !($ratio > 1.5 || $(secs_of "$rec") >= $(secs_of "$piped")) }" && met=MISSED
    printf '   %s x the slowest step (target <= 1.5), %s s piped (must be slower): %s, %s\n' \
        "$ratio" "$(secs_of "$piped")" "$met" "$same"
    summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "recipe of five against the slowest step" \
        "$(secs_of "$rec")" "$slowest" "$ratio" 1.5 "$met")")
    summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "recipe of five against the five piped" \
        "$(secs_of "$rec")" "$(secs_of "$piped")" \
        "$(awk "BEGIN { printf \"%.2f\", $(secs_of "$rec") / $(secs_of "$piped") }")" "< 1" "$met")")
}

if [ "$section" = recipe ]; then
    recipe_bench
    print_summary
    exit 0
fi
if [ "$section" = worst ]; then
    worst_cases
    exit 0
fi
real_section
if [ "$section" = real ]; then
    print_summary
    exit 0
fi

# Read Me against a plain re-wrap of the same prose; its target is a time: 3 s.
web=$out/web-prose-20mb.txt
if [ ! -f "$web" ]; then
    awk 'BEGIN { srand(23); split("the of and to in is that for it as was with be by on not he this are or his from at which but have an they you were her", w, " ");
        while (bytes < 20000000) { line = ""; n = int(rand() * 16) + 4;
            for (k = 0; k < n; k++) { word = w[int(rand() * 30) + 1]; r = rand();
                if (r < 0.02) word = "www.site" int(rand() * 1000) ".com/page";
                else if (r < 0.03) word = "http://example.org/" word ".html";
                else if (r < 0.08) word = "<b>" word "</b>";
                line = line (k ? " " : "") word }
            r = rand(); if (r < 0.1) line = line "."; else if (r < 0.15) line = "\t" line;
            print line; bytes += length(line) + 1; if (rand() < 0.1) { print ""; bytes++ } } }' \
        > "$web"
    # Real text: accented names among the words, and a Windows-1252 copy of it.
    sed 's/ his / Zoë\x27s /g; s/ her / José /g; s/ were / Müller /g' "$web" > "$out/web-prose-utf8.txt"
    iconv -f UTF-8 -t WINDOWS-1252 "$out/web-prose-utf8.txt" > "$out/web-prose-1252.txt"
fi
for text in "$web" "$out/web-prose-utf8.txt" "$out/web-prose-1252.txt"; do
    size=$(stat -c %s "$text")
    name=$(basename "$text" .txt)
    echo "-- read me ($name, $((size / 1000000)) MB)"
    a=$(measure "plintex-cli read-me --delete-all-html-tags" "$bin/plintex-cli" read-me \
        --delete-all-html-tags "$text"); echo "$a"
    b=$(measure "fmt -w 55" fmt -w 55 "$text"); echo "$b"
    ratio=$(awk "BEGIN { printf \"%.2f\", $(secs_of "$a") / $(secs_of "$b") }")
    met=met; awk "BEGIN { exit !($(secs_of "$a") > 3) }" && met=MISSED
    printf '   %s s (target <= 3 s, %s), ratio %s to fmt\n' "$(secs_of "$a")" "$met" "$ratio"
    summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "read me ($name)" "$(secs_of "$a")" \
        "$(secs_of "$b")" "$ratio" "3 s" "$met")")
done

# A table pasted from a web page, one cell a line, each row a staircase of three.
stairs=$out/stairs-100k.txt
[ -f "$stairs" ] || awk 'BEGIN { for (i = 0; i < 100000; i++)
    printf "%s%s\n", substr("                  ", 1, 9 * (i % 3)), "cell" i }' > "$stairs"
size=$(stat -c %s "$stairs")
echo "-- Html Realign on 100,000 lines (target: at most 1 s)"
realign=$(measure "plintex-cli html-realign" "$bin/plintex-cli" html-realign "$stairs")
echo "$realign"
met=met; awk "BEGIN { exit !($(secs_of "$realign") > 1) }" && met=MISSED
summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "Html Realign, 100,000 lines (seconds)" \
    "$(secs_of "$realign")" - - 1 "$met")")

# ---- Row functions.
ledger=$out/ledger-1m.txt
if [ ! -f "$ledger" ]; then
    awk 'BEGIN { srand(11); split("PAID OPEN DUE HELD", st, " ");
        for (i = 1; i <= 1000000; i++)
            printf "%08d cust-%04d %-5s %10.2f %-18s %5d%s\n", i, int(rand() * 5000),
                   st[int(rand() * 4) + 1], rand() * 99999, "ref-" int(rand() * 100000),
                   int(rand() * 99999), substr("   ", 1, i % 4) }' > "$ledger"
fi
for i in $(seq 1 49); do printf 'cust-%04d-x\n' "$i"; done > "$out/texts-50.txt"
echo PAID >> "$out/texts-50.txt"
# ---- Reordering, on the same lines in a random order. The locale sort of coreutils needs the
# en_US.UTF-8 locale; it is generated when missing and the tools to do so are at hand.
shuffled=$out/shuffled-1m.txt
if [ ! -f "$shuffled" ]; then
    awk 'BEGIN { srand(3) } { printf "%.9f\t%s\n", rand(), $0 }' "$input" | LC_ALL=C sort -k1,1 |
        cut -f2- > "$shuffled"
fi
if ! locale -a 2> /dev/null | grep -qiE '^en_US\.utf-?8$'; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo -n)
    if [ ! -f /usr/share/i18n/locales/en_US ]; then
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            locales > /dev/null 2>&1 || true
    fi
    "${sudo[@]}" localedef -i en_US -f UTF-8 en_US.UTF-8 > /dev/null 2>&1 || true
fi
if locale -a 2> /dev/null | grep -qiE '^en_US\.utf-?8$'; then
    rowpass=no row "sort ascending" 0.5 -- sort-ascending-descending --sort-ascending "$shuffled" \
        -- env LC_ALL=en_US.UTF-8 sort -f "$shuffled"
    # The two collations weigh blanks differently, so from column 13 the orders differ.
    rowpass=no compare=no row "sort from column 13" 0.5 -- sort-ascending-descending --sort-ascending \
        --beginning-at-this-column=13 "$shuffled" -- env LC_ALL=en_US.UTF-8 sort -f -k1.13 "$shuffled"
    names=$out/names-1m.txt
    if [ ! -f "$names" ]; then
        awk 'BEGIN { srand(5); split("Ölund Olund Émile Eva Zoë Ærø Åsa Ärla Øst Çava Müller Muller " \
                 "Núñez Nunez Łukasz Lukas", n, " ") }
             { printf "%s %s\n", n[int(rand() * 16) + 1], substr($0, 10) }' "$shuffled" > "$names"
        iconv -f UTF-8 -t WINDOWS-1252//TRANSLIT "$names" > "$out/names-1252.txt"
    fi
    rowpass=no compare=no row "sort accented names" 0.5 -- sort-ascending-descending --sort-ascending \
        "$names" -- env LC_ALL=en_US.UTF-8 sort -f "$names"
    rowpass=no compare=no row "sort accented names, Windows-1252 copy" 0.5 -- sort-ascending-descending \
        --sort-ascending "$out/names-1252.txt" -- env LC_ALL=en_US.UTF-8 sort -f "$names"
else
    echo "-- sort rows left out: no en_US.UTF-8 locale for the peer, and none could be made"
fi
rowpass=no row "reverse order" 1.0 -- sort-ascending-descending --reverse-order "$shuffled" -- tac "$shuffled"
dups=$out/dups-1m.txt
if [ ! -f "$dups" ]; then
    awk 'BEGIN { srand(13); for (i = 1; i <= 1000000; i++) { k = int(rand() * 400000);
        printf "%08d %-12s %10.2f %-20s %6d%s\n", k, "item" k % 1000, k * 0.37, "note-" k % 100000,
               k % 99991, substr("  ", 1, i % 3) } }' > "$dups"
fi
# Counts the trimmed rows, then marks: the two passes a shell user would write (one line, as the
# summary takes the figures from the line a command is shown on).
mark='function key(s) { sub(/^[\001-\040]+/, "", s); sub(/[\001-\040]+$/, "", s); return s }'
mark+=' NR == FNR { k = key($0); if (k != "") n[k]++; next }'
mark+=' { k = key($0); if (k == "" || n[k] < 2) { print; next }'
mark+=' if (!(k in g)) { g[k] = ++groups; first[k] = $0 } print g[k] "-->" first[k] }'
row "mark duplicate lines (400,000 distinct)" 1.0 -- mark-duplicate-lines --mark-duplicate-lines \
    "$dups" -- mawk "$mark" "$dups" "$dups"
# Real text: accented names, in a Windows-1252 copy.
real=$out/dups-1252.txt
if [ ! -f "$real" ]; then
    awk 'BEGIN { srand(17); split("Müller Nuñez Lefèvre Åström Renée François Gonçalves Søren", n, " ");
        for (i = 1; i <= 1000000; i++) { k = int(rand() * 400000);
            printf "%-10s %08d %-12s %10.2f %-16s%s\n", n[k % 8 + 1], k, "item" k % 1000, k * 0.37,
                   "note-" k % 100000, substr("  ", 1, i % 3) } }' | iconv -f UTF-8 -t CP1252 > "$real"
fi
row "mark duplicate lines (Windows-1252)" 1.0 -- mark-duplicate-lines --mark-duplicate-lines \
    "$real" -- mawk "$mark" "$real" "$real"
echo "-- Replace Data with Data List: 100,000 matching rows, a 100,000-entry list (target <= 1 s)"
listrows=$out/list-rows-100k.txt
list=$out/list-100k.txt
[ -f "$listrows" ] || head -n 100000 "$input" > "$listrows"
[ -f "$list" ] || awk 'BEGIN { for (i = 1; i <= 100000; i++) printf "ITEM-%06d\n", i }' > "$list"
listed=$(measure "plintex-cli replace-data-with-data-list" "$bin/plintex-cli" \
    replace-data-with-data-list --replace-this-data=item --with-this-data-file="$list" \
    "$listrows"); echo "$listed"
met=met; awk "BEGIN { exit !($(secs_of "$listed") > 1) }" && met=MISSED
summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "data list, 100,000 rows and entries" \
    "$(secs_of "$listed")" - - "1 s" "$met")")
# ---- Restructuring. Each member of a group is followed by its separator, the last one too,
# where paste puts none: the outputs differ by that blank.
size=$(stat -c %s "$input")
echo "-- 50 search texts against one"
one=$(measure "plintex-cli delete-lines-per-data, 1 text" \
    "$bin/plintex-cli" delete-lines-per-data --every-line=PAID "$ledger"); echo "$one"
fifty=$(measure "plintex-cli delete-lines-per-data, 50 texts" \
    "$bin/plintex-cli" delete-lines-per-data --every-line-containing-this-data-file="$out/texts-50.txt" \
    "$ledger"); echo "$fifty"
ratio=$(awk "BEGIN { printf \"%.2f\", $(secs_of "$fifty") / $(secs_of "$one") }")
met=met; awk "BEGIN { exit !($ratio > 3) }" && met=MISSED
printf '   ratio %s (target <= 3, %s)\n' "$ratio" "$met"
summary+=("$(printf '%-46s %7s %7s %6s %6s %-6s' "50 search texts against one" "$(secs_of "$fifty")" \
    "$(secs_of "$one")" "$ratio" 3 "$met")")

# ---- File to file: 200 MB without line breaks, streamed in fixed blocks; peak memory must
# stay under 64 MiB whatever the size.
record=$out/record-200mb.bin
if [ ! -f "$record" ]; then
    yes 'The quick brown fox jumps over the lazy dog. A 0123456789 ' | tr -d '\n' \
        | head -c 200000000 > "$record" || true # yes ends on a closed pipe
fi
size=$(stat -c %s "$record")
peak_check() {
    local kib
    kib=$(awk '{ print $(NF - 1) }' <<< "$row_plintex")
    awk "BEGIN { exit !($kib < 65536) }" && printf '   peak %s KiB (target < 65536, met)\n' "$kib" \
        || printf '   peak %s KiB (target < 65536, MISSED)\n' "$kib"
}
# fold puts LF alone where Break Up File puts CR LF: the outputs differ in form only.
catfile=$record rowpass=no compare=no row "200 MB into 80-byte records" 1.0 -- break-up-file \
    --input-single-record-file="$record" --output-file=/dev/stdout \
    --new-cr-terminated-record-length=80 -- fold -b -w 80 "$record"
peak_check
catfile=$record rowpass=no row "replace one byte in 200 MB" 1.0 -- replace-byte-in-file --input-file="$record" \
    --output-file=/dev/stdout --find=A --replace-with=B -- sh -c 'tr A B < "$0"' "$record"
peak_check

echo "-- --in-place against standard output (insert at column 10; target: at most 10% more)"
size=$(stat -c %s "$input")
copy=$out/in-place.txt
"$bin/plintex-cli" insert-into-column "--insert-this-data=INSERTED " --at=10 "$input" \
    > "$out/plintex-insert.txt"
prepare="cp '$input' '$copy'"
measure "plintex-cli insert-into-column ... FILE > standard output" \
    "$bin/plintex-cli" insert-into-column "--insert-this-data=INSERTED " --at=10 "$copy"
stdout_secs=$secs
# Replacing a file frees the old one's blocks when its last descriptor closes, inside the
# timing of --in-place (sed -i pays the same); on a file system mounted with "discard" that is
# tens of milliseconds for these 61 MB. "rm" of the input shows that cost on its own.
prepare="cp '$input' '$copy'"
measure "rm FILE (the cost of freeing the replaced file)" rm "$copy"
prepare="cp '$input' '$copy'"
measure "plintex-cli insert-into-column ... --in-place FILE" \
    "$bin/plintex-cli" insert-into-column "--insert-this-data=INSERTED " --at=10 --in-place "$copy"
cmp -s "$copy" "$out/plintex-insert.txt" && echo "   same output" || echo "   OUTPUTS DIFFER"
awk "BEGIN { printf \"   --in-place costs %+.1f%% against standard output\\n\",
             ($secs / $stdout_secs - 1) * 100 }"
prepare=""
rm -f "$copy"

echo
recipe_bench
echo
worst_cases
echo
print_summary
