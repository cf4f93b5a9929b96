#!/usr/bin/env bash
# Start-up of the installed window to its first paint: installs the build into a scratch prefix,
# starts it on a fresh account (the first start fills the settings folder) and then again, five
# times each, and prints the program's own figure (from main() to the first paint) beside the
# whole process's wall time (loading the libraries and ending included).
# Usage: bench/startup-bench.sh [BUILD_DIR]   (QT_QPA_PLATFORM=offscreen on a machine without
# a display)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/usr" >/dev/null
unset PLINTEX_HOME
export PLINTEX_STARTUP_TIMING=1

run() { # prints "in-program-ms wall-ms"
    local start end paint
    start=$(date +%s%N)
    paint=$("$scratch/usr/bin/plintex" 2>&1 >/dev/null | sed -n 's/.*first paint \([0-9.]*\) ms.*/\1/p')
    end=$(date +%s%N)
    echo "$paint $(((end - start) / 1000000))"
}

printf '%-28s %18s %12s\n' "start" "to first paint ms" "process ms"
# What loading the libraries costs before main() starts: --version ends right there.
start=$(date +%s%N)
"$scratch/usr/bin/plintex" --version >/dev/null
printf '%-28s %18s %12s\n' "plintex --version" "-" "$((($(date +%s%N) - start) / 1000000))"

XDG_CONFIG_HOME=$scratch/config-warm run >/dev/null # fills the folder the warm starts use
for kind in fresh warm; do
    for i in 1 2 3 4 5; do
        export XDG_CONFIG_HOME=$scratch/config-$kind
        [ "$kind" = fresh ] && export XDG_CONFIG_HOME=$scratch/config-fresh-$i
        read -r paint wall < <(run)
        printf '%-28s %18s %12s\n' "$kind account, run $i" "$paint" "$wall"
    done
done
