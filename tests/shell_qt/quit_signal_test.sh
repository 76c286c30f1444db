#!/bin/sh
# SIGTERM (the session ending, `kill`) runs zevik's orderly shutdown: it exits 0 and what it keeps on
# exit (here the emulated mouse's memory) is written.
zevik="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen
"$zevik" --emulate mouse --emulator-state "$dir/state.json" --data-dir "$dir/data" --tray > "$dir/log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { echo "zevik did not keep running"; cat "$dir/log"; exit 1; }
kill -TERM "$pid"
wait "$pid"; rc=$?
[ "$rc" -eq 0 ] || { echo "zevik exited $rc on SIGTERM"; cat "$dir/log"; exit 1; }
[ -s "$dir/state.json" ] || { echo "the shutdown did not run: no emulator state saved"; exit 1; }
echo "SIGTERM ended zevik in order"
