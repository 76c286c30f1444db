#!/bin/sh
# zevik's idle cost with the window open, one emulated mouse by cable, the lighting page's LED
# preview driven by the program. CPU seconds per wall second (% of one core) of the UI thread and of
# the whole process, after the window has shown, in these cases:
#   offscreen       window shown on the offscreen platform (no display: painting is nearly free)
#   x11 animating   window shown on an X server (Xvfb 1920 x 1080), the default animated lighting
#   x11 static      the same with the mouse's lighting set to "Static" (nothing on the page changes)
#   x11 minimised   the animated case with the window minimised (unmapped, WM_STATE Iconic)
#   x11 covered     the animated case under another window that covers the whole screen
#   x11 tray        started in the tray (window never shown)
#   x11 tray music  (keyboard only) the same with the keyboard in its music mode, whose frames are
#                   streamed to the keyboard while the window is in the tray
# Goals: 0.5 % animating, 0.1 % when nothing on the page changes; below 1 % streaming the music mode.
# Usage: bench/zevik_idle.sh [build/bin/zevik]   (ZEVIK_BENCH_IDLE_SECONDS, default 10;
# ZEVIK_BENCH_EMULATE, default mouse: "keyboard" measures the keyboard's page, without the static case)
# Needs xvfb-run (package xvfb) and python3 for the X cases.
zevik="${1:-build/bin/zevik}"
idle="${ZEVIK_BENCH_IDLE_SECONDS:-10}"
emulate="${ZEVIK_BENCH_EMULATE:-mouse}"
here=$(cd "$(dirname "$0")" && pwd)

if [ "$ZEVIK_BENCH_INSIDE_X" != 1 ]; then
    zevik=$(cd "$(dirname "$zevik")" && pwd)/$(basename "$zevik")
    ZEVIK_BENCH_INSIDE_X=1 ZEVIK_BENCH_EMULATE="$emulate" exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$0" "$zevik"
fi

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
hz=$(getconf CLK_TCK)

# Starts zevik (platform $1, extra arguments after it) and waits until its window has shown.
start() {
    platform=$1
    shift
    QT_QPA_PLATFORM=$platform "$zevik" --emulate "$emulate" --data-dir "$dir/data" \
        --emulator-state "$dir/state" "$@" >"$dir/log" 2>&1 &
    pid=$!
    sleep 4
}

stop() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# "UI thread % / process %" over $idle seconds.
measure() {
    ui0=$(awk '{print $14 + $15}' "/proc/$pid/task/$pid/stat")
    all0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    sleep "$idle"
    ui1=$(awk '{print $14 + $15}' "/proc/$pid/task/$pid/stat")
    all1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    awk -v a="$ui0" -v b="$ui1" -v c="$all0" -v d="$all1" -v hz="$hz" -v s="$idle" \
        'BEGIN { printf "UI thread %5.2f %%, process %5.2f %%", (b - a) / hz / s * 100, (d - c) / hz / s * 100 }'
}

report() {
    printf '%-16s %s\n' "$1" "$2"
}

# The first run creates the profile and the emulated memory that the later ones use.
start offscreen
report "offscreen" "$(measure)"
stop

start xcb
report "x11 animating" "$(measure)"
python3 "$here/x11_window.py" "$pid" iconify || echo "could not minimise"
sleep 1
report "x11 minimised" "$(measure)"
python3 "$here/x11_window.py" "$pid" restore
sleep 1
python3 "$here/x11_window.py" "$pid" cover &
cover=$!
sleep 1
report "x11 covered" "$(measure)"
kill "$cover"
wait "$cover" 2>/dev/null
sleep 1
report "x11 uncovered" "$(measure)"
stop

start xcb --tray
report "x11 tray" "$(measure)"
stop

if [ "$emulate" = keyboard ]; then
    # The profile's lighting at the music mode; the keyboard follows the profile on connect.
    "$(dirname "$zevik")/zevikctl" --emulate keyboard --data-dir "$dir/data" --emulator-state "$dir/state" \
        keyboard lighting mode 29 >/dev/null || echo "could not choose the music mode"
    start xcb --tray
    report "x11 tray music" "$(measure)"
    stop
fi

[ "$emulate" = mouse ] || exit 0

# The mouse's lighting at "Static": mode code 3 in the active slot's settings block, byte 1 of the
# emulated memory (the profile follows the device on connect).
python3 - "$dir/state" <<'EOF'
import json, sys
path = sys.argv[1]
with open(path) as f:
    state = json.load(f)
areas = state["devices"]["mouse"]["areas"]
areas["memory"] = areas["memory"][:2] + "03" + areas["memory"][4:]
with open(path, "w") as f:
    json.dump(state, f, indent=2)
EOF
start xcb
report "x11 static" "$(measure)"
stop
echo "(${idle} s each, goals: 0.5 % animating, 0.1 % static, minimised, covered)"
