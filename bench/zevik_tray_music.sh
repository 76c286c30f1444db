#!/bin/sh
# zevik's cost in the tray while the emulated keyboard (by cable) is in the music effect: the lighting
# thread steps every 31.25 ms and hands each stepped frame to the stream (the UI thread's frame timer
# rests while the window is hidden). CPU seconds per wall second (% of one core) of the whole process
# over ZEVIK_BENCH_IDLE_SECONDS (default 10), in three cases:
#   silence   no record arrives and no sound server answers; the frames still stream (the keyboard
#             needs them)
#   records   sample records arrive over the session bus as fast as "zevikctl audio send" sends them
#             (the rate is printed); only zevik's own time is counted
#   capture   our own capture hears a private sound server (tests/with_sound_server.sh) whose output
#             plays a tone; the capture thread's own share is printed too
# Goal: below 1 % in silence, and below 1 % for the capture thread.
# Usage: bench/zevik_tray_music.sh [build/bin]
#   (the second case needs dbus-run-session, the third pulseaudio and pacat)
bin="${1:-build/bin}"
idle="${ZEVIK_BENCH_IDLE_SECONDS:-10}"
bin=$(cd "$bin" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
if command -v pulseaudio > /dev/null 2>&1 && command -v pacat > /dev/null 2>&1 && [ -z "$ZEVIK_TEST_SOUND_SERVER_PID" ]; then
    exec sh "$here/../tests/with_sound_server.sh" "$0" "$bin"
fi
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
capture_cpu() {
    for task in /proc/"$1"/task/*; do
        [ "$(cat "$task/comm" 2>/dev/null)" = zevik-capture ] && awk '{print $14 + $15}' "$task/stat" && return
    done
    echo 0
}
percent() { awk -v a="$1" -v b="$2" -v hz="$hz" -v s="$idle" 'BEGIN { printf "%5.2f %%", (b - a) / hz / s * 100 }'; }

run_case() {
    server="$PULSE_SERVER"
    [ "$1" = capture ] || server=unix:/nonexistent/socket
    PULSE_SERVER="$server" "$bin/zevik" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" --tray \
        > "$dir/log" 2>&1 &
    pid=$!
    if [ "$1" = capture ]; then
        # A 440 Hz tone, played over and over while the case runs.
        python3 -c '
import math, struct, sys
sys.stdout.buffer.write(b"".join(struct.pack("<f", 0.5 * math.sin(2 * math.pi * 440 * n / 48000)) for n in range(48000)))
' > "$dir/tone.raw"
        ( while :; do pacat --playback --raw --format=float32le --rate=48000 --channels=1 "$dir/tone.raw" 2>/dev/null || break; done ) &
        player=$!
    fi
    sleep 4
    head -c 2000 /dev/zero > "$dir/quiet.bin"
    i=0
    while [ "$i" -lt 500 ]; do printf "\240\017\000\000"; i=$((i + 1)); done > "$dir/loud.bin"
    before=$(cpu "$pid")
    capture_before=$(capture_cpu "$pid")
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
    capture_after=$(capture_cpu "$pid")
    kill "$pid"; wait "$pid" 2>/dev/null
    if [ "$1" = capture ]; then
        kill "$player" 2>/dev/null; pkill -P "$player" pacat 2>/dev/null; wait "$player" 2>/dev/null
        printf '%-10s process %s, capture thread %s\n' "$1" "$(percent "$before" "$after")" \
            "$(percent "$capture_before" "$capture_after")"
    elif [ "$1" = records ]; then
        printf '%-10s process %s (%s records a second)\n' "$1" "$(percent "$before" "$after")" "$((sent / idle))"
    else
        printf '%-10s process %s\n' "$1" "$(percent "$before" "$after")"
    fi
}

run_case silence
[ -n "$ZEVIK_BENCH_INSIDE_BUS" ] && run_case records
[ -n "$ZEVIK_TEST_SOUND_SERVER_PID" ] && run_case capture
exit 0
