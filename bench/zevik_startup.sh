#!/bin/sh
# zevik start-up and idle cost with one emulated mouse (offscreen):
#   start to first rendered window: wall time of a run that renders the window, grabs its picture as
#     soon as the window shows (after the first device scan) and exits (an upper bound: it includes
#     saving the PNG and the shutdown);
#   peak resident memory of that run;
#   idle CPU: CPU seconds per wall second while the program waits in the tray with the mouse
#     connected (bench/zevik_idle.sh measures the open window, offscreen and on an X server).
# Usage: bench/zevik_startup.sh [build/bin/zevik]   (ZEVIK_BENCH_RUNS, ZEVIK_BENCH_IDLE_SECONDS)
zevik="${1:-build/bin/zevik}"
runs="${ZEVIK_BENCH_RUNS:-5}"
idle="${ZEVIK_BENCH_IDLE_SECONDS:-10}"
export QT_QPA_PLATFORM=offscreen
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

best=""
rss=0
i=0
while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$dir/rss" "$zevik" --emulate mouse --data-dir "$dir/data" \
        --screenshot "$dir/shot.png" --screenshot-after 0 >/dev/null 2>&1 || { echo "zevik failed"; exit 1; }
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    kb=$(tail -n 1 "$dir/rss")
    if [ "$kb" -gt "$rss" ]; then rss=$kb; fi
    i=$((i + 1))
done
echo "start to first rendered window: best ${best} ms of ${runs} runs (goal 300 ms)"
echo "peak resident memory: $((rss / 1024)) MB (goal 80 MB)"

"$zevik" --emulate mouse --data-dir "$dir/data" --tray >/dev/null 2>&1 &
pid=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
t0=$(ticks)
sleep "$idle"
t1=$(ticks)
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
hz=$(getconf CLK_TCK)
echo "idle CPU: $(awk -v a="$t0" -v b="$t1" -v hz="$hz" -v s="$idle" 'BEGIN { printf "%.2f", (b - a) / hz / s * 100 }') % of one core over ${idle} s in the tray (goal 0.3 %)"
