# The processes, sourced by bench/run: everything the benchmarks start is ended by its id
# on the way out.
# shellcheck shell=bash

RUNNING=()
SERVER_PID=
cleanup() {
    local pid
    for pid in "${RUNNING[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    RUNNING=()
    # The prefix is this script's own, so its server and services are ours to end.
    [ "${WINEPREFIX:-}" = "$PREFIX" ] && wineserver -k 2>/dev/null
    [ -n "$SERVER_PID" ] && wait "$SERVER_PID" 2>/dev/null
    SERVER_PID=
    if [ -n "${GLIMRA_XVFB_PID:-}" ]; then
        pid=$GLIMRA_XVFB_PID
        glimra_stop_xvfb
        wait "$pid" 2>/dev/null
    fi
}

forget() {
    local kept=() pid
    for pid in "${RUNNING[@]}"; do [ "$pid" != "$1" ] && kept+=("$pid"); done
    RUNNING=("${kept[@]}")
}

# Waits, in a way that a signal interrupts at once.
pause_for() {
    sleep "$1" &
    local pid=$!
    RUNNING+=("$pid")
    wait "$pid"
    forget "$pid"
}

# The name Wine gives a path of this machine.
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
