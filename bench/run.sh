#!/usr/bin/env bash
# Builds the bench preset and measures the game: the frame costs and the map dialog's file list on
# a folder of 1,000 maps in-process (Google Benchmark, headless platform) and the real binary from
# outside under Xvfb (start-up time, also as a ratio to a bare Qt window's timed in the same runs,
# memory while playing, CPU while stopped). Prints the figures with their goals and the machine;
# exits 1 when a goal is missed or a measurement failed.
#
#   bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench

build=build/bench
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "=== frame costs and the map dialog's file list (offscreen) ==="
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$build/bench/plinkat_bench" \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>/dev/null | tee "$out/bench.txt"

echo "=== real binary under Xvfb ==="
runs=15 # start-up runs of each program, alternating
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "$build/bench/plinkat_probe" \
    "$build/play/plinkat" "$build/bench/plinkat_bare_window" "$build/play" "$runs" \
    2>"$out/probe.err" | tee "$out/probe.txt" || { cat "$out/probe.err"; echo "probe failed"; exit 1; }

# Median of a benchmark in microseconds (wall time).
median_us() { awk -v n="$1_median" '$1 == n { print $2; exit }' "$out/bench.txt"; }
value() { sed -n "s/^$1=//p" "$out/probe.txt" | head -1; }
# Median over the start-up runs of one field.
startup_median() {
    sed -n "s/.* $1=\([0-9.-]*\).*/\1/p" "$out/probe.txt" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

missed=0
goal() { # name value unit limit [at-most]: below the limit, or up to it with "at-most"
    local verdict=ok op='<'
    [ "${5:-}" = at-most ] && op='<='
    if ! awk -v v="$2" -v l="$4" -v op="$op" 'BEGIN { exit !(v >= 0 && (op == "<" ? v < l : v <= l)) }'; then
        verdict=MISSED; missed=1
    fi
    printf '%-52s %10s %-3s  goal %s %s %s  %s\n' "$1" "$2" "$3" "$op" "$4" "$3" "$verdict"
}
info() { printf '%-52s %10s %-3s\n' "$1" "$2" "$3"; }

echo
echo "=== summary ==="
echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores," \
     "RAM $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
goal "ball tick, 40 cells redrawn on the canvas" "$(median_us BM_BallTick)" us 320
goal "ball tick with the cell marks on" "$(median_us BM_BallTickWithCellMarks)" us 320
goal "ball tick with the repaint it causes" "$(median_us BM_BallTickWithRepaint)" us 320
info "paint of a whole main-window frame (grab)" "$(median_us BM_PaintMainWindowGrab)" us
info "paint of a whole main-window frame (into QImage)" "$(median_us BM_PaintMainWindowToImage)" us
# A folder the player opens shows at once: under a tenth of a second, its pictures included.
goal "1,000 maps: folder opened, pictures in view drawn" "$(median_us BM_MapFolderOpenCold)" us 100000
info "1,000 maps: list refreshed, pictures known" "$(median_us BM_MapFolderRefreshWarm)" us
info "1,000 maps: list refreshed, no pictures at all" "$(median_us BM_MapFolderRefreshWithoutPictures)" us
info "start to bare Qt window mapped (median of $runs)" "$(value startup_bare_median_ms)" ms
info "start to start screen mapped (median of $runs)" "$(value startup_game_median_ms)" ms
goal "  start screen mapped / bare window mapped" "$(value startup_ratio)" x 1.25 at-most
goal "start to start screen painted (median of $runs)" "$(startup_median painted_ms)" ms 300
goal "start to first sound of the melody (median of $runs)" "$(startup_median first_sound_ms)" ms 300
goal "resident memory while playing (peak of 5 s)" "$(( $(value play_rss_peak_kb) / 1024 ))" MB 80
info "CPU while playing, music on" "$(value play_cpu_percent)" "%"
# "About zero": the text caret blinking in the hint line is all that runs (two repaints a second).
goal "CPU while stopped, no audio output (about 0)" "$(value idle_noaudio_cpu_percent)" "%" 2
info "CPU while stopped, music playing" "$(value idle_music_cpu_percent)" "%"
info "  by thread: $(value idle_music_threads)" "" ""
info "main-thread wake-ups while stopped" "$(value idle_noaudio_main_wakeups_per_s)" "/s"
exit "$missed"
