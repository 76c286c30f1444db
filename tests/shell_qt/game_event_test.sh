#!/bin/sh
# A game event sent with "zevikctl game" reaches the running zevik over the session bus: the mouse
# shows the event's mode, and five seconds later the mode it had. Skipped (exit 0 with a note)
# without dbus-run-session.
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
    mode() { sed -n "s/.*\"SelectItem\" : \([0-9]*\).*/\1/p" "$dir"/data/mouse/*.Json 2>/dev/null | head -n 1; }
    "$zevik" --emulate mouse --data-dir "$dir/data" --tray > "$dir/zevik.log" 2>&1 &
    program=$!
    # Until the program owns its name and the mouse has its profile (wParam 3 changes no device).
    i=0
    until "$zevikctl" game Game_Start 3 0 > /dev/null 2>&1 && [ -n "$(mode)" ]; do
        i=$((i + 1)); [ "$i" -lt 100 ] || { echo "zevik did not come up"; cat "$dir/zevik.log"; kill "$program"; exit 1; }
        sleep 0.1
    done
    sleep 1
    before=$(mode)
    "$zevikctl" game Game_Start 0 9 || { echo "the game event was not taken"; kill "$program"; exit 1; }
    sleep 1
    during=$(mode)
    sleep 5
    after=$(mode)
    kill "$program"; wait "$program"
    echo "mode before $before, during $during, after $after"
    [ "$during" = 9 ] || { echo "the event did not switch the effect"; exit 1; }
    # The mode to return to: the old one, or 1 for 0 and anything above 20.
    want=$before
    if [ "$before" -eq 0 ] || [ "$before" -gt 20 ]; then want=1; fi
    [ "$after" = "$want" ] || { echo "the effect did not return to $want"; exit 1; }
' sh "$zevik" "$zevikctl" "$dir"
