# The programs on the screen, sourced by bench/run: their settings, their start, their
# window, a key to end them and their CPU time, for (d), (e), (f) and (h).
# shellcheck shell=bash

SETTINGS_REG="$WORK/settings.reg"

# The slide show's settings: a folder (the one 12 MP picture unless given), seconds a picture
# (5 unless given), both captions, always on top, no pointer, and a start count past the
# start picture's.
write_settings() {
    local path seconds=${2:-5}
    path=$(winpath "${1:-$WORK/one}")
    cat >"$SETTINGS_REG" <<EOF
REGEDIT4

[-HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Glimra]

[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Glimra\\Settings]
"Path"="${path//\\/\\\\}"
"Initialized"="True"
"SecondsToDisplay"="$seconds"
"DisplayImageFileName"="1"
"displayImageNumber"="1"
"DisplayInRandomOrder"="0"
"AlwaysOnTop"="1"
"HideMousePointer"="1"
"ShowSplashScreen"="10"
EOF
}
configure_saver() { wine reg import "$(winpath "$SETTINGS_REG")" >/dev/null 2>&1; }

# Clock ticks of user and system time of a process and of every process under it.
tree_ticks() {
    local pid=$1 total=0 stat rest fields child
    if read -r stat 2>/dev/null <"/proc/$pid/stat"; then
        rest=${stat##*) }
        read -ra fields <<<"$rest"
        total=$((fields[11] + fields[12] + fields[13] + fields[14]))
    fi
    for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do
        total=$((total + $(tree_ticks "$child")))
    done
    echo "$total"
}

# The program's decoder processes: every Glimra.scr started since the program `$1` (a program
# that ended before it may still be on its way out, with its own).
decoder_pids() {
    local pid since stat fields
    read -r stat 2>/dev/null <"/proc/$1/stat" || return 0
    stat=${stat##*) }
    read -ra since <<<"$stat"
    for pid in $(pgrep -x Glimra.scr); do
        [ "$pid" = "$1" ] && continue
        read -r stat 2>/dev/null <"/proc/$pid/stat" || continue
        stat=${stat##*) }
        read -ra fields <<<"$stat"
        [ "${fields[19]}" -ge "${since[19]}" ] && echo "$pid"
    done
}

# The clock ticks of the program's decoder processes.
decoder_ticks() {
    local total=0 pid
    for pid in $(decoder_pids "$1"); do total=$((total + $(tree_ticks "$pid"))); done
    echo "$total"
}

# The wine server of this script's prefix: its working folder is named after the prefix.
server_pid() {
    local want p dev inode comm
    read -r dev inode < <(stat -c '%d %i' "$PREFIX")
    want=$(printf 'server-%x-%x' "$dev" "$inode")
    for p in /proc/[0-9]*; do
        read -r comm 2>/dev/null <"$p/comm" || continue
        case $comm in wineserver*) ;; *) continue ;; esac
        [ "$(basename "$(readlink "$p/cwd" 2>/dev/null)")" = "$want" ] && {
            echo "${p#/proc/}"
            return
        }
    done
}

# Starts one program on the screen; its process id is left in PROGRAM_PID.
start_program() {
    wine "$@" >/dev/null 2>&1 &
    PROGRAM_PID=$!
    RUNNING+=("$PROGRAM_PID")
}

# Polls until the window is visible, at most the given seconds (15 unless given).
wait_visible() {
    local caption=$1 pid=$2 i
    for ((i = 0; i < ${3:-15} * 20; i++)); do
        xdotool search --onlyvisible --name "^$caption\$" >/dev/null 2>&1 && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

gone() {
    local stat
    [ -e "/proc/$1" ] || return 0
    read -r stat 2>/dev/null <"/proc/$1/stat" || return 0
    stat=${stat##*) }
    [ "${stat%% *}" = Z ]
}

now_us() { echo "${EPOCHREALTIME/./}"; }

# Presses a key and waits for the process to end. ELAPSED_MS is left with the milliseconds from
# just before the key to its end, or "timeout" when it kept running for 5 s (it is then ended).
# shellcheck disable=SC2034 # ELAPSED_MS is read by the caller
key_to_exit() {
    local pid=$1 start now
    start=$(now_us)
    xdotool key space
    while ! gone "$pid"; do
        if [ $(($(now_us) - start)) -gt 5000000 ]; then
            kill "$pid" 2>/dev/null
            wait "$pid" 2>/dev/null
            forget "$pid"
            ELAPSED_MS=timeout
            return 1
        fi
        sleep 0.005
    done
    now=$(now_us)
    wait "$pid" 2>/dev/null
    forget "$pid"
    ELAPSED_MS=$(awk -v d=$((now - start)) 'BEGIN { printf "%.1f", d / 1000 }')
}

centre_pixel() {
    import -window root -crop 1x1+960+540 +repage -depth 8 txt:- 2>/dev/null |
        awk 'NR == 2 { print $3 }'
}
