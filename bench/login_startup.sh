#!/bin/bash
# Time from starting the till to its login window being mapped on the X display, on the embedded
# demo database: once on a new per-user folder (the demo database is created) and RUNS times on
# the existing one. Prints every time and the median of the warm starts.
#
#   DISPLAY=:NN bench/login_startup.sh [BUILD-DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-10}
exe="$build/src/app/kirvelo"
[ -x "$exe" ] || { echo "no $exe: build the kirvelo target first" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "set DISPLAY to an X server (e.g. Xvfb :92)" >&2; exit 2; }
home=$(mktemp -d /tmp/kirvelo-startup-XXXXXX)
trap 'rm -rf "$home"' EXIT

mapped() { xdotool search --onlyvisible --classname '^kirvelo$' >/dev/null 2>&1; }

one_start() {
    local start end pid
    start=$(date +%s%N)
    HOME="$home" KIRVELO_DATABASE= "$exe" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 2000); do
        mapped && break
        sleep 0.002
    done
    end=$(date +%s%N)
    sleep 0.3 # let the first showing connect before the program is ended
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    echo $(( (end - start) / 1000000 ))
}

echo "first start (creates the demo database): $(one_start) ms"
times=()
for _ in $(seq 1 "$runs"); do times+=("$(one_start)"); done
echo "warm starts (ms): ${times[*]}"
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "median: " a[int((NR+1)/2)] " ms"}'
