# The figures of a start, sourced by bench/run: (d) the CPU of the start and of the steady
# state, (h) the time from a start until its window is on the screen over folders of 10,
# 30,000 and 100,000 pictures.

percent_of_minute() { awk -v s="$1" 'BEGIN { printf "%.2f%%", 100 * s / 60 }'; }

# Polls until the screen's centre is no longer black (the first picture is on the screen), at
# most 30 s. False when the program ended or the time ran out.
wait_picture() {
    local pid=$1 i
    for ((i = 0; i < 300; i++)); do
        [ "$(centre_pixel)" != "#000000" ] && return 0
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# One run of (d): START_CPU is left with the program's CPU seconds from its start until it is
# ready (its window on the screen and, for the slide show, the first picture), STEADY_CPU with
# its CPU seconds per minute after that, and STEADY_ALL with the same plus the wine server's
# and the X server's. The program's decoder counts with it; START_DECODER and STEADY_DECODER
# are its share.
cpu_run() {
    local caption=$1 ready=$2 hz p0 s0 x0 p1 s1 x1 d0 d1 start
    shift 2
    hz=$(getconf CLK_TCK)
    start_program "$@"
    if ! wait_visible "$caption" "$PROGRAM_PID" || { [ "$ready" != window ] && ! wait_picture "$PROGRAM_PID"; }; then
        say "$caption did not get ready"
        key_to_exit "$PROGRAM_PID"
        return 1
    fi
    # The system tells the show that the display turned off, as power settings do.
    if [ "$ready" = display-off ] && ! wine "$BIN/e2e_driver.exe" display "$caption" off >/dev/null 2>&1; then
        say "$caption did not take the display's notice"
        key_to_exit "$PROGRAM_PID"
        return 1
    fi
    d0=$(decoder_ticks "$PROGRAM_PID")
    p0=$(($(tree_ticks "$PROGRAM_PID") + d0))
    s0=$(tree_ticks "$(server_pid)")
    x0=$(tree_ticks "$GLIMRA_XVFB_PID")
    start=$(now_us)
    pause_for "$SECONDS_D"
    d1=$(decoder_ticks "$PROGRAM_PID")
    p1=$(($(tree_ticks "$PROGRAM_PID") + d1))
    s1=$(tree_ticks "$(server_pid)")
    x1=$(tree_ticks "$GLIMRA_XVFB_PID")
    local minutes
    minutes=$(awk -v d=$(($(now_us) - start)) 'BEGIN { print d / 60e6 }')
    key_to_exit "$PROGRAM_PID" || say "$caption did not end on a key"
    START_CPU=$(awk -v p="$p0" -v hz="$hz" 'BEGIN { printf "%.2f", p / hz }')
    STEADY_CPU=$(awk -v p=$((p1 - p0)) -v hz="$hz" -v m="$minutes" \
        'BEGIN { printf "%.3f", p / hz / m }')
    STEADY_ALL=$(awk -v p=$((p1 - p0 + s1 - s0 + x1 - x0)) -v hz="$hz" -v m="$minutes" \
        'BEGIN { printf "%.3f", p / hz / m }')
    START_DECODER=$(awk -v p="$d0" -v hz="$hz" 'BEGIN { printf "%.2f", p / hz }')
    STEADY_DECODER=$(awk -v p=$((d1 - d0)) -v hz="$hz" -v m="$minutes" \
        'BEGIN { printf "%.3f", p / hz / m }')
}

bench_cpu() {
    local i
    declare -A start steady all
    write_settings
    say "(d) CPU of the start and of $SECONDS_D s after it, $RUNS_D runs each"
    for ((i = 0; i < RUNS_D; i++)); do
        configure_saver
        if cpu_run "$SAVER_CAPTION" picture "$SCR" /s; then
            start[ours]+=" $START_CPU"
            steady[ours]+=" $STEADY_CPU"
            all[ours]+=" $STEADY_ALL"
            start[decoder]+=" $START_DECODER"
            steady[decoder]+=" $STEADY_DECODER"
        else
            note "(d) a run of ours failed"
        fi
        if cpu_run "$SAVER_CAPTION" display-off "$SCR" /s; then
            steady[off]+=" $STEADY_CPU"
            all[off]+=" $STEADY_ALL"
        else
            note "(d) a run of ours with the display off failed"
        fi
        if cpu_run "$IDLE_CAPTION" window "$BIN/bench_yardstick_window.exe" timers; then
            start[base]+=" $START_CPU"
            steady[base]+=" $STEADY_CPU"
            all[base]+=" $STEADY_ALL"
        else
            note "(d) a yardstick run failed"
        fi
        say "(d) run $((i + 1)) done"
    done
    if [ -z "${start[ours]:-}" ] || [ -z "${start[base]:-}" ]; then
        row "(d) CPU" failed - -
        return
    fi
    local so sb to tb ao ab
    # shellcheck disable=SC2086
    {
        so=$(median ${start[ours]})
        sb=$(median ${start[base]})
        to=$(median ${steady[ours]})
        tb=$(median ${steady[base]})
        ao=$(median ${all[ours]})
        ab=$(median ${all[base]})
    }
    row "(d) CPU of the start, to the first picture" "$(fmt "$so" '%.2f s')" \
        "$(fmt "$sb" '%.2f s')" "$(ratio "$so" "$sb")"
    local sd
    # shellcheck disable=SC2086
    sd=$(median ${start[decoder]:-})
    row "(d) CPU of the start, of it the decoder's" "$(fmt "$sd" '%.2f s')" "$(fmt "$so" '%.2f s')" \
        "$(ratio "$sd" "$so")"
    row "(d) CPU a minute after it, program" "$(fmt "$to" '%.3f s') $(percent_of_minute "$to")" \
        "$(fmt "$tb" '%.3f s') $(percent_of_minute "$tb")" "$(ratio "$to" "$tb")"
    row "(d) CPU a minute, + wineserver + Xvfb" "$(fmt "$ao" '%.3f s') $(percent_of_minute "$ao")" \
        "$(fmt "$ab" '%.3f s') $(percent_of_minute "$ab")" "$(ratio "$ao" "$ab")"
    if [ -n "${steady[off]:-}" ]; then
        local oo oa
        # shellcheck disable=SC2086
        oo=$(median ${steady[off]})
        # shellcheck disable=SC2086
        oa=$(median ${all[off]})
        row "(d) CPU a minute, display off, program" "$(fmt "$oo" '%.3f s') $(percent_of_minute "$oo")" \
            "$(fmt "$tb" '%.3f s') $(percent_of_minute "$tb")" "$(ratio "$oo" "$tb")"
        row "(d) CPU a minute, display off, + server" "$(fmt "$oa" '%.3f s') $(percent_of_minute "$oa")" \
            "$(fmt "$ab" '%.3f s') $(percent_of_minute "$ab")" "$(ratio "$oa" "$ab")"
        note "(d) display off, each run: ours${steady[off]} s/min"
    fi
    note "(d) start, each run: ours${start[ours]} s; yardstick (to its window)${start[base]} s"
    note "(d) of ours, the decoder's: start${start[decoder]:-} s; steady${steady[decoder]:-} s/min"
    note "(d) steady, each run: ours${steady[ours]} s/min; yardstick${steady[base]} s/min"
    note "(d) the show changes its one 12 MP picture every 5 s: later changes find the same" \
        "unchanged file and keep the picture they have"
}

# A folder of tiny files with picture names, made once and kept.
make_picture_names() {
    local folder=$1 count=$2 i
    if [ -d "$folder" ] && [ "$(find "$folder" -maxdepth 1 -type f | wc -l)" -eq "$count" ]; then
        return 0
    fi
    say "making $folder ($count files)"
    rm -rf "$folder"
    mkdir -p "$folder"
    local kinds=(jpg JPG jpeg gif bmp ico wmf emf)
    for ((i = 0; i < count; i++)); do
        : >"$folder/IMG_$i.${kinds[i % ${#kinds[@]}]}"
    done
}

# Milliseconds from a start until the window with `caption` is on the screen; it is then ended
# with `key`. START_MS is left empty when it did not appear.
start_run() {
    local caption=$1 key=$2 start
    shift 2
    START_MS=
    start=$(now_us)
    start_program "$@"
    if wait_visible "$caption" "$PROGRAM_PID" 300; then
        START_MS=$(awk -v d=$(($(now_us) - start)) 'BEGIN { printf "%.0f", d / 1000 }')
    fi
    xdotool key "$key"
    key_to_exit "$PROGRAM_PID" >/dev/null || true
}

# Milliseconds from a slide-show start until its window is on the screen (START_MS) and until
# its decoder process is running (DECODER_MS); either empty when it did not come.
decoder_run() {
    local start i
    START_MS='' DECODER_MS=''
    start=$(now_us)
    start_program "$SCR" /s
    for ((i = 0; i < 3000 && (${#START_MS} == 0 || ${#DECODER_MS} == 0); i++)); do
        [ -z "$START_MS" ] && xdotool search --onlyvisible --name "^$SAVER_CAPTION\$" >/dev/null 2>&1 &&
            START_MS=$(awk -v d=$(($(now_us) - start)) 'BEGIN { printf "%.0f", d / 1000 }')
        [ -z "$DECODER_MS" ] && [ -n "$(decoder_pids "$PROGRAM_PID")" ] &&
            DECODER_MS=$(awk -v d=$(($(now_us) - start)) 'BEGIN { printf "%.0f", d / 1000 }')
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.005
    done
    xdotool key space
    key_to_exit "$PROGRAM_PID" >/dev/null || true
}

START_COUNTS=(10 30000 100000)

bench_start() {
    local count mode i caption key
    declare -A took
    for count in "${START_COUNTS[@]}"; do
        make_picture_names "$WORK/names-$count" "$count"
    done
    say "(h) start to window, $RUNS_H runs of each start and folder"
    for ((i = 0; i < RUNS_H; i++)); do
        for count in "${START_COUNTS[@]}"; do
            write_settings "$WORK/names-$count"
            for mode in /s /c; do
                configure_saver
                caption=$SAVER_CAPTION key=space
                [ $mode = /c ] && caption=$OPTIONS_CAPTION key=Escape
                start_run "$caption" "$key" "$SCR" "$mode"
                if [ -n "$START_MS" ]; then
                    took[$mode$count]+=" $START_MS"
                else
                    note "(h) $mode over $count pictures: the window did not appear"
                fi
            done
        done
    done
    # The decoder starts with the first picture, after the window: over one real picture.
    write_settings "$WORK/one" 1
    for ((i = 0; i < RUNS_H; i++)); do
        configure_saver
        decoder_run
        [ -n "$START_MS" ] && took[window]+=" $START_MS"
        [ -n "$DECODER_MS" ] && took[decoder]+=" $DECODER_MS"
    done
    local base m
    # shellcheck disable=SC2086
    row "(h) /s to its decoder running, vs to window" "$(fmt "$(median ${took[decoder]:-})" '%.0f ms')" \
        "$(fmt "$(median ${took[window]:-})" '%.0f ms')" \
        "$(ratio "$(median ${took[decoder]:-})" "$(median ${took[window]:-})")"
    note "(h) /s over one 12 MP picture shown for 1 s, each run: window${took[window]:-} ms," \
        "decoder running${took[decoder]:-} ms"
    for mode in /s /c; do
        # shellcheck disable=SC2086
        base=$(median ${took[${mode}10]:-})
        for count in "${START_COUNTS[@]:1}"; do
            # shellcheck disable=SC2086
            m=$(median ${took[$mode$count]:-})
            row "(h) $mode to window, $count vs 10 pictures" "$(fmt "$m" '%.0f ms')" \
                "$(fmt "$base" '%.0f ms')" "$(ratio "$m" "$base")"
        done
        for count in "${START_COUNTS[@]}"; do
            note "(h) $mode, $count pictures, each run:${took[$mode$count]:-} ms"
        done
    done
}
