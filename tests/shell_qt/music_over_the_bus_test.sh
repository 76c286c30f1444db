#!/bin/sh
# Sample records sent with "zevikctl audio send" reach the running zevik over the session bus and the
# emulated keyboard, in the music effect, follows them: in silence its 0x12 frames are dark, after
# three records (the levels reach the keyboard with every third) they carry light. Skipped (exit 0
# with a note) without dbus-run-session.
zevik="$1"
zevikctl="$2"
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "dbus-run-session is missing: skipped"
    exit 0
fi
export QT_QPA_PLATFORM=offscreen
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
exec dbus-run-session -- sh -c '
    zevik="$1"; zevikctl="$2"; dir="$3"; helpers="$4"
    . "$helpers"
    music_profile "$zevikctl" "$dir" || exit 1
    head -c 2000 /dev/zero > "$dir/quiet.bin"
    i=0
    while [ "$i" -lt 500 ]; do printf "\240\017\000\000"; i=$((i + 1)); done > "$dir/loud.bin"  # 4000
    "$zevik" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" --emulator-log "$dir/log" --tray > "$dir/zevik.log" 2>&1 &
    program=$!
    i=0
    until "$zevikctl" audio send 1 "$dir/quiet.bin" > /dev/null 2>&1; do
        i=$((i + 1)); [ "$i" -lt 100 ] || { echo "zevik did not come up"; cat "$dir/zevik.log"; kill "$program"; exit 1; }
        sleep 0.1
    done
    sleep 1.5
    frames=$(grep -c " 12 " "$dir/log")
    before=$(lit_frames "$dir/log")
    for record in quiet loud quiet; do "$zevikctl" audio send 1 "$dir/$record.bin" || { kill "$program"; exit 1; }; done
    sleep 0.5
    after=$(lit_frames "$dir/log")
    kill "$program"; wait "$program"
    echo "streamed reports before the music $frames, lit before $before, lit after $after"
    [ "$frames" -gt 0 ] || { echo "no frame was streamed"; exit 1; }
    [ "$before" -eq 0 ] || { echo "silence lit the keys"; exit 1; }
    [ "$after" -gt 0 ] || { echo "the records lit nothing"; exit 1; }
' sh "$zevik" "$zevikctl" "$dir" "$(cd "$(dirname "$0")" && pwd)/music_frames.sh"
