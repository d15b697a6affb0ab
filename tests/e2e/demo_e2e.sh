#!/usr/bin/env bash
# End-to-end checks of tavrin_demo: the real program runs on a private Xvfb
# display, is driven with xdotool and judged by the pixels of screenshots.
#
#   demo_e2e.sh RUN_DIR CHECK
#
# RUN_DIR is the demo's run folder (program, layout, input.txt, font).
# CHECK is one of: startup_quit, close_window, interrupt, animation, raise,
# editing, background, missing_font, missing_layout, missing_input,
# bad_bitmap; or "screenshot FILE", which opens a few windows and saves the
# screen as a picture (docs/demo.png).
#
# Exit status 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

RUN_DIR=${1:?run folder}
CHECK=${2:?check name}
TIMEOUT=${TAVRIN_E2E_TIMEOUT:-30}   # seconds for any single wait
SCREEN_SIZE=1024x600
# shellcheck source=../e2e/x11_session.sh
. "$(cd "$(dirname "$0")/../e2e" && pwd)/x11_session.sh"

# Object positions of layouts/29.json, in screen pixels; the menu items are
# probed and clicked left of their centred labels.
BG_SPOT="700 500"            # free desk, away from the welcome card
BG_SPOT2="1000 590"
TITLE_PROGRAM="44 11"        # object 27
ITEM_QUIT="20 57"            # object 24, in menu 23 below the title
TITLE_WINDOWS="124 11"       # object 28
ITEM_ANIMATION="100 35"      # object 47
ITEM_EDITING="100 57"        # object 31
ITEM_CHAIN="100 79"          # object 30
ITEM_OBJECTS="100 101"       # object 37
TITLE_BACKGROUND="944 11"    # object 39
ITEM_ORANGE="885 35"         # object 42, in menu 40 which opens over the title
ITEM_BLUE_SPOT="885 57"      # object 43
BUTTON_MODE="178 360"        # object 48
BITMAP_AREA="260x200+36+140" # object 46
TITLE_BACKGROUND_AREA="138x16+875+3"
ANIMATION_MARK="18 60"       # the mark left of the active window 44
EDITING_HEADER="30 421"      # header of window 9
ENTRY_FIELD="150 499"        # object 11
ENTRY_AREA="190x22+36+488"
BUTTON_COPY="264 499"        # object 12
LABEL_AREA="260x22+36+518"   # object 16

# ---------------------------------------------------------------------------
# Display and program
# ---------------------------------------------------------------------------

# Starts the demo in FOLDER (default the run folder) on the display and
# waits for its window.
start_demo() {
    launch "${1:-$RUN_DIR}" tavrin_demo "Tavrin Demo"
    # The first drawing is complete once the desk shows its colour.
    wait_until pixel_is $BG_SPOT "140 140 140" || fail "the desk never turned dark grey"
}

# ---------------------------------------------------------------------------
# Screenshots
# ---------------------------------------------------------------------------

# Prints "R G B" of pixel X Y of the screenshot FILE.
pixel_of() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# True when pixel X Y of a fresh screenshot is "R G B".
pixel_is() {
    shoot
    [ "$(pixel_of "$SHOT" "$1" "$2")" = "$3" ]
}

# Prints a checksum of the area WxH+X+Y of the screenshot FILE.
area_sum() {
    convert "$1" -crop "$2" +repage -alpha off -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# Prints the number of pixels in the area WxH+X+Y of FILE that are not white.
coloured_pixels() {
    local total white
    total=$(( $(echo "$2" | sed 's/x/*/;s/+.*//') ))
    white=$(convert "$1" -crop "$2" +repage -alpha off -depth 8 -format %c histogram:info:- |
        sed -n 's/^ *\([0-9]*\):.*#FFFFFF.*/\1/p')
    echo $((total - ${white:-0}))
}

expect_pixel() {
    local got
    got=$(pixel_of "$SHOT" "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel $1,$2 is $got, expected $3"
}

# Opens menu TITLE and waits until it shows SPOT in the item colour.
open_menu() {
    click $1
    wait_until pixel_in_menu $2 || fail "menu under $1 did not open"
}

# An item is white, or 20 darker while the pointer is over it.
pixel_in_menu() {
    shoot
    case "$(pixel_of "$SHOT" "$1" "$2")" in
    "248 248 248" | "228 228 228") return 0 ;;
    *) return 1 ;;
    esac
}

# ---------------------------------------------------------------------------
# Checks
# ---------------------------------------------------------------------------

# The layout is drawn at start-up; the Quit item ends the program cleanly.
check_startup_quit() {
    start_display
    start_demo
    shoot
    expect_pixel $BG_SPOT "140 140 140" "desk"
    expect_pixel $BG_SPOT2 "140 140 140" "desk"
    expect_pixel 300 10 "236 236 232" "menu bar"
    expect_pixel 24 250 "60 64 78" "left edge of window 44"
    expect_pixel 23 250 "250 150 0" "mark around the active window"
    expect_pixel 30 62 "52 86 140" "title bar of window 44"
    expect_pixel 390 140 "38 112 104" "title of the welcome card"
    open_menu "$TITLE_PROGRAM" "$ITEM_QUIT"
    click $ITEM_QUIT
    expect_exit 0
}

# The window's close button ends the demo as its quit item does.
check_close_window() {
    start_display
    start_demo
    close_window
    expect_exit 0
}

# So does Ctrl+C in the terminal (SIGINT).
check_interrupt() {
    start_display
    start_demo
    kill -INT "$PROGRAM_PID"
    expect_exit 0
}

# The bitmap stands still behind another window and moves in front; the
# mode button clears it to white before the pixel trails start.
check_animation() {
    start_display
    start_demo
    open_menu "$TITLE_WINDOWS" "$ITEM_EDITING"
    click $ITEM_EDITING
    wait_until pixel_is $EDITING_HEADER "52 86 140" || fail "window 9 did not open"
    sleep 0.3
    shoot
    local still=$(area_sum "$SHOT" $BITMAP_AREA)
    sleep 0.5
    shoot
    [ "$(area_sum "$SHOT" $BITMAP_AREA)" = "$still" ] || fail "the animation ran behind another window"

    open_menu "$TITLE_WINDOWS" "$ITEM_ANIMATION"
    click $ITEM_ANIMATION
    wait_until pixel_is $ANIMATION_MARK "250 150 0" || fail "window 44 did not come to the front"
    shoot
    local before=$(area_sum "$SHOT" $BITMAP_AREA)
    wait_until bitmap_differs_from "$before" || fail "the animation does not move"

    click $BUTTON_MODE                     # boxes -> polyline
    sleep 0.5
    shoot
    local polyline=$(coloured_pixels "$SHOT" $BITMAP_AREA)
    [ "$polyline" -gt 0 ] || fail "the polyline draws nothing"
    click $BUTTON_MODE                     # polyline -> pixels, on white
    shoot
    local fresh=$(coloured_pixels "$SHOT" $BITMAP_AREA)
    # A polyline of 100 points covers far more of the bitmap than the first
    # pixel trails do; without the clearing the lines would stay.
    [ "$fresh" -lt "$polyline" ] || fail "not cleared before the pixels ($fresh coloured, polyline $polyline)"
    wait_until trails_grew_past "$fresh" || fail "the pixel trails do not grow"
}

bitmap_differs_from() {
    shoot
    [ "$(area_sum "$SHOT" $BITMAP_AREA)" != "$1" ]
}

trails_grew_past() {
    shoot
    [ "$(coloured_pixels "$SHOT" $BITMAP_AREA)" -gt "$1" ]
}

# A short click on a window behind brings it to the front.
check_raise() {
    start_display
    start_demo
    open_menu "$TITLE_WINDOWS" "$ITEM_OBJECTS"
    click $ITEM_OBJECTS
    wait_until pixel_is 355 85 "250 150 0" || fail "window 36 did not open"
    expect_pixel $ANIMATION_MARK "140 140 140" "mark of window 44 behind"
    click 100 200
    wait_until pixel_is $ANIMATION_MARK "250 150 0" || fail "window 44 did not come to the front"
}

# Typing goes into the entry field of window 9; Copy shows it in the label.
check_editing() {
    start_display
    start_demo
    open_menu "$TITLE_WINDOWS" "$ITEM_EDITING"
    click $ITEM_EDITING
    wait_until pixel_is $EDITING_HEADER "52 86 140" || fail "window 9 did not open"
    local entry=$(area_sum "$SHOT" $ENTRY_AREA) label=$(area_sum "$SHOT" $LABEL_AREA)
    click $ENTRY_FIELD
    xdotool type --delay 50 "Tavrin"
    wait_until area_differs "$ENTRY_AREA" "$entry" || fail "typing did not change the entry field"
    click $BUTTON_COPY
    wait_until area_differs "$LABEL_AREA" "$label" || fail "Copy did not change the label"
}

area_differs() {
    shoot
    [ "$(area_sum "$SHOT" "$1")" != "$2" ]
}

# Orange from the background menu repaints the desk and renames title 39.
check_background() {
    start_display
    start_demo
    shoot
    local title=$(area_sum "$SHOT" $TITLE_BACKGROUND_AREA)
    open_menu "$TITLE_BACKGROUND" "$ITEM_BLUE_SPOT"
    click $ITEM_ORANGE
    wait_until pixel_is $BG_SPOT "255 165 0" || fail "the desk did not turn orange"
    expect_pixel $BG_SPOT2 "255 165 0" "desk"
    expect_pixel $ITEM_BLUE_SPOT "255 165 0" "closed menu"
    [ "$(area_sum "$SHOT" $TITLE_BACKGROUND_AREA)" != "$title" ] || fail "title 39 still shows the old name"
}

# Start-up failures end the program with a message on standard output. They
# need no display: SDL's dummy driver serves.
copy_run_dir_without() {
    cp -R "$RUN_DIR/." "$TMP/run" || fail "cannot copy the run folder"
    rm -f "$TMP/run/$1"
}

run_headless() {
    (cd "$TMP/run" && SDL_VIDEODRIVER=dummy exec timeout "$TIMEOUT" ./tavrin_demo) >"$TMP/stdout" 2>"$TMP/stderr"
}

expect_status_and_output() {
    local status=$1 want_status=$2 stream=$3 text=$4
    [ "$status" -eq "$want_status" ] || fail "exit status $status, expected $want_status; stdout: $(cat "$TMP/stdout")"
    grep -qF -- "$text" "$TMP/$stream" || fail "no \"$text\" on $stream: $(cat "$TMP/$stream")"
}

check_missing_font() {
    copy_run_dir_without DroidSans.ttf
    run_headless
    expect_status_and_output $? 0 stdout "TTF_OpenFont: "
    # The default font is opened last: its message ends the output.
    tail -n1 "$TMP/stdout" | grep -q '^TTF_OpenFont: ' || fail "the default font's message is not the last one"
}

# A missing layout file is a failure: status 1, the loader's message, and
# the file's name on standard error.
check_missing_layout() {
    copy_run_dir_without 29.tav
    run_headless
    expect_status_and_output $? 1 stdout "Can't open file."
    grep -qF "29.tav" "$TMP/stderr" || fail "the missing file is not named on stderr: $(cat "$TMP/stderr")"
}

check_missing_input() {
    copy_run_dir_without input.txt
    run_headless
    expect_status_and_output $? 0 stdout "Can't load chain mother !"
}

# Object 46 with a negative width: the bitmap cannot be made.
check_bad_bitmap() {
    copy_run_dir_without nothing
    local offset=$((45 * 776 + 8))
    printf '\377\377\377\377' | dd of="$TMP/run/29.tav" bs=1 seek=$offset conv=notrunc status=none ||
        fail "cannot patch the layout"
    run_headless
    expect_status_and_output $? 1 stderr "SDL_CreateRGBSurface() failed"
}

# Not a check: saves a picture of the demo with several windows open.
take_screenshot() {
    local out=${1:?picture file}
    start_display
    start_demo
    for item in "$ITEM_CHAIN" "$ITEM_EDITING" "$ITEM_ANIMATION"; do
        open_menu "$TITLE_WINDOWS" "$ITEM_OBJECTS"
        click $item
        sleep 0.5
    done
    save_picture "$out" 318 300   # on the desk, between the windows
}

case "$CHECK" in
startup_quit | close_window | interrupt | animation | raise | editing | background | missing_font | missing_layout | \
    missing_input | bad_bitmap)
    [ -x "$RUN_DIR/tavrin_demo" ] || fail "no tavrin_demo in $RUN_DIR"
    "check_$CHECK"
    ;;
screenshot) take_screenshot "${3:-}" ;;
*) echo "unknown check $CHECK" >&2; exit 2 ;;
esac
echo "PASS: $CHECK"
