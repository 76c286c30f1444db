# Sourced by the music tests: the profile they start from and the count of lit frames.

# music_profile ZEVIKCTL DIR: the emulated keyboard (state DIR/state, data DIR/data) in the music
# effect, its dark keys showing a black background, so only the music lights anything.
music_profile() {
    "$1" --emulate keyboard --emulator-state "$2/state" --data-dir "$2/data" batch > "$2/setup.log" 2>&1 <<SCRIPT || { cat "$2/setup.log"; return 1; }
keyboard lighting mode 29
keyboard lighting brightness 4
keyboard lighting audio-edit bg
keyboard lighting audio-clear-bg
SCRIPT
}

# lit_frames LOG: the 0x12 reports in an --emulator-log that light more than two keys (the profile's
# own per-key effects light one or so).
lit_frames() {
    awk '$1 == "OUT" && $6 == "12" { b = 0; for (i = 11; i <= NF; i++) if ($i != "00") b++; if (b > 6) n++ } END { print n + 0 }' "$1"
}
