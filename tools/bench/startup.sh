#!/usr/bin/env bash
# Start to login dialog: times `merrow` from launch until its login window ("进入系统") is
# mapped, on a real X server (Xvfb), over several runs. Prints the median in milliseconds.
#   tools/bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-7}
root="$(cd "$(dirname "$0")/../.." && pwd)"
# Without a display, run again under a virtual X server.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build" "$runs"
fi
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
"$root/scripts/prepare-program-folder.sh" "$build" "$folder" >/dev/null

measure() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$build/bin/merrow" --data-dir "$folder" &
        local pid=$!
        # Polled tightly: `search --sync` sleeps half a second between looks.
        local tries=0
        until xdotool search --onlyvisible --name "进入系统" >/dev/null 2>&1; do
            tries=$((tries + 1))
            if [ "$tries" -gt 2000 ]; then
                echo "the login dialog did not appear" >&2
                exit 1
            fi
            sleep 0.005
        done
        end=$(date +%s%N)
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "start to login dialog: median " a[int((NR+1)/2)] " ms over " NR " runs"}'
}

measure
