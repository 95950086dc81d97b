# Helpers of the end-to-end journeys: the driver, X input, checks, the program's life.
# Sourced by tests/e2e/run after scripts/lib.sh.
# shellcheck shell=bash
# shellcheck disable=SC2034 # the ids and names below are used by journeys.sh

E2E_BIN=$KOVA_BUILD/win/bin
E2E_DRIVER=$E2E_BIN/e2e-driver.exe
E2E_ARTIFACTS=$KOVA_BUILD/test-artifacts/e2e
MAIN=$KOVA_WINDOW_TITLE

# Control ids of the main window (the order of its template).
ID_TITLE=100 ID_MAIN_TABS=104 ID_RIGHT_TOOLBAR=106 ID_SOURCE=108 ID_SOURCE_TABS=109
ID_EDITOR_FRAME=110 ID_PASTE=111 ID_URL=112 ID_URL_GO=113 ID_FILE=114 ID_FILE_RELOAD=116
ID_BACK=117 ID_PATH=119 ID_PATH_GO=120 ID_PATH_COPY=121 ID_EXPAND_ALL=122
ID_TREE=124 ID_TYPE=125 ID_CONTENT=126 ID_CODE=127 ID_CODE_COPY=128
# The "查看" window and the About window.
VIEW="查看" ID_VIEW_TEXT=101 ID_VIEW_COPY=102 ID_VIEW_CLOSE=103
ABOUT="关于 $MAIN" ID_ABOUT_VERSION=1007 ID_ABOUT_NEWS=1014 ID_ABOUT_OK=1

E2E_FAILS=0
E2E_RESULTS=()

# --- checks --------------------------------------------------------------------

pass() { printf '    ok    %s\n' "$*"; }
fail() {
    printf '    FAIL  %s\n' "$*" >&2
    E2E_FAILS=$((E2E_FAILS + 1))
    E2E_JOURNEY_FAILED=1
    return 1
}

# expect WHAT EXPECTED ACTUAL
expect() {
    if [ "$2" == "$3" ]; then pass "$1"; else fail "$1: expected [$2], got [$3]"; fi
}

# expect_contains WHAT NEEDLE HAYSTACK
expect_contains() {
    if [[ $3 == *"$2"* ]]; then pass "$1"; else fail "$1: [$2] not in [$3]"; fi
}

# wait_for WHAT EXPECTED COMMAND...: runs COMMAND until it prints EXPECTED, for up to 20 s.
# Input reaches the program asynchronously, so every check after an action waits.
wait_for() {
    local what=$1 expected=$2 actual deadline=$((SECONDS + 20))
    shift 2
    while :; do
        actual=$("$@" 2>/dev/null)
        if [ "$actual" == "$expected" ]; then
            pass "$what"
            return 0
        fi
        [ $SECONDS -lt $deadline ] || break
        sleep 0.2
    done
    fail "$what: expected [$expected], got [$actual]"
}

# --- the driver and X input ----------------------------------------------------

drv() { timeout 60 wine "$E2E_DRIVER" "$@"; }

text() { drv text "$MAIN" "$1"; }
editor() { drv editor "${1:-$MAIN}"; }

# The X window of a Wine top-level window, by its caption.
x_window() {
    # shellcheck disable=SC2001 # a set of characters to escape
    xdotool search --onlyvisible --name "^$(sed 's/[.[\*^$]/\\&/g' <<<"$1")\$" 2>/dev/null | head -1
}

# Keyboard input goes to the X window with the input focus; there is no window manager to set it.
focus() {
    local id
    id=$(x_window "${1:-$MAIN}") || return 1
    [ -n "$id" ] || return 1
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
}

click_at() { # X Y [CLICKS]
    xdotool mousemove --sync "$1" "$2" click --repeat "${3:-1}" --delay 120 1
}

# click WINDOW ID [CLICKS]: a real mouse click in the middle of a control.
click() {
    local at
    at=$(drv center "$1" "$2") || {
        fail "no control $2 in \"$1\" to click"
        return 1
    }
    # shellcheck disable=SC2086 # "x y"
    click_at $at "${3:-1}"
}

click_toolbar() {
    local at
    at=$(drv toolbar "$MAIN" "$1") || {
        fail "no toolbar button $1"
        return 1
    }
    # shellcheck disable=SC2086
    click_at $at
}

# click_tree_item LABEL [CLICKS]
click_tree_item() {
    local at
    at=$(drv tree-item "$MAIN" "$ID_TREE" "$1") || {
        fail "no tree item [$1] to click"
        return 1
    }
    # shellcheck disable=SC2086
    click_at $at "${2:-1}"
}

# tree_menu LABEL [DOWNS]: right-clicks the tree item and waits for its menu; with DOWNS, chooses
# the item that many steps down (the separator takes none).
tree_menu() {
    local at
    at=$(drv tree-item "$MAIN" "$ID_TREE" "$1") || {
        fail "no tree item [$1] to right-click"
        return 1
    }
    # Without --sync: it waits for a motion, and the pointer may be there already.
    # shellcheck disable=SC2086
    xdotool mousemove $at sleep 0.2 click 3
    drv menu >/dev/null || {
        fail "no menu on [$1]"
        return 1
    }
    [ -z "${2:-}" ] || { key --repeat "$2" Down && key Return; }
}

# show_page PAGE: the main tab control shows that page, as after its arrow keys (its headers are hidden).
show_page() {
    drv tab-page "$MAIN" $ID_MAIN_TABS "$1"
    wait_for "page $1" "$1" drv tab "$MAIN" $ID_MAIN_TABS >/dev/null
}

# Byte offsets of the Nth (from 1) occurrence of NEEDLE in TEXT, ASCII letters in any case: "start end".
occurrence() { # TEXT NEEDLE N
    python3 -c 'import re, sys
t, n = sys.argv[1].encode(), sys.argv[2].encode()
m = list(re.finditer(re.escape(n), t, re.I))[int(sys.argv[3]) - 1]
print(m.start(), m.end())' "$@"
}

type_text() { xdotool type --delay 25 -- "$1"; }
key() { xdotool key --clearmodifiers "$@"; }

# Replaces the text of an edit box as a user does: click into it, select all, type.
type_into() { # WINDOW ID TEXT
    focus "$1"
    click "$1" "$2" || return 1
    key ctrl+a
    type_text "$3"
}

# answer_box EXPECTED-TITLE EXPECTED-TEXT: the message box the last action raised, closed with OK.
answer_box() {
    local seen
    seen=$(drv msgbox 20) || {
        fail "no message box \"$1\""
        return 1
    }
    expect "message box" "$1|$2" "$seen"
}

no_box() {
    local why
    if why=$(drv nomsgbox 2>&1); then pass "no message box"; else fail "${why#e2e-driver: }"; fi
}

# closed WINDOW: a modal window has gone and the main window takes input again.
closed() {
    drv gone "$1" 10 || {
        fail "\"$1\" is still open"
        return 1
    }
    wait_for "main window enabled again" 1 drv enabled "$MAIN" 0 >/dev/null
}

screenshot() {
    sleep 0.5 # the last paint
    import -window root "$E2E_ARTIFACTS/$1.png" 2>/dev/null || fail "screenshot $1"
}

# --- the program ---------------------------------------------------------------

E2E_PID=

start_program() { # [ARGUMENT...] for kova-json.exe, from the program's folder
    (cd "$E2E_APP" && exec wine kova-json.exe "$@") &
    E2E_PID=$!
    track_pid "$E2E_PID"
    if drv wait "$MAIN" 60 && [ -n "$(wait_for_window "$KOVA_WINDOW_REGEX" 30 "$E2E_PID")" ]; then
        pass "the main window is up"
    else
        fail "the main window did not appear"
    fi
}

# Closes the main window as a user does (Alt+F4); the program must then end with status 0.
close_program() {
    local rc
    drv enabled "$MAIN" 0 | grep -q 1 || fail "the main window is disabled: a modal window is still open"
    focus "$MAIN" && key alt+F4
    for _ in $(seq 120); do
        kill -0 "$E2E_PID" 2>/dev/null || break
        sleep 0.25
    done
    if kill -0 "$E2E_PID" 2>/dev/null; then
        fail "still running after Alt+F4"
        stop_pid "$E2E_PID"
    else
        wait "$E2E_PID"
        rc=$?
        expect "exit status" 0 "$rc"
    fi
    untrack_pid "$E2E_PID"
    E2E_PID=
}

# --- set-up and summary ----------------------------------------------------------

e2e_setup() {
    local f
    for f in kova-json.exe scintilla.dll lexilla.dll NEWS.txt e2e-driver.exe; do
        [ -f "$E2E_BIN/$f" ] || {
            echo "missing $E2E_BIN/$f: build the Windows tree first" >&2
            return 1
        }
    done
    mkdir -p "$E2E_ARTIFACTS"
    rm -f "$E2E_ARTIFACTS"/*.png
    if [ -n "${KOVA_PREFIX_LOCK_FD:-}" ] && [ -n "${DISPLAY:-}" ]; then
        wine_env # scripts/test holds the prefix and runs the display and the wineserver
    else
        start_display && start_wineserver || return 1
    fi
    make_temp_dir
    # A directory of its own, so the settings and buffer files start out missing.
    E2E_APP=$KOVA_TMP/app
    E2E_FILES=$KOVA_TMP/files
    mkdir -p "$E2E_APP" "$E2E_FILES"
    cp "$E2E_BIN"/{kova-json.exe,scintilla.dll,lexilla.dll,NEWS.txt} "$E2E_APP/"
    if [ -z "${KOVA_TEST_HTTP_BASE:-}" ]; then
        python3 "$KOVA_ROOT/tests/http/server.py" "$KOVA_TMP/port" &
        track_pid $!
        for _ in $(seq 100); do
            [ -s "$KOVA_TMP/port" ] && break
            sleep 0.1
        done
        KOVA_TEST_HTTP_BASE=http://127.0.0.1:$(cat "$KOVA_TMP/port")
    fi
}

# The Windows name of a file in the temp directory (Wine's drive Z: is /).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

run_journey() {
    E2E_JOURNEY_FAILED=0
    log "e2e: $1"
    "journey_$1"
    if [ $E2E_JOURNEY_FAILED -eq 0 ]; then
        E2E_RESULTS+=("$(printf '%-22s PASS' "$1")")
    else
        E2E_RESULTS+=("$(printf '%-22s FAIL' "$1")")
    fi
}

e2e_finish() {
    [ -z "$E2E_PID" ] || close_program
    echo
    printf '%s\n' "${E2E_RESULTS[@]}"
    echo "screenshots: $E2E_ARTIFACTS"
    [ $E2E_FAILS -eq 0 ]
}
