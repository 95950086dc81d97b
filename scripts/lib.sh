# Shared settings and helpers for the scripts in this directory; sourced, never run.
# shellcheck shell=bash

KOVA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KOVA_CACHE=${KOVA_CACHE:-$HOME/.cache/kova-json}
KOVA_BUILD=$KOVA_ROOT/build
# Two checkouts testing at once each need their own Wine prefix: set KOVA_WINEPREFIX.
KOVA_WINEPREFIX=${KOVA_WINEPREFIX:-$KOVA_CACHE/wineprefix}
export KOVA_CACHE KOVA_WINEPREFIX

log() { printf '==> %s\n' "$*" >&2; }

# The program's version, from the one place that holds it (src/app/ProgramVersion.h).
kova_version() {
    local part parts=()
    for part in MAJOR MINOR PATCH; do
        parts+=("$(sed -n "s/^#define VIVU_VERSION_$part \([0-9][0-9]*\)\$/\1/p" "$KOVA_ROOT/src/app/ProgramVersion.h")")
    done
    local IFS=.
    [[ "${parts[*]}" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || {
        echo "no version in src/app/ProgramVersion.h" >&2
        return 1
    }
    printf '%s\n' "${parts[*]}"
}

# --- Building ---------------------------------------------------------------

# configure_tree native|win: (re)configures build/<tree>; cheap when nothing changed.
configure_tree() {
    local tree=$1 args=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVA_DEPS="$KOVA_CACHE") compilers
    case $tree in
    native) compilers=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
    win) compilers=(-DCMAKE_TOOLCHAIN_FILE="$KOVA_ROOT/cmake/mingw-w64.cmake") ;;
    *)
        echo "unknown build tree: $tree" >&2
        return 2
        ;;
    esac
    # Compilers are chosen once; naming them again on a tree another tool configured would wipe its cache.
    [ -f "$KOVA_BUILD/$tree/CMakeCache.txt" ] || args+=("${compilers[@]}")
    mkdir -p "$KOVA_BUILD/$tree"
    cmake -S "$KOVA_ROOT" -B "$KOVA_BUILD/$tree" "${args[@]}" >"$KOVA_BUILD/$tree/configure.log" 2>&1 || {
        cat "$KOVA_BUILD/$tree/configure.log" >&2
        return 1
    }
}

# build_tree native|win [target...]
build_tree() {
    local tree=$1
    shift
    configure_tree "$tree" || return 1
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$KOVA_BUILD/$tree" "${targets[@]}"
}

# --- Wine -------------------------------------------------------------------

# The project's own prefix, never the user's ~/.wine. Mono and Gecko cannot be
# downloaded here, and the program runs as it would on a Chinese Windows.
wine_env() {
    export WINEPREFIX=$KOVA_WINEPREFIX
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml="
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
}

# Serialises scripts that share the prefix: a second run would otherwise kill
# the first one's wineserver. Held until the script exits.
lock_wine_prefix() {
    [ -n "${KOVA_PREFIX_LOCK_FD:-}" ] && return 0
    mkdir -p "$(dirname "$KOVA_WINEPREFIX")"
    exec {KOVA_PREFIX_LOCK_FD}>"$KOVA_WINEPREFIX.lock"
    if ! flock -n "$KOVA_PREFIX_LOCK_FD"; then
        log "waiting for another script using $KOVA_WINEPREFIX"
        flock "$KOVA_PREFIX_LOCK_FD"
    fi
}

# Fonts the program and Wine's dialogs ask for, all drawn with the installed CJK font.
kova_font_replacements() {
    local cjk="WenQuanYi Micro Hei" f
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for f in "微软雅黑" "黑体" "宋体" "新宋体" "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" \
        "Microsoft YaHei" "Microsoft YaHei UI" "YaHei Consolas Hybrid" "Consolas" "Segoe UI"; do
        printf '"%s"="%s"\r\n' "$f" "$cjk"
    done
}

# Creates the prefix and maps the fonts, once; the marker holds what was imported
# so a changed font list is imported again.
ensure_wine_prefix() {
    wine_env
    lock_wine_prefix
    local marker=$WINEPREFIX/.kova-fonts.reg want
    want=$(kova_font_replacements)
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$want" ]; then return 0; fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "creating Wine prefix $WINEPREFIX"
        KOVA_WINESERVER=1 # stop what wineboot started if this script is interrupted
        # wineboot wants a display for its progress window; without one it still works.
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] || {
            echo "wineboot did not create $WINEPREFIX" >&2
            return 1
        }
    fi
    local reg=$WINEPREFIX/kova-fonts.reg
    # regedit reads UTF-16 with a byte order mark for non-ASCII key names.
    { printf '\xff\xfe' && printf '%s\r\n' "$want" | iconv -f UTF-8 -t UTF-16LE; } >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1 || true
    wineserver -w # the registry reaches user.reg when the server exits
    if ! grep -q 'WenQuanYi Micro Hei' "$WINEPREFIX/user.reg"; then
        echo "font replacements were not imported into $WINEPREFIX" >&2
        return 1
    fi
    printf '%s' "$want" >"$marker"
}

# --- Processes started by a script, stopped when it exits --------------------

KOVA_PIDS=()
KOVA_TEMP_DIRS=()
KOVA_WINESERVER=

stop_pid() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    local rc=$? i
    trap - EXIT INT TERM
    # Wine first: its programs are clients of the display.
    if [ -n "$KOVA_WINESERVER" ]; then
        wineserver -k 2>/dev/null || true
        timeout 20 wineserver -w 2>/dev/null || true
    fi
    for ((i = ${#KOVA_PIDS[@]} - 1; i >= 0; i--)); do stop_pid "${KOVA_PIDS[i]}"; done
    for d in "${KOVA_TEMP_DIRS[@]}"; do rm -rf "$d"; done
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

track_pid() { KOVA_PIDS+=("$1"); }

# After a tracked child has been waited for, its pid may be reused: forget it.
untrack_pid() {
    local kept=() p
    for p in "${KOVA_PIDS[@]}"; do [ "$p" = "$1" ] || kept+=("$p"); done
    KOVA_PIDS=("${kept[@]}")
}

# Sets KOVA_TMP to a directory removed when the script exits. Call it directly,
# not in $(...): a subshell's variables are lost.
make_temp_dir() {
    [ -n "${KOVA_TMP:-}" ] && return 0
    KOVA_TMP=$(mktemp -d "${TMPDIR:-/tmp}/kova.XXXXXX")
    KOVA_TEMP_DIRS+=("$KOVA_TMP")
}

# Starts Xvfb on a free display and exports DISPLAY once it answers.
start_display() {
    local n pid log
    make_temp_dir
    log=$KOVA_TMP/xvfb.log
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$log" 2>&1 &
        pid=$!
        for _ in $(seq 100); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                track_pid "$pid"
                export DISPLAY=:$n
                log "Xvfb on :$n (pid $pid)"
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break # lost the display to someone else: next one
            sleep 0.1
        done
        stop_pid "$pid"
    done
    echo "could not start Xvfb" >&2
    cat "$log" >&2
    return 1
}

# Starts the prefix's wineserver before any wine program: programs that start
# together with no server running race, and a window may never appear.
start_wineserver() {
    ensure_wine_prefix || return 1
    wineserver -k 2>/dev/null || true
    wineserver -w
    KOVA_WINESERVER=1
    wineserver -p5
}

# wait_for_window NAME-REGEX SECONDS [PID]: prints the X window id once the window is
# visible; gives up early when PID (the program) has exited.
wait_for_window() {
    local name=$1 seconds=$2 pid=${3:-} id i
    for ((i = 0; i < seconds * 4; i++)); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            printf '%s\n' "$id"
            return 0
        fi
        if [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null; then return 1; fi
        sleep 0.25
    done
    return 1
}

# The main window's caption, and as a regular expression for xdotool.
# shellcheck disable=SC2034 # used by the scripts that source this file
KOVA_WINDOW_TITLE="KOVA.Json助手1.2.1"
# shellcheck disable=SC2034
KOVA_WINDOW_REGEX='^KOVA\.Json助手1\.2\.1$'

# --- Sanitizer builds (scripts/fuzz, scripts/sanitize) -------------------------

# Undefined behaviour stops the program; the only recoverable check is the one
# tests/ubsan.supp silences in third-party code, and any other report of it still halts.
# shellcheck disable=SC2034 # used by the scripts that source this file
KOVA_SANITIZE_FLAGS="-g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize-recover=pointer-overflow"
sanitizer_env() {
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$KOVA_ROOT/tests/ubsan.supp"
    export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
}
