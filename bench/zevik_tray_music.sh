#!/bin/sh
# zevik's cost in the tray while the emulated keyboard (by cable) is in the music effect: the lighting
# thread steps every 31.25 ms, the frame timer streams the frame to the keyboard every 10 ms. CPU
# seconds per wall second (% of one core) of the whole process over ZEVIK_BENCH_IDLE_SECONDS (default
# 10), in two cases:
#   silence   no record arrives; the frames still stream (the keyboard needs them)
#   records   sample records arrive over the session bus as fast as "zevikctl audio send" sends them
#             (the rate is printed); only zevik's own time is counted
# Goal: below 1 % in silence.
# Usage: bench/zevik_tray_music.sh [build/bin]   (needs dbus-run-session for the second case)
bin="${1:-build/bin}"
idle="${ZEVIK_BENCH_IDLE_SECONDS:-10}"
bin=$(cd "$bin" && pwd)
if command -v dbus-run-session > /dev/null 2>&1 && [ -z "$ZEVIK_BENCH_INSIDE_BUS" ]; then
    ZEVIK_BENCH_INSIDE_BUS=1 exec dbus-run-session -- "$0" "$bin"
fi
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen
export HOME="$dir/home" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/share"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
"$bin/zevikctl" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" keyboard lighting mode 29 > /dev/null || exit 1
hz=$(getconf CLK_TCK)

cpu() { awk '{print $14 + $15}' "/proc/$1/stat"; }
percent() { awk -v a="$1" -v b="$2" -v hz="$hz" -v s="$idle" 'BEGIN { printf "%5.2f %%", (b - a) / hz / s * 100 }'; }

run_case() {
    "$bin/zevik" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" --tray > "$dir/log" 2>&1 &
    pid=$!
    sleep 4
    head -c 2000 /dev/zero > "$dir/quiet.bin"
    i=0
    while [ "$i" -lt 500 ]; do printf "\240\017\000\000"; i=$((i + 1)); done > "$dir/loud.bin"
    before=$(cpu "$pid")
    sent=0
    if [ "$1" = records ]; then
        end=$(($(date +%s) + idle))
        while [ "$(date +%s)" -lt "$end" ]; do
            for r in quiet loud quiet; do "$bin/zevikctl" audio send 1 "$dir/$r.bin" > /dev/null 2>&1 && sent=$((sent + 1)); done
        done
    else
        sleep "$idle"
    fi
    after=$(cpu "$pid")
    kill "$pid"; wait "$pid" 2>/dev/null
    if [ "$1" = records ]; then
        printf '%-10s process %s (%s records a second)\n' "$1" "$(percent "$before" "$after")" "$((sent / idle))"
    else
        printf '%-10s process %s\n' "$1" "$(percent "$before" "$after")"
    fi
}

run_case silence
[ -n "$ZEVIK_BENCH_INSIDE_BUS" ] && run_case records
exit 0
