# A key to end the program, sourced by bench/run: (e) the slide show against the yardstick
# window, (f) while it changes 24 MP pictures against 0.3 MP ones.
# shellcheck shell=bash

# --- (e) a key to end the slide show against one to end the yardstick window

# One run of (e): ELAPSED_MS is left with the milliseconds from the key to the process's end.
key_run() {
    local caption=$1
    shift
    ELAPSED_MS=
    start_program "$@"
    if ! wait_visible "$caption" "$PROGRAM_PID"; then
        key_to_exit "$PROGRAM_PID"
        ELAPSED_MS="did not appear"
        return 1
    fi
    # 2 s and a random part of the slide show's 200 ms input period: a fixed wait would press
    # the key at much the same point of that period every time.
    pause_for "2.$(printf '%03d' $((RANDOM % 200)))"
    key_to_exit "$PROGRAM_PID"
}

bench_key() {
    local i ours=() base=()
    write_settings
    say "(e) key to exit, $RUNS_E presses each"
    for ((i = 0; i < RUNS_E; i++)); do
        configure_saver
        if key_run "$SAVER_CAPTION" "$SCR" /s; then
            ours+=("$ELAPSED_MS")
        else
            note "(e) a run of ours failed: $ELAPSED_MS"
        fi
        if key_run "$QUIT_CAPTION" "$BIN/bench_yardstick_window.exe"; then
            base+=("$ELAPSED_MS")
        else
            note "(e) a yardstick run failed: $ELAPSED_MS"
        fi
    done
    if [ ${#ours[@]} -eq 0 ] || [ ${#base[@]} -eq 0 ]; then
        row "(e) key press to process end" failed - -
        return
    fi
    local mo mb
    mo=$(median "${ours[@]}")
    mb=$(median "${base[@]}")
    row "(e) key press to process end" "$(fmt "$mo" '%.0f ms')" "$(fmt "$mb" '%.0f ms')" \
        "$(ratio "$mo" "$mb")"
    note "(e) ours, each press: ${ours[*]} ms"
    note "(e) yardstick, each press: ${base[*]} ms"
    note "(e) the slide show looks at input every 200 ms, so about 100 ms more than the" \
        "yardstick is expected on average (0 to 200 ms)"
}

# --- (f) a key while the show changes 24 MP pictures every second, against 0.3 MP ones

bench_key_changing() {
    local i size
    declare -A presses
    say "(f) key to exit while changing pictures every second, $RUNS_F presses for each size"
    for ((i = 0; i < RUNS_F; i++)); do
        for size in 24 0.3; do
            write_settings "$WORK/show-${size}mp" 1
            configure_saver
            start_program "$SCR" /s
            if ! wait_visible "$SAVER_CAPTION" "$PROGRAM_PID"; then
                key_to_exit "$PROGRAM_PID"
                note "(f) $size MP: the slide show did not appear"
                continue
            fi
            # 2 s and a random part of a second: the key falls anywhere in a change's cycle,
            # most often while the next 24 MP picture is being decoded.
            pause_for "2.$(printf '%03d' $((RANDOM % 1000)))"
            if key_to_exit "$PROGRAM_PID"; then
                presses[$size]+=" $ELAPSED_MS"
            else
                note "(f) $size MP: a press did not end it: $ELAPSED_MS"
            fi
        done
    done
    # shellcheck disable=SC2086
    if [ -z "${presses[24]:-}" ] || [ -z "${presses[0.3]:-}" ]; then
        row "(f) key to end, changing each second, p95" failed - -
        return
    fi
    local big small
    # shellcheck disable=SC2086
    {
        big=$(p95 ${presses[24]})
        small=$(p95 ${presses[0.3]})
    }
    row "(f) key to end, 24 MP vs 0.3 MP each 1 s, p95" "$(fmt "$big" '%.0f ms')" \
        "$(fmt "$small" '%.0f ms')" "$(ratio "$big" "$small")"
    # shellcheck disable=SC2086
    note "(f) medians: 24 MP $(median ${presses[24]}) ms, 0.3 MP $(median ${presses[0.3]}) ms"
    note "(f) 24 MP, each press:${presses[24]} ms"
    note "(f) 0.3 MP, each press:${presses[0.3]} ms"
}
