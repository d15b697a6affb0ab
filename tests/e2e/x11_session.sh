# Shared by the end-to-end scripts: a private Xvfb display, one program on it
# driven with xdotool, screenshots, and the clean-up of all of it. Source it
# after setting SCREEN_SIZE (WxH) and TIMEOUT (seconds for any single wait).

E2E_HELPERS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TMP=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-e2e.XXXXXX")
XVFB_PID=
PROGRAM_PID=

cleanup() {
    # SDL turns SIGTERM into a quit event, which asks the editor a question.
    [ -n "$PROGRAM_PID" ] && kill -KILL "$PROGRAM_PID" 2>/dev/null && wait "$PROGRAM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    rm -rf "$TMP"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${SHOT:-}" ] && [ -f "$SHOT" ] && [ -n "${TAVRIN_E2E_KEEP:-}" ]; then
        cp "$SHOT" "$TAVRIN_E2E_KEEP" && echo "last screenshot kept in $TAVRIN_E2E_KEEP" >&2
    fi
    exit 1
}

need() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make deps)"; exit 77; }
    done
}

# Runs "$@" until it succeeds, at most TIMEOUT seconds.
wait_until() {
    local deadline=$((SECONDS + TIMEOUT))
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

start_display() {
    need Xvfb xdotool import convert
    local fd_file=$TMP/display
    # -displayfd picks a free display number and writes it once the server
    # accepts clients, so parallel tests never share a display.
    Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp 3>"$fd_file" >"$TMP/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until test -s "$fd_file" || fail "Xvfb did not start: $(cat "$TMP/xvfb.log")"
    export DISPLAY=:$(head -n1 "$fd_file")
}

# Libraries to preload into a sanitizer build of PROGRAM (nothing for an
# ordinary build): the sanitizer runtimes, which must come first, and Mesa's
# GL driver. SDL loads the driver and unloads it at SDL_Quit; what it keeps
# would then be reported from an unknown module, beyond the suppressions.
# Preloaded, the driver stays mapped and its leaks are known as its own.
sanitizer_preload() {
    local libs lib
    libs=$(ldd "$1" 2>/dev/null | awk '/libasan|libubsan/ { print $3 }' | tr '\n' ' ')
    [ -n "$libs" ] || return 0
    for lib in /usr/lib/*/libGLX_mesa.so.0 /usr/lib/*/dri/swrast_dri.so; do
        [ -f "$lib" ] && libs="$libs $lib"
    done
    echo "$libs"
}

# Starts PROGRAM in FOLDER on the display and waits for its window titled
# TITLE; sets PROGRAM_PID and WINDOW.
launch() {
    local folder=$1 program=$2 title=$3
    # A sanitizer build looks for leaks when the program ends. On X11, SDL
    # loads X, GL and D-Bus libraries that keep memory to the end: leaks
    # inside those, and only those, are suppressed. A job in the background
    # ignores SIGINT; the program gets it back as in a terminal, where
    # Ctrl+C sends it.
    local preload
    preload=$(sanitizer_preload "$folder/$program")
    (cd "$folder" && { [ -z "$preload" ] || export LD_PRELOAD="$preload"; } && SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software \
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1" \
        LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$E2E_HELPERS/lsan.supp:print_suppressions=0" \
        exec env --default-signal=INT "./$program") >"$TMP/stdout" 2>"$TMP/stderr" &
    PROGRAM_PID=$!
    WINDOW=$(timeout "$TIMEOUT" xdotool search --sync --onlyvisible --name "^$title\$" | head -n1)
    [ -n "$WINDOW" ] || fail "no window '$title'; stdout: $(cat "$TMP/stdout") stderr: $(cat "$TMP/stderr")"
}

# A program that ended stays a zombie until it is waited for; kill -0 still
# reaches a zombie.
program_ended() {
    ! kill -0 "$PROGRAM_PID" 2>/dev/null || [ "$(ps -o stat= -p "$PROGRAM_PID" 2>/dev/null | cut -c1)" = Z ]
}

# Closes the program's window as a window manager's close button does.
close_window() {
    need python3
    python3 "$E2E_HELPERS/close_window.py" "$WINDOW" || fail "cannot ask the window to close"
}

# Waits for the program to end and checks its exit status.
expect_exit() {
    local want=$1
    wait_until program_ended || fail "the program did not end"
    wait "$PROGRAM_PID"
    local status=$?
    PROGRAM_PID=
    [ "$status" -eq "$want" ] || fail "exit status $status, expected $want; stdout: $(cat "$TMP/stdout") stderr: $(cat "$TMP/stderr")"
}

# Moves the pointer to X Y of the program's window and clicks the left
# button. The server handles the move before the click, so there is no need
# to wait for it (--sync would wait in vain when the pointer is already there).
click() {
    xdotool mousemove --window "$WINDOW" "$1" "$2" || fail "cannot move the pointer"
    xdotool click 1
}

SHOT_NUMBER=0
# Takes a screenshot of the program's window; its file name is left in SHOT.
shoot() {
    # A program that ended (a sanitizer stops it at its first finding) has no
    # window left to look at.
    [ -n "$PROGRAM_PID" ] && program_ended && fail "the program ended; stderr: $(tail -n 5 "$TMP/stderr")"
    SHOT_NUMBER=$((SHOT_NUMBER + 1))
    SHOT=$TMP/shot$SHOT_NUMBER.png
    import -window "$WINDOW" "$SHOT" 2>/dev/null || fail "import failed"
}

# Parks the pointer at X Y, where it highlights nothing, and saves the
# window as the picture OUT.
save_picture() {
    xdotool mousemove --window "$WINDOW" "$2" "$3"
    sleep 1
    shoot
    cp "$SHOT" "$1"
}
