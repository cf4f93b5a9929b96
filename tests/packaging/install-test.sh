#!/usr/bin/env bash
# cmake --install into a scratch prefix: every file in place, the metainfo valid, and the man
# page, completion and help file listing what plintex-cli really accepts.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$scratch/usr
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/plintex bin/plintex-cli share/plintex/prefs.plx share/plintex/rmdat.plx \
    share/plintex/PlintexHelp.html share/applications/org.plintex.Plintex.desktop \
    share/metainfo/org.plintex.Plintex.metainfo.xml share/icons/hicolor/scalable/apps/plintex.svg \
    share/icons/hicolor/48x48/apps/plintex.png share/icons/hicolor/256x256/apps/plintex.png \
    share/man/man1/plintex.1.gz share/man/man1/plintex-cli.1.gz \
    share/bash-completion/completions/plintex-cli share/doc/plintex/copyright; do
    [ -s "$prefix/$f" ] || fail "$f not installed"
done
file "$prefix/share/icons/hicolor/256x256/apps/plintex.png" | grep -q '256 x 256' ||
    fail "the 256 px icon has another size"

(cd "$scratch" && appstreamcli validate-tree --no-net .) >/dev/null ||
    fail "appstreamcli rejects the metainfo: $(cd "$scratch" && appstreamcli validate-tree --no-net .)"
grep -qx 'Exec=plintex %f' "$prefix/share/applications/org.plintex.Plintex.desktop" ||
    fail "desktop entry Exec"

cli=$prefix/bin/plintex-cli
man=$(zcat "$prefix/share/man/man1/plintex-cli.1.gz")
help=$(cat "$prefix/share/plintex/PlintexHelp.html")
source "$prefix/share/bash-completion/completions/plintex-cli"
complete_words() { # the completions bash offers after the given words
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _plintex_cli
    printf '%s\n' "${COMPREPLY[@]}"
}

slugs=$("$cli" --list | awk '{print $1}')
[ -n "$slugs" ] || fail "plintex-cli --list is empty"
# The help tells the window, printing, the command line and the settings files, and shows each
# function's parameters and example.
for id in window functions printing command-line settings; do
    grep -q "<h2 id=\"$id\">" <<<"$help" || fail "help file lacks the section $id"
done
[ "$(grep -c '<tr><th>Before</th><th>After</th></tr>' <<<"$help")" -eq "$(wc -w <<<"$slugs")" ] ||
    fail "help file lacks an example"
grep -q '<td>&ldquo;at column position:&rdquo;</td><td>number</td><td>&ldquo;1&rdquo;</td>' \
    <<<"$help" || fail "help file lacks the parameters"
for slug in $slugs; do
    grep -q "^\.B ${slug//-/\\\\-}\$" <<<"$man" || fail "man page lacks $slug"
    grep -q "plintex-cli $slug<" <<<"$help" || fail "help file lacks $slug"
    complete_words plintex-cli "${slug:0:4}" | grep -x "$slug" >/dev/null || fail "no completion for $slug"
    # Every option the completion offers is one that plintex-cli documents.
    options=$(complete_words plintex-cli "$slug" --)
    [ -n "$options" ] || fail "no options completed for $slug"
    usage=$("$cli" "$slug" --help)
    for option in $options; do
        grep -qe "${option%=}\b" <<<"$usage" || fail "$slug: plintex-cli does not know $option"
    done
done

# Values: a file-valued option completes file names, with or without "=".
touch "$scratch/values.txt"
complete_words plintex-cli insert-into-column --insert-this-data-file = "$scratch/val" |
    grep -x "$scratch/values.txt" >/dev/null || fail "no file names after --NAME-file="
complete_words plintex-cli insert-into-column --insert-this-data-file "$scratch/val" |
    grep -x "$scratch/values.txt" >/dev/null || fail "no file names after --NAME-file"
[ -z "$(complete_words plintex-cli insert-into-column --at-column-position = "")" ] ||
    fail "a number was completed with names"
echo "installed tree checked"
