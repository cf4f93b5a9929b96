#!/usr/bin/env bash
# The Debian package: built with CPack, free of lintian errors, unpacked into a scratch root
# (dpkg -x) and run from there on a fresh account.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb=$(ls "$scratch"/out/plintex_*.deb)
lintian --fail-on error "$deb" 2>/dev/null || fail "lintian reports errors"
# The dependencies come from the binaries: the Qt libraries they link.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6core6 libqt6widgets6 libqt6svg6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
root=$scratch/root
dpkg -x "$deb" "$root"
bin=$root/usr/bin

"$bin/plintex-cli" --list | grep -q '^insert-into-column ' || fail "plintex-cli --list"
out=$(printf 'abcd\nef\n' | "$bin/plintex-cli" insert-into-column --insert-this-data=XY --at=3)
[ "$out" = $'abXYcd\nefXY' ] || fail "insert-into-column gave: $out"
[ "$("$bin/plintex" --version)" = "plintex $(dpkg-deb -f "$deb" Version)" ] || fail "plintex --version"
"$bin/plintex" --help | grep -q '^Usage: plintex \[FILE\]' || fail "plintex --help"
status=0
QT_QPA_PLATFORM=offscreen "$bin/plintex" --frobnicate 2>"$scratch/err" || status=$?
[ $status -eq 2 ] && grep -q 'unknown option --frobnicate' "$scratch/err" || fail "unknown option"

# A fresh account: the settings folder is filled from the package, nothing is written into it.
unset PLINTEX_HOME
export XDG_CONFIG_HOME=$scratch/config QT_QPA_PLATFORM=offscreen PLINTEX_STARTUP_TIMING=1
before=$(find "$root" -printf '%p %s %T@\n' | sort)
printf 'first\n' >"$scratch/a.txt"
timeout 60 "$bin/plintex" "$scratch/a.txt" "$scratch/b.txt" 2>"$scratch/err" ||
    fail "the window did not start: $(cat "$scratch/err")"
grep -q 'first paint .* ms after start' "$scratch/err" || fail "no first paint"
grep -q "not opened: $scratch/b.txt" "$scratch/err" || fail "the second file was not named"
for f in prefs.plx rmdat.plx PlintexHelp.html; do
    cmp -s "$root/usr/share/plintex/$f" "$XDG_CONFIG_HOME/plintex/$f" || fail "$f not filled in"
done
grep -q "$scratch/a.txt" "$XDG_CONFIG_HOME/plintex/fdat.plx" || fail "the file is not in the recent list"
[ "$before" = "$(find "$root" -printf '%p %s %T@\n' | sort)" ] || fail "the program wrote into its prefix"
grep 'first paint' "$scratch/err"
