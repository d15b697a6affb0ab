#!/usr/bin/env bash
# End-to-end checks of tavrin_creator: the real editor runs on a private Xvfb
# display, is driven with xdotool and judged by screenshots. Object places
# come from the packed layout of the run folder (tavrin_layout unpack), so
# the checks follow the layout when it changes.
#
#   creator_e2e.sh RUN_DIR LAYOUT_TOOL CHECK
#
# RUN_DIR is the editor's run folder (program, 6495.tav/.taw, font),
# LAYOUT_TOOL the tavrin_layout program. CHECK is one of: startup,
# selector, preview, quit_yes, quit_no, close_window, interrupt, geometry,
# stepper, save_as, geometry_kept, preview_places, font_notice,
# close_taken_away, missing_texts, save_link, extreme_geometry, lock_number;
# or "screenshot FILE", which opens the file selector and a form and saves
# the screen as a picture (for the README); or "guide FOLDER [PROGRAM]",
# which makes the pictures of docs/editor.md (see take_guide_pictures).
#
# Exit status 0 passed, 1 failed, 77 skipped (a tool is missing).
set -u

RUN_DIR=${1:?run folder}
LAYOUT_TOOL=${2:?tavrin_layout}
CHECK=${3:?check name}
TIMEOUT=${TAVRIN_E2E_TIMEOUT:-30}   # seconds for any single wait
SCREEN_SIZE=1280x720
# shellcheck source=../e2e/x11_session.sh
. "$(cd "$(dirname "$0")/../e2e" && pwd)/x11_session.sh"
HERE=$(cd "$(dirname "$0")" && pwd)
BACKGROUND="240 240 240"

# ---------------------------------------------------------------------------
# Layout
# ---------------------------------------------------------------------------

# Sets O<n>_X, O<n>_Y, O<n>_W, O<n>_H, O<n>_FILL for the objects the checks
# use, ROW_TEMPLATE and LIST_DY.
read_layout() {
    need python3
    "$LAYOUT_TOOL" unpack "$RUN_DIR/6495.tav" "$RUN_DIR/6495.taw" >"$TMP/layout.json" ||
        fail "cannot unpack the editor's layout"
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 8 11 12 26 29 30 33 62 64 395 397 398)" ||
        fail "cannot read the places of the layout"
    [ "$ROW_TEMPLATE" -ne 0 ] || fail "list 9 has no template row"
}

# "WxH+X+Y" of object N, shrunk by 2 pixels on each side so that borders
# drawn on the edge stay out.
inner_area() {
    local x=$((O$1_X)) y=$((O$1_Y)) w=$((O$1_W)) h=$((O$1_H))
    echo "$((w - 4))x$((h - 4))+$((x + 2))+$((y + 2))"
}

# A point inside object N: a few pixels from its left edge, half-way down,
# clear of a centred caption.
spot() {
    echo "$((O$1_X + 5)) $((O$1_Y + O$1_H / 2))"
}

fill_of() { eval echo "\$O$1_FILL"; }

# ---------------------------------------------------------------------------
# Display and program
# ---------------------------------------------------------------------------

# Starts the editor in its run folder and waits until its menu bar shows.
start_editor() {
    read_layout
    start_display
    launch "$RUN_DIR" tavrin_creator "Tavrin Creator"
    wait_until shows_fill 26 || fail "the menu bar was not drawn; stdout: $(cat "$TMP/stdout")"
}

# Opens the menu under title T and picks item I once the menu shows it.
choose() {
    click $(spot "$1")
    wait_until shows_fill "$2" || fail "the menu under object $1 did not open"
    click $(spot "$2")
}

# ---------------------------------------------------------------------------
# Screenshots
# ---------------------------------------------------------------------------

# Prints "R G B" of the most frequent colour of the area WxH+X+Y of FILE.
dominant_colour() {
    convert "$1" -crop "$2" +repage -alpha off -depth 8 -format %c histogram:info:- |
        sort -rn | head -n1 | sed -n 's/^ *[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# Number of different colours in the area WxH+X+Y of FILE.
colour_count() {
    convert "$1" -crop "$2" +repage -alpha off -depth 8 -format %k info:-
}

area_sum() {
    convert "$1" -crop "$2" +repage -alpha off -depth 8 rgb:- | md5sum | cut -d' ' -f1
}

# True when a fresh screenshot shows object N in its fill colour.
shows_fill() {
    shoot
    [ "$(dominant_colour "$SHOT" "$(inner_area "$1")")" = "$(fill_of "$1")" ]
}

# True when a fresh screenshot shows only the background where object N is.
shows_background() {
    shoot
    [ "$(dominant_colour "$SHOT" "$(inner_area "$1")")" = "$BACKGROUND" ] &&
        [ "$(colour_count "$SHOT" "$(inner_area "$1")")" -eq 1 ]
}

area_differs() {
    shoot
    [ "$(area_sum "$SHOT" "$1")" != "$2" ]
}

area_is() {
    shoot
    [ "$(area_sum "$SHOT" "$1")" = "$2" ]
}

# ---------------------------------------------------------------------------
# Checks
# ---------------------------------------------------------------------------

# The editor starts and draws its menu bar.
check_startup() {
    start_editor
    for title in 26 30 62; do
        expect_shows_fill "$title" "menu title $title"
    done
}

expect_shows_fill() {
    local got
    got=$(dominant_colour "$SHOT" "$(inner_area "$1")")
    [ "$got" = "$(fill_of "$1")" ] || fail "$2 shows $got, expected $(fill_of "$1")"
}

# File menu, Open: the selector lists the run folder. The first row is "."
# or ".." (names are sorted by their first byte), so pressing it turns the
# action button into "Open Dir"; Cancel closes the selector again.
check_selector() {
    start_editor
    shoot
    local desk_under_selector
    desk_under_selector=$(area_sum "$SHOT" "$(inner_area 8)")
    choose 62 64
    local row="$((O${ROW_TEMPLATE}_W - 4))x$((O${ROW_TEMPLATE}_H - 4))+$((O${ROW_TEMPLATE}_X + 2))+$((O${ROW_TEMPLATE}_Y + LIST_DY + 2))"
    wait_until row_shows_a_name "$row" || fail "the selector shows no rows"
    local action
    action=$(area_sum "$SHOT" "$(inner_area 11)")
    click $((O${ROW_TEMPLATE}_X + 5)) $((O${ROW_TEMPLATE}_Y + LIST_DY + O${ROW_TEMPLATE}_H / 2))
    wait_until area_differs "$(inner_area 11)" "$action" || fail "the action button did not change its caption"
    click $(spot 12)
    wait_until area_is "$(inner_area 8)" "$desk_under_selector" || fail "Cancel did not close the selector"
    program_ended && fail "the editor ended"
    return 0
}

# A row in its template's fill colour with a name written on it.
row_shows_a_name() {
    shoot
    [ "$(dominant_colour "$SHOT" "$1")" = "$(fill_of "$ROW_TEMPLATE")" ] && [ "$(colour_count "$SHOT" "$1")" -gt 1 ]
}

# Objects menu, Preview: only the design shows (a new design is empty, so
# the menu bar is gone); the next click brings the editor back.
check_preview() {
    start_editor
    choose 30 33
    wait_until shows_background 26 || fail "the preview still shows the menu bar"
    click 640 400
    wait_until shows_fill 26 || fail "the menu bar did not come back after the preview"
}

# Program menu, Quit: the question; "Yes" ends the editor with status 0.
check_quit_yes() {
    start_editor
    choose 26 29
    wait_until shows_fill 397 || fail "the quit question did not show"
    click $(spot 397)
    expect_exit 0
}

# "No" closes the question and the editor goes on.
check_quit_no() {
    start_editor
    shoot
    local desk_under_question
    desk_under_question=$(area_sum "$SHOT" "$(inner_area 395)")
    choose 26 29
    wait_until shows_fill 398 || fail "the quit question did not show"
    click $(spot 398)
    wait_until area_is "$(inner_area 395)" "$desk_under_question" || fail "No did not close the question"
    sleep 0.5
    program_ended && fail "the editor ended after No"
    # Still answering: the question opens again.
    choose 26 29
    wait_until shows_fill 398 || fail "the editor does not react after No"
}

# The window's close button asks the quit question; "Yes" ends the editor.
check_close_window() {
    start_editor
    close_window
    wait_until shows_fill 397 || fail "closing the window did not ask the quit question"
    click $(spot 397)
    expect_exit 0
}

# Number of pixels of colour "R G B" in the area WxH+X+Y of FILE.
pixels_of() {
    convert "$1" -crop "$2" +repage -alpha off -depth 8 -format %c histogram:info:- |
        awk -v want="($(echo "$3" | tr ' ' ','))" '{ gsub(/:/, "", $1); if ($2 == want) n = $1 } END { print n + 0 }'
}

# Clicks number field N, deletes its four digits on both sides of the
# cursor and types VALUE.
type_number() {
    click $(spot "$1")
    xdotool key --delay 40 Delete Delete Delete Delete BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 40 "$2"
}

# The stage without its header, buttons, readouts and caption: where the
# staged object stands.
stage_floor() {
    echo "$((O143_W - 4))x$((O143_H - 114))+$((O143_X + 2))+$((O143_Y + 110))"
}

black_on_stage_is() {
    shoot
    [ "$(pixels_of "$SHOT" "$(stage_floor)" "0 0 0")" -eq "$1" ]
}

# Opens the edit stage and gives the selected object (working object 1 of
# the new design, black and empty) the kind "label or button" through the
# behaviour form's kind menu, so that it is drawn once it has a size.
stage_a_label() {
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 32 51 53 54 55 143 145 157 159 160 164)"
    choose 30 32
    wait_until shows_fill 143 || fail "the edit stage did not open"
    choose 51 53
    wait_until shows_fill 145 || fail "the behaviour form did not open"
    click $(spot 160)
    wait_until shows_fill 164 || fail "the kind menu did not open"
    click $(spot 164)
    click $(spot 157)
    click $(spot 159)
    wait_until shows_fill 143 || fail "the behaviour form did not close"
}

# Geometry form: a width and height typed and applied show on the stage as
# a black area of exactly that size; a second width changes it again.
check_geometry() {
    start_editor
    stage_a_label
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 219 227 228 238 240)"
    black_on_stage_is 0 || fail "an empty object shows on the stage"
    choose 51 54
    wait_until shows_fill 219 || fail "the geometry form did not open"
    type_number 227 200
    type_number 228 100
    click $(spot 238)
    click $(spot 240)
    wait_until black_on_stage_is 20000 ||
        fail "the stage shows $(pixels_of "$SHOT" "$(stage_floor)" "0 0 0") black pixels, expected 200 x 100"
    choose 51 54
    wait_until shows_fill 219 || fail "the geometry form did not open again"
    type_number 227 300
    click $(spot 238)
    click $(spot 240)
    wait_until black_on_stage_is 30000 ||
        fail "the stage shows $(pixels_of "$SHOT" "$(stage_floor)" "0 0 0") black pixels, expected 300 x 100"
}

swatch_is() {
    shoot
    [ "$(dominant_colour "$SHOT" "$(inner_area 305)")" = "$1" ]
}

# Colour form: the held ">>" of the fill's red runs the value up and the
# swatch with it, and stops at 255 however long it is held; the single
# steppers step once per click and stop there too.
check_stepper() {
    start_editor
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 51 55 290 299 302 305 336 339)"
    choose 51 55
    wait_until shows_fill 290 || fail "the colour form did not open"
    wait_until swatch_is "0 0 0" || fail "the swatch does not show the object's black"
    xdotool mousemove --window "$WINDOW" $(spot 302) mousedown 1
    wait_until swatch_is "255 0 0" || { xdotool mouseup 1; fail "the held stepper did not reach 255"; }
    local readout
    readout=$(area_sum "$SHOT" "$(inner_area 299)")
    sleep 1.5
    shoot
    xdotool mouseup 1
    [ "$(dominant_colour "$SHOT" "$(inner_area 305)")" = "255 0 0" ] || fail "the held stepper went past 255"
    [ "$(area_sum "$SHOT" "$(inner_area 299)")" = "$readout" ] || fail "the value changed after 255"
    click $(spot 339)
    sleep 0.5
    swatch_is "255 0 0" || fail "the single stepper went past 255"
    click $(spot 336)
    wait_until swatch_is "254 0 0" || fail "the single stepper did not step down once"
}

# Clicks text field N, empties it and types TEXT.
type_text() {
    click $(spot "$1")
    xdotool key --repeat 70 --delay 5 Delete
    xdotool key --repeat 70 --delay 5 BackSpace
    xdotool type --delay 40 "$2"
}

# The strip of the file selector between the stage and the selection panel
# shows the desk again.
selector_closed() {
    local strip="$((O199_X - O143_X - O143_W - 4))x$((O8_H - 40))+$((O143_X + O143_W + 2))+$((O8_Y + 20))"
    shoot
    [ "$(dominant_colour "$SHOT" "$strip")" = "$BACKGROUND" ]
}

# Runs the editor from a copy of its run folder, two levels below the
# temporary folder so that a save that climbs up would still land inside
# it; puts the example design into the folder DESIGNS below the run folder
# as design.tav.
run_from_copy() {
    local run=$TMP/home/work/run
    DESIGNS=$run/designs
    mkdir -p "$DESIGNS"
    cp "$RUN_DIR/tavrin_creator" "$RUN_DIR/6495.tav" "$RUN_DIR/6495.taw" "$RUN_DIR/DroidSans.ttf" "$run/" ||
        fail "cannot copy the run folder"
    "$LAYOUT_TOOL" pack "$HERE/../../docs/layout-example.json" "$DESIGNS/design.tav" "$DESIGNS/design.taw" 2>/dev/null ||
        fail "cannot pack the example design"
    RUN_DIR=$run
    start_editor
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 10 11 51 54 66 67 143 199 200 205 210 219 225 226 227 228 238 240)"
}

# File menu, Open: the design NAME (a path from the run folder) through the
# file selector.
open_design() {
    choose 62 64
    wait_until shows_fill 8 || fail "the file selector did not open"
    type_text 10 "$1"
    click $(spot 11)
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
}

# File menu, Save: the design as NAME, which must land in the folder
# WHERE.
save_design() {
    local name=$1 where=$2
    choose 62 66
    wait_until shows_fill 8 || fail "the file selector did not open for saving"
    type_text 10 "$name"
    click $(spot 11)
    wait_until selector_closed || fail "the design was not saved; stdout: $(cat "$TMP/stdout")"
    wait_until test -f "$where/$name" ||
        fail "nothing was saved in $where: $(cd "$TMP" && find . -name "$name"); stdout: $(cat "$TMP/stdout")"
}

# Program menu, Quit, right after a save: nothing is unsaved, so the editor
# ends without a question.
quit_editor() {
    choose 26 29
    expect_exit 0
}

# Gives the selected object the width W through the geometry form (the
# places of 51, 54, 219, 227, 238 and 240 must be read).
widen_selected() {
    choose 51 54
    wait_until shows_fill 219 || fail "the geometry form did not open"
    type_number 227 "$1"
    click $(spot 238)
    click $(spot 240)
}

# File menu: open a design in a folder of its own through the file
# selector, widen its selected window in the geometry form, save it under a
# new name and quit, which asks nothing after the save. The save lands
# beside the design, not in the working folder. The saved pair passes `tavrin_layout check` and unpacks to the
# design with only that width changed (apart from what laying out the texts
# computes). The name
# holds characters that the X server's US layout types differently from
# the toolkit's German table (@ is Shift+2 there), so it arrives right only
# through SDL's text input.
check_save_as() {
    run_from_copy
    open_design designs/design.tav
    widen_selected 345
    save_design 's@ved{1}.tav' "$DESIGNS"
    quit_editor

    local designs=$DESIGNS
    "$LAYOUT_TOOL" check "$designs/s@ved{1}.tav" "$designs/s@ved{1}.taw" >"$TMP/check.txt" 2>&1 ||
        fail "the saved design has problems: $(cat "$TMP/check.txt")"
    "$LAYOUT_TOOL" unpack "$designs/design.tav" "$designs/design.taw" >"$TMP/before.json" || fail "cannot unpack the design"
    "$LAYOUT_TOOL" unpack "$designs/s@ved{1}.tav" "$designs/s@ved{1}.taw" >"$TMP/after.json" || fail "cannot unpack the saved design"
    python3 - "$TMP/before.json" "$TMP/after.json" <<'PY' || fail "the saved design differs in more than the width"
import json, sys

# Laying texts out sets a label's margins (its text is centred by them) and
# every text's length; the editor saves what its layout computed.
def without_layout(design):
    for o in design.get("objects", {}).values():
        o.pop("text_length", None)
        if o.get("kind") == "label":
            for side in ("left", "right", "top", "bottom"):
                o.pop("margin_" + side, None)
    return design

before, after = (without_layout(json.load(open(name, encoding="utf-8"))) for name in sys.argv[1:3])
before["objects"]["8"]["w"] = 345
for part in ("objects", "texts"):
    if before.get(part) != after.get(part):
        for key in sorted(set(before.get(part, {})) | set(after.get(part, {}))):
            if before[part].get(key) != after[part].get(key):
                print(part, key, before[part].get(key), "->", after[part].get(key), file=sys.stderr)
        sys.exit(1)
PY
}

# Ctrl+C in the terminal (SIGINT) is the quit command: a new design saved
# and then changed makes SIGINT ask the quit question; after "No" and a
# second save it ends the editor without a question.
check_interrupt() {
    run_from_copy
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 355 357 400 402 403)"
    save_design new.tav "$RUN_DIR"

    shoot
    local desk_under_lock desk_under_question
    desk_under_lock=$(area_sum "$SHOT" "$(inner_area 400)")
    desk_under_question=$(area_sum "$SHOT" "$(inner_area 395)")
    choose 355 357
    wait_until shows_fill 400 || fail "the lock number window did not open"
    type_number 402 5
    click $(spot 403)
    wait_until area_is "$(inner_area 400)" "$desk_under_lock" || fail "the lock number window did not close"
    kill -INT "$PROGRAM_PID"
    wait_until shows_fill 398 || fail "SIGINT did not ask the quit question after a change"
    click $(spot 398)
    wait_until area_is "$(inner_area 395)" "$desk_under_question" || fail "No did not close the question"
    program_ended && fail "the editor ended after No"

    save_design new.tav "$RUN_DIR"
    kill -INT "$PROGRAM_PID"
    expect_exit 0
    [ "$(od -An -t d4 -j 692 -N 4 "$RUN_DIR/new.tav" | tr -d ' ')" = 15 ] || fail "the lock number was not saved"
}

# Clicks field N and types VALUE, as a user does: no deleting first.
type_into() {
    click $(spot "$1")
    xdotool type --delay 40 "$2"
}

# Selection panel: goes to working object NUMBER.
go_to() {
    type_into 205 "$1"
    click $(spot 210)
    sleep 0.3
}

# Geometry form: X, Y, W and H typed into a fresh object and applied stay
# with it while another object is selected and it again; the saved design
# holds them.
check_geometry_kept() {
    run_from_copy
    choose 51 67
    wait_until shows_fill 200 || fail "the selection panel did not open"
    go_to 8
    choose 51 54
    wait_until shows_fill 219 || fail "the geometry form did not open"
    type_into 225 40
    type_into 226 60
    type_into 227 120
    type_into 228 30
    click $(spot 238)
    click $(spot 240)
    choose 51 67
    wait_until shows_fill 200 || fail "the selection panel did not open again"
    go_to 9
    go_to 8
    save_design kept.tav "$RUN_DIR"
    quit_editor
    "$LAYOUT_TOOL" unpack "$RUN_DIR/kept.tav" >"$TMP/kept.json" || fail "cannot unpack the saved design"
    python3 - "$TMP/kept.json" <<'PY' || fail "the geometry of object 8 was lost"
import json, sys
o = json.load(open(sys.argv[1], encoding="utf-8"))["objects"].get("8", {})
got = [o.get(k, 0) for k in ("x", "y", "w", "h")]
if got != [40, 60, 120, 30]:
    print("object 8 saved at", got, file=sys.stderr)
    sys.exit(1)
PY
}

# "R G B" of the middle of the area X Y W H (a point clear of borders and
# captions) in the last screenshot.
colour_at() {
    dominant_colour "$SHOT" "$(($3 - 8))x$(($4 - 8))+$(($1 + 4))+$(($2 + 4))"
}

# Preview: the example design shows where its file puts it, whether the
# selected object is its window or the button inside the window.
check_preview_places() {
    run_from_copy
    open_design designs/design.tav
    local button="40 164 30 16" window="24 44 100 60"
    for selected in 8 9; do
        [ "$selected" = 9 ] && { choose 51 67; wait_until shows_fill 200 || fail "no selection panel"; go_to 9; }
        choose 30 33
        wait_until shows_background 26 || fail "the preview did not start"
        shoot
        [ "$(colour_at $window)" = "255 255 255" ] ||
            fail "with object $selected selected the window is not at its place: $(colour_at $window)"
        [ "$(colour_at $button)" = "220 225 255" ] ||
            fail "with object $selected selected the button is not at its place: $(colour_at $button)"
        click 1000 650
        wait_until shows_fill 26 || fail "the preview did not end"
    done
}

# ---------------------------------------------------------------------------
# Designs opened, closed and saved by their full names
# ---------------------------------------------------------------------------

# Sets the places of the objects N... (read_layout must have run).
positions() {
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" "$@")" || fail "cannot read the places of $*"
}

# A folder with a short full path for designs, since the name field of the
# selector holds 67 characters; removed at the end like the rest.
short_folder() {
    SHORT=$(mktemp -d /tmp/tavrin.XXXXXX) || fail "cannot make a folder in /tmp"
    trap 'rm -rf "$SHORT"; cleanup' EXIT
}

# Packs the objects 8 onward given as JSON on standard input, behind the
# seven window operators, into $SHORT/NAME.tav and NAME.taw.
pack_design() {
    python3 -c '
import json, sys
objects = {str(n): {"kind": "label", "w": 16, "h": 16, "border_style": 1} for n in range(1, 8)}
objects.update(json.load(sys.stdin))
json.dump({"objects": objects}, sys.stdout)' >"$TMP/$1.json" || fail "bad design $1"
    "$LAYOUT_TOOL" pack "$TMP/$1.json" "$SHORT/$1.tav" "$SHORT/$1.taw" >/dev/null 2>&1 || fail "cannot pack $1"
}

# Prints field OFFSET (signed 32 bits) of record R of the object file FILE.
record_field() {
    python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()
start = (int(sys.argv[2]) - 1) * 776 + int(sys.argv[3])
print(struct.unpack_from("<i", data, start)[0] if len(data) >= start + 4 else "none")' "$1" "$2" "$3"
}

# Opens the design FILE (a full path) through the file menu; the caller
# waits for what follows.
open_by_name() {
    choose 62 64
    wait_until shows_fill 8 || fail "the file selector did not open"
    type_text 10 "$1"
    click $(spot 11)
}

# Saves the design under FILE (a full path) through the file menu.
save_by_name() {
    choose 62 66
    wait_until shows_fill 8 || fail "the file selector did not open for saving"
    type_text 10 "$1"
    click $(spot 11)
    wait_until selector_closed || fail "the design was not saved; stdout: $(cat "$TMP/stdout")"
}

still_running() {
    sleep 0.3
    program_ended && fail "the editor ended $1; stderr: $(tail -n 20 "$TMP/stderr")"
    return 0
}

# The places the editor's own checks need.
design_positions() {
    positions 10 11 65 66 143 199 258 259
}

# A font of the design that does not open: the notice says so over the file
# selector without the design drawn over the editor, and once it is answered
# the selector is gone, so that no second design can be opened into the first.
check_font_notice() {
    short_folder
    pack_design font <<'JSON'
{"8": {"kind": "box", "x": 1130, "y": 650, "w": 120, "h": 50, "fill": [255, 0, 0]},
 "9": {"kind": "label", "x": 1130, "y": 600, "w": 120, "h": 30, "fill": [255, 0, 0], "text": "Font",
       "font_state": 1, "font_size": 12, "font_file": "missing.ttf"}}
JSON
    start_editor
    design_positions
    open_by_name "$SHORT/font.tav"
    wait_until shows_fill 259 || fail "no notice about the font that failed"
    [ "$(pixels_of "$SHOT" "110x40+1135+655" "255 0 0")" -eq 0 ] || fail "the design is drawn over the editor"
    click $(spot 259)
    wait_until selector_closed || fail "the file selector stayed open behind the design"
    choose 62 64
    wait_until shows_fill 259 || fail "a second design may be opened into the first"
    click $(spot 259)
    still_running "after the notices"
}

# Objects taken away and then closed without saving do not come back in the
# new, empty design: the preview shows none of them.
check_close_taken_away() {
    short_folder
    pack_design ten <<'JSON'
{"8": {"kind": "box", "x": 300, "y": 300, "w": 60, "h": 60, "fill": [0, 255, 0]},
 "9": {"kind": "box", "x": 400, "y": 300, "w": 60, "h": 60, "fill": [255, 0, 0]},
 "10": {"kind": "box", "x": 500, "y": 300, "w": 60, "h": 60, "fill": [255, 0, 0]}}
JSON
    start_editor
    design_positions
    positions 35 390 392 393
    open_by_name "$SHORT/ten.tav"
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
    choose 30 35
    wait_until shows_fill 390 || fail "the take-away window did not open"
    type_text 392 2
    click $(spot 393)
    wait_until shows_fill 397 || fail "the take-away question did not show"
    click $(spot 397)
    choose 62 65
    wait_until shows_fill 397 || fail "the close question did not show"
    click $(spot 397)
    sleep 0.5
    choose 30 33
    wait_until shows_background 26 || fail "the preview did not start"
    local red
    red=$(pixels_of "$SHOT" "260x60+300+300" "255 0 0")
    [ "$red" -eq 0 ] || fail "the preview of the new design shows $red pixels of objects taken away"
    [ "$(pixels_of "$SHOT" "60x60+300+300" "0 255 0")" -eq 0 ] || fail "the preview shows the closed design"
    click 640 400
    wait_until shows_fill 26 || fail "the preview did not end"
}

# A text file that holds fewer texts than the objects name: the editor says
# so, and saving without edits keeps the objects' links to their texts.
check_missing_texts() {
    short_folder
    pack_design short <<'JSON'
{"8": {"kind": "window", "x": 300, "y": 200, "w": 300, "h": 200, "fill": [255, 255, 255], "line_width": 280,
       "text_record": "The first text."},
 "9": {"kind": "text_field", "master": 8, "x": 320, "y": 300, "w": 200, "h": 60, "fill": [220, 220, 255],
       "line_width": 180, "text_record": "The second text."}}
JSON
    [ "$(record_field "$SHORT/short.tav" 9 172)" = 2 ] || fail "the design does not use two texts"
    truncate -s 1008 "$SHORT/short.taw" || fail "cannot shorten the text file"
    start_editor
    design_positions
    open_by_name "$SHORT/short.tav"
    wait_until shows_fill 259 || fail "no notice about the texts missing from the text file"
    click $(spot 259)
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
    save_by_name "$SHORT/saved.tav"
    wait_until test -f "$SHORT/saved.taw" || fail "no text file was saved"
    quit_editor
    [ "$(record_field "$SHORT/saved.tav" 9 172)" = 2 ] || fail "object 9 lost its text"
    [ "$(stat -c %s "$SHORT/saved.taw")" -eq 2016 ] || fail "the saved text file does not hold both records"
    python3 - "$SHORT/short.tav" "$SHORT/saved.tav" <<'PY' || fail "the saved objects differ from the design"
import sys
# Laying texts out computes each text's length (bytes 248..251).
a, b = (bytearray(open(name, "rb").read()) for name in sys.argv[1:3])
for data in (a, b):
    for r in range(len(data) // 776):
        data[r * 776 + 248:r * 776 + 252] = b"\0\0\0\0"
for r in range(max(len(a), len(b)) // 776):
    for at in range(0, 776, 4):
        if a[r * 776 + at:r * 776 + at + 4] != b[r * 776 + at:r * 776 + at + 4]:
            print(f"record {r + 1} offset {at} differs", file=sys.stderr)
sys.exit(0 if a == b else 1)
PY
}

# Saving through symbolic links writes the files they lead to, and the
# links stay; a temporary file that a killed save left is removed.
check_save_link() {
    short_folder
    pack_design target <<'JSON'
{"8": {"kind": "window", "x": 300, "y": 200, "w": 300, "h": 200, "fill": [255, 255, 255],
       "text_record": "A text."}}
JSON
    ln -s target.tav "$SHORT/link.tav" && ln -s target.taw "$SHORT/link.taw" || fail "cannot make the links"
    echo left >"$SHORT/target.tav.saving-Ab12Cd"
    start_editor
    design_positions
    positions 51 54 219 227 238 240
    open_by_name "$SHORT/link.tav"
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
    widen_selected 345
    save_by_name "$SHORT/link.tav"
    quit_editor
    [ -L "$SHORT/link.tav" ] && [ -L "$SHORT/link.taw" ] || fail "a link was replaced by a file"
    [ "$(record_field "$SHORT/target.tav" 8 8)" = 345 ] || fail "the link's target did not get the new design"
    local left
    left=$(ls "$SHORT" | grep -c saving)
    [ "$left" -eq 0 ] || fail "$left temporary files are left: $(ls "$SHORT")"
}

# A design at the ends of the 32-bit range is selected, staged in both
# modes, previewed and saved without the sanitizers finding a fault.
check_extreme_geometry() {
    short_folder
    pack_design extreme <<'JSON'
{"8": {"kind": "window", "x": 2147483600, "y": -2147483600, "w": 2147483647, "h": 2147483647,
       "text_record": "Far away."},
 "9": {"kind": "box", "master": 8, "x": -2147483648, "y": 2147483647, "w": 2147483647, "h": 100},
 "10": {"kind": "label", "master": 8, "x": 2147483647, "y": -2147483648, "w": -2147483648, "h": 2147483647,
        "text": "X"},
 "11": {"kind": "box", "x": -2147483648, "y": -2147483648, "w": 2147483647, "h": 2147483647},
 "12": {"kind": "entry_field", "x": 2147483647, "y": 2147483647, "w": 2147483647, "h": 2147483647,
        "editable": 1, "text": "edge", "capacity": 20}}
JSON
    start_editor
    design_positions
    positions 206 214
    open_by_name "$SHORT/extreme.tav"
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
    still_running "on opening"
    for step in 1 2 3 4 5; do
        click $(spot 206)
        still_running "selecting the next object"
        click $(spot 214)
        still_running "in master mode"
        click $(spot 214)
        still_running "leaving master mode"
    done
    choose 30 33
    wait_until shows_background 26 || fail "the preview did not start"
    click 640 400
    wait_until shows_fill 26 || fail "the preview did not end"
    save_by_name "$SHORT/saved.tav"
    quit_editor
}

# The lock number: its field starts empty, so that 5 typed is stored as 15;
# a wrong number typed on opening is said, the right one opens the design.
check_lock_number() {
    short_folder
    pack_design lock <<'JSON'
{"8": {"kind": "box", "x": 300, "y": 300, "w": 60, "h": 60, "fill": [0, 255, 0]}}
JSON
    start_editor
    design_positions
    positions 355 357 400 402 403 406 408 409
    open_by_name "$SHORT/lock.tav"
    wait_until selector_closed || fail "the design did not open; stdout: $(cat "$TMP/stdout")"
    choose 355 357
    wait_until shows_fill 400 || fail "the lock window did not open"
    click $(spot 402)
    xdotool type --delay 40 5
    click $(spot 403)
    save_by_name "$SHORT/lock.tav"
    local lock
    lock=$(record_field "$SHORT/lock.tav" 1 692)
    [ "$lock" = 15 ] || fail "5 typed into the lock field was stored as $lock"
    choose 62 65
    wait_until shows_fill 397 || fail "the close question did not show"
    click $(spot 397)
    sleep 0.5
    open_by_name "$SHORT/lock.tav"
    wait_until shows_fill 406 || fail "the lock question did not show"
    click $(spot 408)
    xdotool type --delay 40 4
    click $(spot 409)
    wait_until shows_fill 259 || fail "a wrong lock number was not said"
    click $(spot 259)
    wait_until shows_fill 8 || fail "the file selector did not come back"
    click $(spot 11)
    wait_until shows_fill 406 || fail "the lock question did not show again"
    click $(spot 408)
    xdotool type --delay 40 5
    click $(spot 409)
    wait_until selector_closed || fail "the right lock number did not open the design"
    quit_editor
}

# Not a check: a picture of the editor with the file selector and the
# geometry form open.
take_screenshot() {
    local out=${1:?picture file}
    read_layout
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 51 54 219)"
    start_editor
    choose 62 64
    sleep 0.5
    choose 51 54
    wait_until shows_fill 219 || fail "the geometry form did not open"
    save_picture "$out" 1270 710
}

# ---------------------------------------------------------------------------
# The pictures of docs/editor.md
# ---------------------------------------------------------------------------

# Not a check: builds the login window of the user's guide from a new
# design, the way the guide tells it, saves pictures of the editor on the
# way into GUIDE_DIR, saves the design as login.tav/login.taw there and,
# with a program given, runs that program beside the design and saves its
# picture too. The program must print "user ada, password of 6 characters"
# after "ada" and "secret" are typed into its two fields and "Log in" is
# pressed.
take_guide_pictures() {
    GUIDE_DIR=${1:?picture folder}
    local program=${2:-}
    mkdir -p "$GUIDE_DIR" || fail "cannot make $GUIDE_DIR"
    GUIDE_DIR=$(cd "$GUIDE_DIR" && pwd)
    # The editor runs from a copy of its run folder two levels down, as it
    # would from a build folder, and saves where its file selector stands.
    local home=$TMP/home
    local run=$home/work/run
    mkdir -p "$run"
    cp "$RUN_DIR/tavrin_creator" "$RUN_DIR/6495.tav" "$RUN_DIR/6495.taw" "$RUN_DIR/DroidSans.ttf" "$run/" ||
        fail "cannot copy the run folder"
    RUN_DIR=$run
    start_editor
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/layout.json" 32 35 36 390 392 393 51 53 54 55 58 60 61 66 67 355 357 403 10 11 143 145 156 160 161 163 164 167 168 169 \
        171 172 178 181 182 183 185 410 199 205 210 214 219 225 226 227 228 233 235 236 237 241 244 245 \
        253 255 256 258 259 260 271 276 284 286 290 302 303 304 305 319 359 362 364 365 366 400 404 424 425)"

    open_window 30 32 143
    open_window 51 67 199
    guide_picture start 1280x720+0+0

    # Object 1, the move operator: a white 16 x 16 button "M" with an outline.
    behaviour "" 410
    click $(spot 160)
    wait_until shows_fill 164 || fail "the kind menu did not open"
    guide_picture behaviour-kind "$(around 145)" pointer
    click $(spot 164)
    click $(spot 156)
    geometry "" "" 16 16
    click $(spot 237)
    open_window 51 55 290
    hold_stepper 302 "255 0 0"
    hold_stepper 303 "255 255 0"
    hold_stepper 304 "255 255 255"
    guide_picture colours "$(around 290)"
    click $(spot 319)
    short_text M

    # Its look goes to the close operator, the window and its parts.
    for target in 7 8 9 10 13; do copy_object 1 "$target"; done
    guide_picture copy "$(around 359)"
    click $(spot 366)
    select_object 7
    short_text X

    # Object 8, the window: "move and close" operators, a centred title.
    select_object 8
    behaviour 163 "" 171
    click $(spot 156)
    geometry 40 60 400 200 8 10 10
    guide_picture geometry "$(around 219)"
    click $(spot 237)
    open_window 58 60 241
    type_text 244 "Log in"
    guide_picture text-editor "$(around 241)"
    click $(spot 245)
    open_window 58 61 260
    click $(spot 276)
    wait_until shows_fill 286 || fail "the text format menu did not open"
    guide_picture text-format "$(around 260)" pointer
    click $(spot 286)
    click $(spot 271)

    # Objects 9 and 10: a caption and an entry field inside the window.
    select_object 9
    behaviour 167 185 "" 8
    click $(spot 156)
    geometry 60 110 100 24 4 0
    click $(spot 237)
    short_text "User name"
    select_object 10
    behaviour 167 "" "" 8 181 30
    click $(spot 156)
    geometry 170 110 250 24 4 4
    click $(spot 237)
    short_text ""

    # Objects 11 and 12 are copies of them one row lower, 13 the button.
    copy_object 9 11
    copy_object 10 12
    click $(spot 366)
    select_object 11
    behaviour "" "" "" 8
    click $(spot 156)
    geometry "" 150
    click $(spot 237)
    short_text Password
    select_object 12
    behaviour "" "" "" 8
    click $(spot 156)
    geometry "" 150
    click $(spot 237)
    select_object 13
    behaviour "" "" "" 8
    click $(spot 156)
    geometry 320 210 100 28
    click $(spot 237)
    short_text "Log in"
    guide_picture stage "$(around 143 330)"

    # Master mode: the whole window on the stage, the field marked in it.
    select_object 10
    click $(spot 214)
    sleep 1
    guide_picture master-mode "$(around 143 330)"
    # The right button on the field: the menu opens under the pointer.
    local px=$((O143_X + 70 + 130 + 20)) py=$((O143_Y + 120 + 50 + 10))
    xdotool mousemove --window "$WINDOW" "$px" "$py" click 3
    O425_X=$((px - 2 + O425_X - O424_X)) O425_Y=$((py - 2 + O425_Y - O424_Y))
    wait_until shows_fill 425 || fail "the context menu did not open"
    guide_picture context-menu "$(around 143 330)" pointer
    click 1270 700
    click $(spot 214)

    choose 30 33
    wait_until shows_background 26 || fail "the preview did not start"
    guide_picture preview 480x300+0+0
    click 640 400
    wait_until shows_fill 26 || fail "the preview did not end"

    open_window 355 357 400
    guide_picture lock "$(around 400)"
    click $(spot 404)

    # The design needs 13 objects: the 87 empty ones after them go.
    open_window 30 35 390
    type_number 392 87
    click $(spot 393)
    wait_until shows_fill 397 || fail "the take-away question did not show"
    click $(spot 397)
    wait_until hides 393 || fail "the take-away window did not close"

    # Saving: the file selector opens in the folder the editor stands in.
    open_window 62 66 8
    type_text 10 login.tav
    guide_picture save "$(around 8 260)"
    click $(spot 11)
    wait_until saved_design_in "$run" "$home" || fail "login.tav was not saved; stdout: $(cat "$TMP/stdout")"
    # Saved, so Quit ends the editor without asking.
    click $(spot 26)
    wait_until shows_fill 29 || fail "the Creator menu did not open"
    click $(spot 29)
    expect_exit 0
    cp "$SAVED_IN/login.tav" "$SAVED_IN/login.taw" "$GUIDE_DIR/" || fail "the design has no text file"
    [ -n "$program" ] && run_login_program "$program"
    return 0
}

hides() { ! shows_fill "$1"; }

saved_design_in() {
    for folder in "$@"; do
        [ -f "$folder/login.tav" ] && SAVED_IN=$folder && return 0
    done
    return 1
}

# Saves the area WxH+X+Y of the screen as GUIDE_DIR/NAME.png. The pointer
# goes out of the way first, unless a third argument says to leave it: an
# open menu closes when the pointer leaves it.
guide_picture() {
    [ -z "${3:-}" ] && xdotool mousemove --window "$WINDOW" 1279 719
    sleep 0.5
    shoot
    convert "$SHOT" -crop "$2" +repage "$GUIDE_DIR/$1.png" || fail "cannot save the picture $1"
}

# The area of window N with the operators above it and the mark left of
# it; with a height H only the top H pixels of the window.
around() {
    echo "$((O$1_W + 16))x$((${2:-O$1_H} + 30))+$((O$1_X - 12))+$((O$1_Y - 26))"
}

# Opens window W through entry I of the menu under title T and waits for
# one of its buttons: the windows share their fill colour with the stage.
open_window() {
    choose "$1" "$2"
    wait_until shows_fill "$(button_of "$3")" || fail "window $3 did not open"
}

button_of() {
    case $1 in
    8) echo 11 ;; 145) echo 156 ;; 199) echo 210 ;; 219) echo 237 ;; 241) echo 245 ;; 253) echo 256 ;;
    260) echo 271 ;; 290) echo 319 ;; 359) echo 365 ;; 390) echo 393 ;; 400) echo 403 ;; *) echo "$1" ;;
    esac
}

# Picks entry E of the choice field F.
pick() {
    click $(spot "$1")
    wait_until shows_fill "$2" || fail "the choice menu of field $1 did not open"
    click $(spot "$2")
}

# Selects object N through the selection panel. A click into a window
# behind the one in front only brings that window forward, hence the
# first click.
select_object() {
    click $(spot 205)
    type_number 205 "$1"
    click $(spot 210)
}

# Behaviour form: KIND, BORDER and STYLE are entries of the choice menus,
# MASTER, CAPACITY numbers and EDITABLE an entry; "" leaves a value alone.
# The form stays open for a picture; 156 applies and closes it.
behaviour() {
    open_window 51 53 145
    [ -n "$1" ] && pick 160 "$1"
    [ -n "${2:-}" ] && pick 183 "$2"
    [ -n "${3:-}" ] && pick 168 "$3"
    [ -n "${4:-}" ] && type_number 172 "$4"
    [ -n "${5:-}" ] && pick 178 "$5"
    [ -n "${6:-}" ] && type_number 182 "$6"
    return 0
}

# Geometry form: X Y W H TOP LEFT RIGHT, "" or nothing for a value left
# alone. The form stays open; 237 applies and closes it.
geometry() {
    open_window 51 54 219
    local field value
    for field in 225 226 227 228 233 235 236; do
        value=${1-}
        shift || true
        [ -n "$value" ] && type_number "$field" "$value"
    done
    return 0
}

# Text of a label or entry field through the short-text editor.
short_text() {
    open_window 58 60 253
    click $(spot 255)
    xdotool key --repeat 70 --delay 5 Delete
    xdotool key --repeat 70 --delay 5 BackSpace
    [ -n "$1" ] && xdotool type --delay 40 "$1"
    click $(spot 256)
}

# Holds the stepper N down until the colour sample shows R G B.
hold_stepper() {
    xdotool mousemove --window "$WINDOW" $(spot "$1") mousedown 1
    wait_until swatch_is "$2" || { xdotool mouseup 1; fail "the stepper $1 did not reach $2"; }
    xdotool mouseup 1
}

# Design > Copy object data, from object S to object T; the window stays open.
copy_object() {
    shows_fill 365 || open_window 30 36 359
    type_number 362 "$1"
    type_number 364 "$2"
    click $(spot 365)
    wait_until shows_fill 258 || fail "no note after copying $1 to $2"
    click $(spot 259)
    wait_until shows_fill 365 || fail "the copy window did not come back"
}

# Runs PROGRAM beside the saved design, types a name and a password, saves
# its picture and presses "Log in".
run_login_program() {
    local folder=$TMP/login
    mkdir -p "$folder"
    cp "$1" "$GUIDE_DIR/login.tav" "$GUIDE_DIR/login.taw" "$RUN_DIR/DroidSans.ttf" "$folder/" ||
        fail "cannot copy the login program"
    "$LAYOUT_TOOL" unpack "$folder/login.tav" "$folder/login.taw" >"$TMP/login.json" || fail "cannot unpack login.tav"
    eval "$(python3 "$HERE/layout_positions.py" "$TMP/login.json" 8 10 12 13)"
    launch "$folder" "$(basename "$1")" Login
    wait_until shows_fill 10 || fail "the login window was not drawn; stdout: $(cat "$TMP/stdout")"
    xdotool type --delay 40 ada
    click $(spot 12)
    xdotool type --delay 40 secret
    guide_picture login-program 480x300+0+0
    click $(spot 13)
    expect_exit 0
    grep -q "user ada, password of 6 characters" "$TMP/stdout" || fail "the program printed: $(cat "$TMP/stdout")"
}

case "$CHECK" in
startup | selector | preview | quit_yes | quit_no | close_window | interrupt | geometry | stepper | save_as | \
    geometry_kept | preview_places | font_notice | close_taken_away | missing_texts | save_link | extreme_geometry | \
    lock_number)
    [ -x "$RUN_DIR/tavrin_creator" ] || fail "no tavrin_creator in $RUN_DIR"
    [ -f "$RUN_DIR/6495.tav" ] || fail "no 6495.tav in $RUN_DIR"
    "check_$CHECK"
    ;;
screenshot) take_screenshot "${4:-}" ;;
guide) take_guide_pictures "${4:-}" "${5:-}" ;;
*) echo "unknown check $CHECK" >&2; exit 2 ;;
esac
echo "PASS: $CHECK"
