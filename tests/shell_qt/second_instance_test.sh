#!/bin/sh
# A second start of zevik on the same session bus asks the first (waiting in the tray) to come to the
# front and exits 0 at once, while the first keeps running; the updater's event 4 over the bus then
# ends the first with 0. Skipped (exit 0 with a note) without dbus-run-session.
zevik="$1"
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "dbus-run-session is missing: skipped"
    exit 0
fi
export QT_QPA_PLATFORM=offscreen
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
exec dbus-run-session -- sh -c '
    zevik="$1"; dir="$2"
    ZEVIK_TRACE=1 "$zevik" --emulate mouse --data-dir "$dir/a" --tray > "$dir/first.log" 2>&1 &
    first=$!
    sleep 2
    if ! kill -0 "$first" 2>/dev/null; then echo "the first instance did not keep running"; cat "$dir/first.log"; exit 1; fi
    start=$(date +%s)
    "$zevik" --emulate mouse --data-dir "$dir/b" > "$dir/second.log" 2>&1
    rc=$?
    end=$(date +%s)
    # Audio records over the bus: an oversized one and a band record; the program must keep running.
    if command -v dbus-send >/dev/null 2>&1; then
        big=$(awk "BEGIN { for (i = 0; i < 3000; i++) printf \"%s%d\", (i ? \",\" : \"\"), i % 256 }")
        dbus-send --session --print-reply --dest=org.zevik.R300Prime /org/zevik/R300Prime \
            org.zevik.R300Prime.CopyData uint32:1 "array:byte:$big" > /dev/null || { echo "record call failed"; exit 1; }
        dbus-send --session --print-reply --dest=org.zevik.R300Prime /org/zevik/R300Prime \
            org.zevik.R300Prime.CopyData uint32:2 "array:byte:1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28" \
            > /dev/null || { echo "record call failed"; exit 1; }
        sleep 0.3
    fi
    kill -0 "$first" 2>/dev/null; alive=$?
    # The first pass of the device scan and the second start each ask the window to come forward.
    activations=$(grep -c "软件标示" "$dir/first.log")
    ended=1
    if command -v dbus-send >/dev/null 2>&1; then
        dbus-send --session --print-reply --dest=org.zevik.R300Prime /org/zevik/R300Prime \
            org.zevik.R300Prime.UpdateEvent uint32:4 int32:0 > /dev/null || { echo "update event call failed"; exit 1; }
        i=0
        while kill -0 "$first" 2>/dev/null && [ "$i" -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
        if kill -0 "$first" 2>/dev/null; then ended=0; kill "$first" 2>/dev/null; fi
    else
        kill "$first" 2>/dev/null
    fi
    wait "$first"; firstrc=$?
    cat "$dir/second.log"
    [ "$rc" -eq 0 ] || { echo "second instance exited $rc"; exit 1; }
    [ $((end - start)) -le 5 ] || { echo "second instance took too long"; exit 1; }
    grep -q "already running" "$dir/second.log" || { echo "second instance did not find the first"; exit 1; }
    [ "$alive" -eq 0 ] || { echo "the first instance ended"; exit 1; }
    [ "$activations" -ge 2 ] || { echo "the first instance was not asked to come forward"; cat "$dir/first.log"; exit 1; }
    [ "$ended" -eq 1 ] || { echo "update event 4 did not end the first instance"; exit 1; }
    if command -v dbus-send >/dev/null 2>&1; then
        [ "$firstrc" -eq 0 ] || { echo "the first instance exited $firstrc"; exit 1; }
    fi
    echo "second instance activated the first"
' sh "$zevik" "$dir"
