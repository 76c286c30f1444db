#!/bin/sh
# Our own capture end to end: beside the tests' own sound server (tests/with_sound_server.sh), zevik
# with an emulated keyboard in the music effect hears what the desktop plays. While the output is
# silent its 0x12 frames stay dark; while a tone plays into it they carry light. No session bus: our
# capture feeds the music effect without one. Skipped (exit 0 with a note) without the server or
# pacat.
zevik="$1"
zevikctl="$2"
if [ -z "$ZEVIK_TEST_SOUND_SERVER_PID" ] || ! command -v pacat >/dev/null 2>&1 || ! command -v python3 >/dev/null 2>&1; then
    echo "no sound server of the tests' own, pacat or python3: skipped"
    exit 0
fi
export QT_QPA_PLATFORM=offscreen
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/bus
dir=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$dir"' EXIT
. "$(dirname "$0")/music_frames.sh"
music_profile "$zevikctl" "$dir" || exit 1
# Two seconds of a full-scale 200 Hz sine, 48 kHz mono, on and off every 100 ms: the music effect
# shows how the sound changes, so a steady tone would light the keys only as it starts.
python3 -c '
import math, struct, sys
sys.stdout.buffer.write(b"".join(struct.pack("<f", math.sin(2 * math.pi * 200 * n / 48000) * ((n // 4800) % 2))
                                 for n in range(96000)))
' > "$dir/tone.raw"
"$zevik" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" --emulator-log "$dir/log" --tray > "$dir/zevik.log" 2>&1 &
program=$!
i=0
until [ -f "$dir/log" ] && grep -q " 12 " "$dir/log"; do
    i=$((i + 1)); [ "$i" -lt 100 ] || { echo "no frame was streamed"; cat "$dir/zevik.log"; exit 1; }
    sleep 0.1
done
# An output that plays nothing sends its monitor's first sound after about two seconds: from then on
# our capture hears silence.
sleep 2.5
before=$(lit_frames "$dir/log")
pacat --playback --raw --format=float32le --rate=48000 --channels=1 "$dir/tone.raw" || { echo "pacat failed"; exit 1; }
sleep 0.3
after=$(lit_frames "$dir/log")
kill "$program"; wait "$program"; program=
echo "lit in silence $before, lit after the tone $after"
[ "$before" -eq 0 ] || { echo "silence lit the keys"; exit 1; }
[ "$after" -gt "$before" ] || { echo "the tone lit nothing"; exit 1; }
