#!/bin/sh
# Runs a command beside a private PulseAudio server whose only output, the default, is a null sink:
# what is played into it can be heard on its monitor as on a desktop, and no real sound card or the
# user's own server is touched. The command finds the server through PULSE_SERVER and its process
# through ZEVIK_TEST_SOUND_SERVER_PID (the socket appears once the output exists). Without pulseaudio the command runs as it is: tests that need
# a sound server then skip.
#   with_sound_server.sh COMMAND [ARGS...]
if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "pulseaudio is missing: the command runs without a sound server"
    exec "$@"
fi
dir=$(mktemp -d)
server=
cleanup() {
    [ -n "$server" ] && kill -CONT "$server" 2>/dev/null && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
mkdir -p "$dir/home" "$dir/runtime"
chmod 700 "$dir/runtime"
# Its own home and runtime folders: the server keeps its state and cookie there, not in the user's.
HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home/.config" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --load="module-null-sink sink_name=zevik_test_output" \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
    --log-target=file:"$dir/server.log" >/dev/null 2>&1 &
server=$!
export PULSE_SERVER="unix:$dir/native"
export ZEVIK_TEST_SOUND_SERVER_PID="$server"
i=0
until [ -S "$dir/native" ]; do
    i=$((i + 1))
    if [ "$i" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "the private sound server did not start:"
        cat "$dir/server.log" 2>/dev/null
        exit 1
    fi
    sleep 0.05
done
"$@"
