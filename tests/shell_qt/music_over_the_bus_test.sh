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
    zevik="$1"; zevikctl="$2"; dir="$3"
    # Dark keys show the background: black, so only the music lights anything.
    "$zevikctl" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" batch > "$dir/setup.log" 2>&1 <<SCRIPT || { cat "$dir/setup.log"; exit 1; }
keyboard lighting mode 29
keyboard lighting brightness 4
keyboard lighting audio-edit bg
keyboard lighting audio-clear-bg
SCRIPT
    head -c 2000 /dev/zero > "$dir/quiet.bin"
    i=0
    while [ "$i" -lt 500 ]; do printf "\240\017\000\000"; i=$((i + 1)); done > "$dir/loud.bin"  # 4000
    # 0x12 reports that light more than two keys (the profile own per-key effects light one or so).
    lit() { awk "\$1 == \"OUT\" && \$6 == \"12\" { b = 0; for (i = 11; i <= NF; i++) if (\$i != \"00\") b++; if (b > 6) n++ } END { print n + 0 }" "$dir/log"; }
    "$zevik" --emulate keyboard --emulator-state "$dir/state" --data-dir "$dir/data" --emulator-log "$dir/log" --tray > "$dir/zevik.log" 2>&1 &
    program=$!
    i=0
    until "$zevikctl" audio send 1 "$dir/quiet.bin" > /dev/null 2>&1; do
        i=$((i + 1)); [ "$i" -lt 100 ] || { echo "zevik did not come up"; cat "$dir/zevik.log"; kill "$program"; exit 1; }
        sleep 0.1
    done
    sleep 1.5
    frames=$(grep -c " 12 " "$dir/log")
    before=$(lit)
    for record in quiet loud quiet; do "$zevikctl" audio send 1 "$dir/$record.bin" || { kill "$program"; exit 1; }; done
    sleep 0.5
    after=$(lit)
    kill "$program"; wait "$program"
    echo "streamed reports before the music $frames, lit before $before, lit after $after"
    [ "$frames" -gt 0 ] || { echo "no frame was streamed"; exit 1; }
    [ "$before" -eq 0 ] || { echo "silence lit the keys"; exit 1; }
    [ "$after" -gt 0 ] || { echo "the records lit nothing"; exit 1; }
' sh "$zevik" "$zevikctl" "$dir"
