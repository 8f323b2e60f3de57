# A private X server for the tests that show real windows. Source it, then:
#   xvfb_start   starts Xvfb on a display number it picks itself and exports DISPLAY
#   xvfb_stop    ends that server
# Xvfb reports the display it took once it accepts connections (-displayfd), so nothing
# waits for a fixed time, and tests started side by side never pick the same number.
# Without Xvfb installed, xvfb_start fails.

XVFB_PID=""
XVFB_SCREEN=${XVFB_SCREEN:-1024x768x24}

xvfb_start() {
    command -v Xvfb >/dev/null 2>&1 || { echo "xvfb_start: Xvfb is not installed" >&2; return 1; }
    local display_number
    # The process substitution's pid is Xvfb's own: Xvfb replaces the subshell.
    exec {XVFB_FD}< <(exec Xvfb -displayfd 1 -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset 2>/dev/null)
    XVFB_PID=$!
    if ! read -r -t 30 -u "$XVFB_FD" display_number || [ -z "$display_number" ]; then
        echo "xvfb_start: Xvfb did not start" >&2
        xvfb_stop
        return 1
    fi
    export DISPLAY=":$display_number"
    unset WAYLAND_DISPLAY
}

xvfb_stop() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
    if [ -n "${XVFB_FD:-}" ]; then
        exec {XVFB_FD}<&-
        unset XVFB_FD
    fi
}
