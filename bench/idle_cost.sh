#!/usr/bin/env bash
# What the two programs cost while nothing happens, and how fast a held
# window operator repeats. Each program runs on a private Xvfb display:
#
#   - idle: the program runs IDLE_SECONDS (default 10) without any input;
#     the processor time it used (user + system, from /proc) is printed as
#     a share of one core, with the X server's share beside it;
#   - held operator: the left button is held for one second on operator 2
#     of the window in front (shrink height, 4 pixels a repeat); the height
#     the window lost, read from a screenshot, gives the repeats per second.
#
# The demo is measured with its animation window in front (as it starts:
# the animation runs at 60 steps a second) and again after the window's
# close operator (nothing moves); the editor as it starts and with its
# file selector open.
#
# Xvfb has no graphics processor: SDL would emulate one in software for its
# default renderer and for the window's frame buffer, and that emulation
# would be measured instead of the program. The programs therefore run with
# SDL's software renderer and plain X11 frame buffer, as the end-to-end
# tests do; set SDL_FRAMEBUFFER_ACCELERATION=1 to measure the emulation too.
#
# Usage: bench/idle_cost.sh [build-folder]   (default: build-bench, shared
#        with bench/run.sh). Needs Xvfb, xdotool, ImageMagick and python3.
set -u
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${1:-build-bench}
IDLE_SECONDS=${IDLE_SECONDS:-10}
SETTLE_SECONDS=2
HOLD_SECONDS=1
STEP=4   # pixels a resize operator takes off per repeat

cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DTAVRIN_TESTS=OFF -DTAVRIN_BENCHMARKS=ON >/dev/null || exit 1
cmake --build "$BUILD" --target tavrin_demo tavrin_creator tavrin_layout -j 2 >/dev/null || exit 1
BUILD=$(cd "$BUILD" && pwd)

SCREEN_SIZE=1280x720
TIMEOUT=30
# shellcheck source=../tests/e2e/x11_session.sh
. "$ROOT/tests/e2e/x11_session.sh"
need python3
export SDL_FRAMEBUFFER_ACCELERATION=${SDL_FRAMEBUFFER_ACCELERATION:-0}
CLOCK_TICKS=$(getconf CLK_TCK)

# Processor time of a process so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs the program idle and prints its share of one core.
measure_idle() {
    local what=$1 p0 x0 p1 x1
    sleep "$SETTLE_SECONDS"
    p0=$(cpu_ticks "$PROGRAM_PID") x0=$(cpu_ticks "$XVFB_PID")
    sleep "$IDLE_SECONDS"
    p1=$(cpu_ticks "$PROGRAM_PID") x1=$(cpu_ticks "$XVFB_PID")
    awk -v what="$what" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v hz="$CLOCK_TICKS" -v s="$IDLE_SECONDS" 'BEGIN {
        printf "%-44s idle %2d s: %5.1f %% of one core (X server %4.1f %%)\n", what, s, 100 * p / hz / s, 100 * x / hz / s }'
}

# Last row from TOP to BOTTOM of column X of a fresh screenshot that is not
# the background colour "R G B": the bottom line of the frame around the
# window in front.
bottom_edge() {
    local x=$1 top=$2 bottom=$3 background=$4
    shoot
    convert "$SHOT" -crop "1x$((bottom - top + 1))+$x+$top" -depth 8 txt:- | awk -v top="$top" -v bg="$background" '
        /^[0-9]+,[0-9]+:/ { split($1, at, "[,:]"); colour = $2; gsub(/[()]/, "", colour); gsub(/,/, " ", colour)
                            split(colour, c, " "); if (c[1] " " c[2] " " c[3] != bg) last = top + at[2] }
        END { print last + 0 }'
}

# Holds the left button on the window operator at X Y for HOLD_SECONDS and
# prints the repeats per second, read from the window's bottom edge in
# column COLUMN between rows TOP and BOTTOM.
measure_held() {
    local what=$1 x=$2 y=$3 column=$4 top=$5 bottom=$6 background=$7 before after t0 t1
    before=$(bottom_edge "$column" "$top" "$bottom" "$background")
    xdotool mousemove --window "$WINDOW" "$x" "$y"
    t0=$(date +%s.%N)
    xdotool mousedown 1
    sleep "$HOLD_SECONDS"
    xdotool mouseup 1
    t1=$(date +%s.%N)
    sleep 0.5
    after=$(bottom_edge "$column" "$top" "$bottom" "$background")
    awk -v what="$what" -v lost=$((before - after)) -v step=$STEP -v t0="$t0" -v t1="$t1" 'BEGIN {
        printf "%-44s held operator: %5.1f repeats a second (%d pixels in %.2f s)\n", what, lost / step / (t1 - t0), lost, t1 - t0 }'
}

stop_program() {
    kill -KILL "$PROGRAM_PID" 2>/dev/null
    wait "$PROGRAM_PID" 2>/dev/null
    PROGRAM_PID=
}

# Operator n of a window of style 0 at X, Y, W: a row of 16-pixel buttons
# ending at the window's right edge, 24 pixels above its top; its centre.
operator_centre() { echo "$(($2 + $4 + 16 * ($1 - 8) + 8)) $(($3 - 24 + 8))"; }

start_display
echo "Xvfb $SCREEN_SIZE, SDL_RENDER_DRIVER=software, SDL_FRAMEBUFFER_ACCELERATION=$SDL_FRAMEBUFFER_ACCELERATION"

# The places of the objects used come from the packed layouts.
positions() {
    "$BUILD/tools/tavrin_layout" unpack "$1.tav" "$1.taw" >"$TMP/layout.json" || fail "cannot unpack $1"
    python3 "$ROOT/tests/e2e_creator/layout_positions.py" "$TMP/layout.json" "${@:2}"
}

# --- tavrin_demo: animation window 44 in front, then closed --------------
DEMO_RUN=$BUILD/demo/run
eval "$(positions "$DEMO_RUN/29" 44)"
launch "$DEMO_RUN" tavrin_demo "Tavrin Demo"
measure_idle "tavrin_demo, animation window in front"
measure_held "tavrin_demo, animation window" $(operator_centre 2 "$O44_X" "$O44_Y" "$O44_W") \
    $((O44_X + 2)) "$O44_Y" $((O44_Y + O44_H + 1)) "140 140 140"
click $(operator_centre 7 "$O44_X" "$O44_Y" "$O44_W")
measure_idle "tavrin_demo, animation window closed"
stop_program

# --- tavrin_creator: as it starts, then with the file selector open ------
CREATOR_RUN=$BUILD/creator/run
eval "$(positions "$CREATOR_RUN/6495" 8 62 64)"
launch "$CREATOR_RUN" tavrin_creator "Tavrin Creator"
measure_idle "tavrin_creator, as it starts"
click $((O62_X + 5)) $((O62_Y + O62_H / 2))
sleep 0.5
click $((O64_X + 5)) $((O64_Y + O64_H / 2))
measure_idle "tavrin_creator, file selector open"
measure_held "tavrin_creator, file selector" $(operator_centre 2 "$O8_X" "$O8_Y" "$O8_W") \
    $((O8_X + 2)) "$O8_Y" $((O8_Y + O8_H + 1)) "240 240 240"
stop_program
