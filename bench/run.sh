#!/usr/bin/env bash
# Builds the bench preset and measures the game: the frame costs and the map dialog's file list on
# a folder of 1,000 maps in-process (Google Benchmark, headless platform), the real binary from
# outside under Xvfb (start-up time, also as a ratio to a bare Qt window's timed in the same runs,
# memory while playing, CPU while stopped), and the ball's motion as the screen shows it at 60,
# 120 and 144 Hz (plinkat_frame_probe, beside a bare window's ball as the limit). Prints the
# figures with their goals and the machine; exits 1 when a goal is missed or a measurement failed.
#
#   bench/run.sh          everything
#   bench/run.sh motion   only the ball's motion
# PLINKAT_MOTION_RUNS (3) and PLINKAT_MOTION_SECONDS (10) set the motion's runs per rate and their
# length; PLINKAT_MOTION_GAME=BINARY measures another build of the game (an earlier one, to compare).
# PLINKAT_MOTION_RT=1 runs the X server, the game and the probe at a real-time priority
# (chrt -f 5), so that other work on a busy machine does not make them miss frames (all but the run
# with both cores busy). PLINKAT_MOTION_SIZE=150 or 200 runs the game at that window size, on a
# larger screen; the bare ball is then not read.
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
case "$what" in all | motion) ;; *) echo "usage: $0 [motion]" >&2; exit 2 ;; esac

cmake --preset bench >/dev/null
cmake --build --preset bench

build=build/bench
out=$(mktemp -d)
busy=()
trap 'for p in "${busy[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$out"' EXIT

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
machine() {
    echo "CPU: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), $(nproc) cores," \
         "RAM $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)," \
         "load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

if [ "$what" = all ]; then
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

echo
echo "=== summary ==="
machine
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
fi

# The ball's motion as the screen shows it. Xvfb fakes a display of N Hz (-fakescreenfps); the
# probe reads the main window three quarters of a frame after every blank while the ball flies
# and the pointer keeps the paddle under it, then reads a bare window's ball drawn at every blank
# (the limit). When the game writes a frame log (PLINKAT_FRAME_LOG), its own figures follow.
runs=${PLINKAT_MOTION_RUNS:-3}
game=${PLINKAT_MOTION_GAME:-$build/play/plinkat} # another build of the game, to compare
seconds=${PLINKAT_MOTION_SECONDS:-10}
motion_run() { # name rate [preload]: one run of the probe, its figures into $out/motion-<name>.txt
    local log="$out/frames-$1.log" preload=() rt=()
    [ -n "${3:-}" ] && preload=(env LD_PRELOAD="$PWD/$3")
    [ "${PLINKAT_MOTION_RT:-0}" = 1 ] && [ "$1" != loaded ] && rt=(chrt -f 5)
    rm -f "$log"
    # -extension Present: Xvfb keeps Present all the same; the preloaded library hides it.
    local screen=1024x768x24
    [ "${PLINKAT_MOTION_SIZE:-100}" != 100 ] && screen=2560x1600x24 # room for the larger windows
    local server="-screen 0 $screen -noreset -fakescreenfps $2"
    [ -n "${3:-}" ] && server="$server -extension Present"
    if ! PLINKAT_FRAME_LOG="$log" "${rt[@]}" xvfb-run -a -s "$server" "${preload[@]}" "$build/bench/plinkat_frame_probe" \
            "$game" "$build/play" "$seconds" "$build/bench/plinkat_bare_ball" "$seconds" \
            >"$out/motion-$1.txt" 2>>"$out/motion.err"; then
        echo "motion run $1 failed:"; tail -5 "$out/motion.err"; missed=1
    fi
    if [ -s "$log" ]; then
        "$build/bench/plinkat_frame_stats" "$log" >>"$out/motion-$1.txt" || true
    fi
    printf '%-12s' "$1:"; grep -E '^(drawn_per_s|frozen_or_doubled_per_s|judder_percent|pace|cpu_percent|latency_ms|interruptions|reads_missed)=' \
        "$out/motion-$1.txt" | tr '\n' ' ' || true; echo
}
echo
echo "=== ball's motion under Xvfb ($runs runs of ${seconds} s at each rate, then the bare ball's)" \
     "$([ "${PLINKAT_MOTION_RT:-0}" = 1 ] && echo "at a real-time priority ")==="
for hz in 60 120 144; do
    for r in $(seq 1 "$runs"); do motion_run "$hz-$r" "$hz"; done
done
motion_run nopresent 60 "$build/tools/libplinkat_no_present.so"
# Both cores busy with endless loops, stopped right after.
for _ in 1 2; do sh -c 'while :; do :; done' & busy+=($!); done
motion_run loaded 60
for p in "${busy[@]}"; do kill "$p" 2>/dev/null || true; done
busy=()

# One figure over the runs of a rate: "best median", best as `how` says (max, min, or near1: the
# closest to 1).
figure() { # rate key how
    local f
    for f in "$out"/motion-"$1"-*.txt; do sed -n "s/^$2=//p" "$f" | head -1; done | sort -g |
        awk -v how="$3" '
            { v[++n] = $1 }
            END {
                if (!n) { print "- -"; exit }
                best = how == "max" ? v[n] : v[1]
                if (how == "near1")
                    for (i = 1; i <= n; ++i) if ((v[i] - 1) ^ 2 < (best - 1) ^ 2) best = v[i]
                med = n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
                print best, med
            }'
}
# name rate key how unit goal-test goal-text: the best run decides, the median stands beside it.
mgoal() {
    local bm best med verdict=ok
    bm=$(figure "$2" "$3" "$4"); best=${bm% *}; med=${bm#* }
    if [ -n "$6" ]; then
        awk -v v="$best" "BEGIN { exit !($6) }" 2>/dev/null || { verdict=MISSED; missed=1; }
        [ "$best" = - ] && { verdict=MISSED; missed=1; }
    else
        verdict=""
    fi
    printf '%-52s %9s %9s %-4s %-16s %s\n' "$1" "$best" "$med" "$5" "$7" "$verdict"
}
value_of() { sed -n "s/^$2=//p" "$out/motion-$1.txt" | head -1; }

echo
echo "=== summary: ball's motion ==="
machine
printf '%-52s %9s %9s %-4s %-16s\n' "(best and median of $runs runs of ${seconds} s)" best median "" goal
for hz in 60 120 144; do
    min_new=$(awk -v n="$hz" 'BEGIN { printf "%.1f", 0.95 * n }')
    mgoal "$hz Hz: ball drawn anew" "$hz" drawn_per_s max /s "v >= $min_new" ">= $min_new /s"
    mgoal "$hz Hz: frames frozen or doubled" "$hz" frozen_or_doubled_per_s min /s "v <= 1" "<= 1 /s"
    mgoal "$hz Hz: judder (RMS of step / mean - 1)" "$hz" judder_percent min % "v <= 10" "<= 10 %"
    mgoal "$hz Hz: pace (ball speed / 62.5 ticks a second)" "$hz" pace near1 "" "v >= 0.98 && v <= 1.02" "1.00 +- 0.02"
    mgoal "$hz Hz: CPU while the ball flies" "$hz" cpu_percent min % "" ""
    mgoal "$hz Hz: mouse -> paddle drawn (median of 20 moves)" "$hz" latency_ms min ms "" ""
    mgoal "$hz Hz: interruptions (boxes answered)" "$hz" interruptions min "" "" ""
    if grep -q '^log_frames_per_s=' "$out/motion-$hz-1.txt"; then
        mgoal "$hz Hz, game's log: frames drawn" "$hz" log_frames_per_s max /s "" ""
        mgoal "$hz Hz, game's log: frozen or doubled" "$hz" log_frozen_or_doubled_per_s min /s "" ""
        mgoal "$hz Hz, game's log: judder" "$hz" log_judder_percent min % "" ""
        mgoal "$hz Hz, game's log: pace (ticks a second / 62.5)" "$hz" log_pace near1 "" "" ""
    fi
    mgoal "$hz Hz, bare ball (limit): drawn anew" "$hz" bare_drawn_per_s max /s "" ""
    mgoal "$hz Hz, bare ball (limit): frozen or doubled" "$hz" bare_frozen_or_doubled_per_s min /s "" ""
    mgoal "$hz Hz, bare ball (limit): judder" "$hz" bare_judder_percent min % "" ""
done
# The single runs: Present hidden from the game, and both cores busy.
for run in nopresent loaded; do
    case $run in
        nopresent) name="60 Hz, Present hidden from the game" ;;
        loaded) name="60 Hz, both cores busy" ;;
    esac
    printf '%-52s %9s %9s %-4s\n' "$name: pace" "$(value_of $run pace)" "" ""
    [ -n "$(value_of $run log_pace)" ] &&
        printf '%-52s %9s %9s %-4s\n' "$name: game's log: pace" "$(value_of $run log_pace)" "" ""
    printf '%-52s %9s %9s %-4s\n' "$name: ball drawn anew" "$(value_of $run drawn_per_s)" "" /s
    printf '%-52s %9s %9s %-4s\n' "$name: frozen or doubled" "$(value_of $run frozen_or_doubled_per_s)" "" /s
    printf '%-52s %9s %9s %-4s\n' "$name: judder" "$(value_of $run judder_percent)" "" %
done
exit "$missed"
