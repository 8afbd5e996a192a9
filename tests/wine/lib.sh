# Sourced by the Wine tests and the scripts that run programs under Wine: one private Wine
# prefix and one private X display for the run, both gone when the run ends, whatever the
# outcome. Every wait is bounded.
#
#   wine_begin [win64|win32]   sets up $WORK, $DISPLAY, $WINEPREFIX; starts the prefix
#   wine_version NAME          the Windows version that the next program start reports
#   wine_run EXE ARGS...       runs a Windows program (bounded by $WINE_TIMEOUT seconds)
#   wine_run_out EXE ARGS...   the same with its output in $WORK/out.txt
#   wine_start EXE ARGS...     starts one in the background; its pid in $WINE_PID
#   wine_end                   stops the prefix's processes and the display (trap'd)

WINE_TIMEOUT=${WINE_TIMEOUT:-60}

wine_begin() {
    WINE_ARCH=${1:-win64}
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/vflash-wine.XXXXXX")
    trap wine_end EXIT
    trap 'exit 130' INT TERM
    export WINEPREFIX="$WORK/prefix" WINEARCH="$WINE_ARCH" WINEDEBUG=-all
    # No .NET or HTML engine to install, and a crash must end the program, not wait in the
    # debugger.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    # The wine wrapper would pick the 32-bit loader whenever it is installed.
    if [ "$WINE_ARCH" = win32 ]; then WINE=/usr/lib/wine/wine; else WINE=/usr/lib/wine/wine64; fi
    xvfb_begin
    # A server that stays up keeps the prefix's own processes (services, explorer) running
    # between the test's programs, so each start after the first is a warm one. For a minute
    # only: a run killed before its clean-up leaves nothing behind for long.
    mkdir -p "$WINEPREFIX"
    timeout 30 /usr/lib/wine/wineserver64 -p60 </dev/null >/dev/null 2>&1 || { echo "wineserver did not start" >&2; return 1; }
    timeout "${WINE_BOOT_TIMEOUT:-180}" "$WINE" wineboot -i >"$WORK/wineboot.log" 2>&1 || {
        echo "wineboot failed or timed out" >&2
        return 1
    }
}

# Xvfb chooses a free display itself and says which (-displayfd), so parallel runs never
# race for one.
xvfb_begin() {
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    i=0
    while [ ! -s "$WORK/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$WORK/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$WORK/display")"
}

wine_version() {
    timeout "$WINE_TIMEOUT" "$WINE" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f \
        </dev/null >/dev/null 2>&1
}

wine_run() {
    timeout "$WINE_TIMEOUT" "$WINE" "$@" </dev/null
}

# Read a program's output from a file, never through a pipe ($(...) included): Wine's own
# background processes (services, device drivers) that start along with the program inherit
# the pipe and would hold it open until the prefix ends.
wine_run_out() {
    wine_run "$@" >"$WORK/out.txt" 2>&1
}

wine_start() {
    timeout "$WINE_TIMEOUT" "$WINE" "$@" </dev/null >>"$WORK/started.log" 2>&1 &
    WINE_PID=$!
}

# The exit code of the program that wine_start started (124: it outlived the bound).
wine_wait() {
    wait "$WINE_PID"
}

# A script that changes more of the machine for its run names its own clean-up here; it
# runs after the prefix and the display are gone.
WINE_END_HOOK=${WINE_END_HOOK:-}

wine_end() {
    status=$?
    if [ -n "${WORK:-}" ]; then
        [ -d "$WORK/prefix" ] && timeout 30 /usr/lib/wine/wineserver64 -k >/dev/null 2>&1
        [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
        rm -rf "$WORK"
        WORK=
    fi
    [ -n "$WINE_END_HOOK" ] && "$WINE_END_HOOK"
    return $status
}

# Stops with a message when one of the programs a test needs was not built.
#   wine_need HINT FILE...     (HINT: the make target that builds them)
wine_need() {
    _hint=$1; shift
    for _exe in "$@"; do
        [ -f "$_exe" ] || { echo "missing $_exe (make $_hint)"; exit 1; }
    done
}

# Ends one case of a table-driven test: a dialog left open by a failed client run is closed
# (so the case does not sit out the bound), the program's exit code is collected, and the
# case is counted in $passed or $failed and reported.
#   wine_end_case UIAUTO_EXE UIAUTO_STATUS DIALOG LABEL
wine_end_case() {
    [ "$2" -ne 0 ] && wine_run "$1" close "$3" >/dev/null 2>&1
    wine_wait
    _code=$?
    if [ "$2" -eq 0 ] && [ $_code -eq 0 ]; then
        passed=$((passed + 1))
        echo "ok   $4"
    else
        failed=$((failed + 1))
        echo "FAIL $4: uiauto $2, exit code $_code"
        sed 's/^/     /' "$WORK/out.txt"
    fi
}
