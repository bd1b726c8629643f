# Helpers of the scripted tests (sourced, not run).

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts a private Xvfb and exports DISPLAY; it is stopped when the script exits.
start_xvfb() {
    command -v Xvfb >/dev/null || fail "Xvfb is not installed (apt-get install xvfb)"
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 9 -screen 0 1600x900x24 -nolisten tcp 9>"$fdfile" 2>/dev/null &
    XVFB_PID=$!
    trap 'kill $XVFB_PID 2>/dev/null; wait $XVFB_PID 2>/dev/null' EXIT
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}
