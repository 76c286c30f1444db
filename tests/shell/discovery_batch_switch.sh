#!/bin/sh
# A scripted session of the headless tool: the mouse moves from its cable to its receiver and back,
# and a setting changed while on the receiver reaches the mouse and the profile.
# Usage: discovery_batch_switch.sh ZEVIKCTL
set -eu
ZEVIKCTL=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

"$ZEVIKCTL" --emulate mouse@both --emulator-state "$WORK/state.json" --data-dir "$WORK/data" batch \
    > "$WORK/out.txt" <<'SCRIPT'
# the cable wins while both are present
wait 300
mouse show
emulator unplug mouse
wait 500
mouse show
mouse dpi 3 2250
emulator plug mouse
wait 500
mouse show
emulator unplug mouse
emulator unplug mouse-receiver
wait 300
SCRIPT

connections=$(grep '^connection:' "$WORK/out.txt" | tr '\n' ' ')
[ "$connections" = "connection: cable connection: receiver connection: cable " ] || {
    echo "unexpected connections: $connections"; cat "$WORK/out.txt"; exit 1; }
[ "$(grep -c '^stage 3: 2250 dpi' "$WORK/out.txt")" = 1 ] || { echo "stage 3 not changed"; cat "$WORK/out.txt"; exit 1; }

# The change is in the emulated mouse and in the profile: a fresh run reads it back.
"$ZEVIKCTL" --emulate mouse --emulator-state "$WORK/state.json" --data-dir "$WORK/data" mouse show \
    | grep -q '^stage 3: 2250 dpi' || { echo "the change did not persist"; exit 1; }

# A bad line stops the run with its number.
if printf 'wait 10\nmouse dpi 9 100\n' | "$ZEVIKCTL" --emulate mouse --data-dir "$WORK/data" batch 2> "$WORK/err.txt"; then
    echo "a bad stage was accepted"; exit 1
fi
grep -q 'line 2' "$WORK/err.txt" || { echo "no line number in: $(cat "$WORK/err.txt")"; exit 1; }
echo ok
