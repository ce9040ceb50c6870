#!/usr/bin/env bash
# Takes the screenshots dist/screenshots/*.png from the real game under Xvfb: the start screen, a
# game in progress on level 7, the same with the cell marks on, the map dialog with the pictures
# of the level maps, the map editor, the options, the records, and a game at 200 % window size
# on a large screen.
#
#   dist/screenshots.sh [build folder]     default build/dev, whose plinkat target must be built
#
# Needs xvfb, xdotool, x11-utils and imagemagick. The ball's position depends on timing, so look
# at every picture before committing it, and run the script again if one is not nice.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build/dev}" && pwd)
out="$src/dist/screenshots"
work=$(mktemp -d)
xvfb_pid=
game_pid=
# The game is waited for before its folder goes: closing, it still writes its settings there.
cleanup() {
    stop_screen
    rm -rf "$work"
}
trap cleanup EXIT

# A play folder with the shipped maps and settings and the generated sound and melodies.
play="$work/Plinkat"
mkdir -p "$play"
cp "$src"/data/*.dbm "$src/data/config.cfg" "$build/play/ring.Wav" "$play/"
cp -r "$build/play/music" "$play/"
# A few runs in the records, the last one the newest.
cat >"$play/records.txt" <<'RECORDS'
1985 12 2026-12-05T21:14:00+00:00
1340 9 2026-12-02T19:40:00+00:00
975 7 2026-12-07T20:05:00+00:00
620 5 2026-11-29T18:22:00+00:00
410 4 2026-12-06T17:51:00+00:00
215 2 2026-12-01T16:30:00+00:00
RECORDS

# A virtual screen of this size on a free display number, which Xvfb writes to fd 3 once it is
# ready, and the game on it.
start_screen() { # WxH
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "$1x24" -noreset -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$work/display")"
    (cd "$play" && QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy exec "$build/play/plinkat") &
    game_pid=$!
}
stop_screen() {
    if [ -n "$game_pid" ]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    game_pid=
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    xvfb_pid=
}
start_screen 1024x768

# The id of the game's mapped window that is this many pixels wide, looking every 0.1 s up to
# $2 times (default 100). The widths: start screen 425, main window 613, editor 485, options 348,
# map dialog 305, records 360, the menu "файл" 158, the menu "вид" 142; at 200 % twice those.
find_window() {
    local id width
    for _ in $(seq "${2:-100}"); do
        for id in $(xdotool search --onlyvisible --class '^plinkat$' 2>/dev/null); do
            width=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
            if [ "$width" = "$1" ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

window() {
    find_window "$1" && return
    echo "screenshots.sh: no window $1 pixels wide; the game's windows:" >&2
    for id in $(xdotool search --onlyvisible --class '^plinkat$' 2>/dev/null); do
        xdotool getwindowname "$id" getwindowgeometry "$id" >&2
    done
    exit 1
}

click() { # window x y
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.2
    xdotool click 1
}

# Opens a menu of the main window by the keyboard and picks an entry: Alt, then the keys given
# (which walk to the menu and its first entry), then Down n times and Return. The keyboard opens
# it, as without a window manager a click shows it only for a moment; the keys miss now and then,
# so they are tried again until the menu, a popup of the given width, shows.
pick_from_menu() { # name popup-width n keys...
    local name=$1 width=$2 n=$3
    shift 3
    xdotool mousemove --window "$main" 300 300
    for _ in 1 2 3 4 5; do
        sleep 0.3
        xdotool key alt
        sleep 0.3
        xdotool key "$@"
        if find_window "$width" 10 >/dev/null; then
            for _ in $(seq "$n"); do
                xdotool key Down
            done
            xdotool key Return
            return
        fi
        xdotool key Escape Escape
    done
    echo "screenshots.sh: the menu $name did not open" >&2
    exit 1
}

# The n-th entry (0 сэйвы, 1 карты, 2 редактор карт, 3 случайная карта, 4 рекорды) of "файл".
file_menu() { pick_from_menu файл 158 "$1" Down; }
# Switches the cell marks, the first entry of "вид", the fourth menu of the menu bar.
toggle_marks() { pick_from_menu вид 142 0 Right Right Right Down; }

shot() { # window name
    sleep 0.5 # painted
    import -window "$1" -strip -define png:exclude-chunks=date,time "$out/$2.png"
    echo "$out/$2.png"
}

mkdir -p "$out"
start=$(window 425)
xdotool mousemove 1000 700
shot "$start" start

click "$start" 216 252 # СТАРТ
main=$(window 613)
sleep 0.5

# The ball launched and paused at once; then level 7 through the map dialog (the first file, then
# "7" jumps to 7.dbm), shown with 7.dbm chosen, whose "load" lets the ball fly on for a quarter of
# a second before the pause.
click "$main" 224 530
xdotool mousemove --window "$main" 592 35 click 1
file_menu 1
dialog=$(window 305)
click "$dialog" 200 31
xdotool type 7
sleep 0.5 # the name box follows the list
xdotool mousemove 1000 700 # no tooltip over the list
shot "$dialog" preview
click "$dialog" 44 272
xdotool mousemove --window "$main" 592 35 sleep 0.25 click 1
xdotool mousemove 1000 700 # off the windows: the hint line keeps the score
shot "$main" play
toggle_marks
xdotool mousemove 1000 700
shot "$main" marks
toggle_marks

file_menu 2 # редактор карт, showing the loaded map
editor=$(window 485)
xdotool mousemove 1000 700
shot "$editor" editor
click "$editor" 312 272 # нет

click "$main" 78 9 # опции
options=$(window 348)
xdotool mousemove 1000 700
shot "$options" options
click "$options" 92 220 # готово

file_menu 4 # рекорды
records=$(window 360)
xdotool mousemove 1000 700
shot "$records" records

# The main window at 200 %, on a screen that holds it: level 7 from the saved game (сэйвы →
# загрузить, with its two boxes), launched and paused at once.
stop_screen
printf 'cell-marks off\nwindow-size 200\n' >"$play/view.cfg"
printf ' 7 \r\n' >"$play/save.dbs"
start_screen 2560x1440
start=$(window 850)
click "$start" 432 504 # СТАРТ
main=$(window 1226)
sleep 0.5
xdotool mousemove --window "$main" 600 600
for _ in 1 2 3 4 5; do
    sleep 0.3
    xdotool key alt
    sleep 0.3
    xdotool key Down
    find_window 316 10 >/dev/null && break
    xdotool key Escape
done
xdotool key Right Return
for _ in 1 2; do # the path, then the level
    find_window 1226 1 >/dev/null
    sleep 0.5
    xdotool key Return
done
sleep 0.5
xdotool mousemove --window "$main" 448 1060 click 1 key p
xdotool mousemove 2500 1400
shot "$main" large
