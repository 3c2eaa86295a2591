# The program's parts in a process of their own, sourced by bench/run: (a) a change of
# picture, (b) its peak memory, (c) a folder's picture list, (g) how late a picture appears
# after its tick, under Wine; (i) the file list's reading, on this machine.
# shellcheck shell=bash

# --- (a) one change of picture against the bare decode

bench_change() {
    local label file size out ours bare
    for size in 2 12 24; do
        file=$(winpath "$WORK/pictures/${size}mp.jpg")
        say "(a) change of a $size MP picture, $RUNS_A runs"
        out=$(wine "$BIN/bench_picture.exe" time "$file" "$RUNS_A" 2>&1 | tr -d '\r')
        ours=$(field "$out" ours_ms)
        bare=$(field "$out" bare_ms)
        if [ -z "$ours" ]; then
            row "(a) change $size MP JPEG @1920x1080" failed - -
            note "(a) $size MP: $out"
            continue
        fi
        label="(a) change $size MP JPEG @1920x1080"
        row "$label" "$(fmt "$ours" '%.1f ms')" "$(fmt "$bare" '%.1f ms')" "$(ratio "$ours" "$bare")"
        note "(a) $size MP: $(head -1 <<<"$out" | sed 's/^picture //'); ours is load" \
            "$(fmt "$(field "$out" load_ms)" '%.1f') ms + draw $(fmt "$(field "$out" draw_ms)" '%.1f')" \
            "ms; our reduction alone takes $(fmt "$(field "$out" scale_ms)" '%.1f') ms of the load;" \
            "converting its kept pixels from an embedded profile would add" \
            "$(fmt "$(field "$out" convert_ms)" '%.1f') ms;" \
            "the decoder's start, once a show, $(fmt "$(field "$out" decoder_start_ms)" '%.1f') ms more"
    done
}

# --- (b) peak memory while showing the 24 MP picture against the bare decode's; ours is the
# program's and its decoder's together (the two sections they share counted in each)

bench_peak() {
    local file side out i
    file=$(winpath "$WORK/pictures/24mp.jpg")
    declare -A ws pf idle_ws idle_pf
    local decoder_ws=
    say "(b) peak memory, 24 MP, $RUNS_B processes each"
    for ((i = 0; i < RUNS_B; i++)); do
        for side in ours bare; do
            out=$(wine "$BIN/bench_picture.exe" peak "$side" "$file" 2>&1 | tr -d '\r')
            [ -n "$(field "$out" peak_ws)" ] || { note "(b) $side: $out"; continue; }
            ws[$side]+=" $(($(field "$out" peak_ws) + $(field "$out" decoder_ws)))"
            pf[$side]+=" $(($(field "$out" peak_pf) + $(field "$out" decoder_pf)))"
            [ "$side" = ours ] && decoder_ws+=" $(field "$out" decoder_ws)"
            idle_ws[$side]+=" $(field "$out" idle_ws)"
            idle_pf[$side]+=" $(field "$out" idle_pf)"
        done
    done
    local -A m
    for side in ours bare; do
        # shellcheck disable=SC2086
        {
            m[ws_$side]=$(median ${ws[$side]:-})
            m[pf_$side]=$(median ${pf[$side]:-})
            m[iws_$side]=$(median ${idle_ws[$side]:-})
            m[ipf_$side]=$(median ${idle_pf[$side]:-})
        }
        m[nws_$side]=$(awk -v a="${m[ws_$side]}" -v b="${m[iws_$side]}" 'BEGIN { print a - b }')
        m[npf_$side]=$(awk -v a="${m[pf_$side]}" -v b="${m[ipf_$side]}" 'BEGIN { print a - b }')
    done
    row "(b) peak working set 24 MP, raw" "$(mib "${m[ws_ours]}")" "$(mib "${m[ws_bare]}")" \
        "$(ratio "${m[ws_ours]}" "${m[ws_bare]}")"
    row "(b) peak working set 24 MP, net of idle" "$(mib "${m[nws_ours]}")" \
        "$(mib "${m[nws_bare]}")" "$(ratio "${m[nws_ours]}" "${m[nws_bare]}")"
    row "(b) peak pagefile usage 24 MP, raw" "$(mib "${m[pf_ours]}")" "$(mib "${m[pf_bare]}")" \
        "$(ratio "${m[pf_ours]}" "${m[pf_bare]}")"
    row "(b) peak pagefile usage 24 MP, net of idle" "$(mib "${m[npf_ours]}")" \
        "$(mib "${m[npf_bare]}")" "$(ratio "${m[npf_ours]}" "${m[npf_bare]}")"
    # shellcheck disable=SC2086
    note "(b) of ours, the decoder's peak working set: $(mib "$(median $decoder_ws)")"
    note "(b) idle at start: working set $(mib "${m[iws_ours]}") / $(mib "${m[iws_bare]}")," \
        "pagefile $(mib "${m[ipf_ours]}") / $(mib "${m[ipf_bare]}") (ours / bare)"
}

# --- (c) the picture list of a folder of 30,000 files against a bare enumeration

bench_list() {
    local out ours bare
    say "(c) listing $LIST_FILES files, $RUNS_C runs"
    out=$(wine "$BIN/bench_list.exe" "$(winpath "$WORK/list-$LIST_FILES")" "$RUNS_C" 2>&1 |
        tr -d '\r')
    ours=$(field "$out" ours_ms)
    bare=$(field "$out" bare_ms)
    if [ -z "$ours" ]; then
        row "(c) BuildImageList, $LIST_FILES files" failed - -
        note "(c) $out"
        return
    fi
    row "(c) BuildImageList, $LIST_FILES files" "$(fmt "$ours" '%.1f ms')" \
        "$(fmt "$bare" '%.1f ms')" "$(ratio "$ours" "$bare")"
    note "(c) ours listed $(field "$out" listed) pictures; the bare loop counted" \
        "$(field "$out" names) names (with . and ..)"
}

# --- (g) how late a 24 MP picture appears after its tick, against a 0.3 MP one

bench_late() {
    local size way out
    declare -A late worst
    say "(g) picture after its tick, $CHANGES_G changes for each size and way"
    for way in ahead tick; do
        for size in 24 0.3; do
            out=$(wine "$BIN/bench_show.exe" "$way" "$(winpath "$WORK/show-${size}mp")" \
                "$CHANGES_G" 3000 2>&1 | tr -d '\r')
            late[$way$size]=$(field "$out" late_ms)
            worst[$way$size]=$(field "$out" max_ms)
            [ -n "${late[$way$size]}" ] || note "(g) $way $size MP: $out"
        done
    done
    if [ -z "${late[ahead24]}" ] || [ -z "${late[ahead0.3]}" ]; then
        row "(g) picture after its tick, 24 MP vs 0.3 MP" failed - -
        return
    fi
    row "(g) picture after its tick, 24 MP vs 0.3 MP" "$(fmt "${late[ahead24]}" '%.1f ms')" \
        "$(fmt "${late[ahead0.3]}" '%.1f ms')" "$(ratio "${late[ahead24]}" "${late[ahead0.3]}")"
    note "(g) prepared ahead (the program): median / largest 24 MP ${late[ahead24]} /" \
        "${worst[ahead24]} ms, 0.3 MP ${late[ahead0.3]} / ${worst[ahead0.3]} ms"
    note "(g) read inside the tick instead: median / largest 24 MP ${late[tick24]:-?} /" \
        "${worst[tick24]:-?} ms, 0.3 MP ${late[tick0.3]:-?} / ${worst[tick0.3]:-?} ms"
}

# --- (i) the file list's reading of a folder against a bare sort of its names, on this machine

bench_file_list() {
    local out count
    say "(i) the file list's reading, $RUNS_I runs"
    out=$("$HOST_BIN/bench_file_list" "$RUNS_I" 1000 30000 100000)
    for count in 1000 30000 100000; do
        local line
        line=$(grep "^count $count " <<<"$out")
        if [ -z "$line" ]; then
            row "(i) file list of $count names (host)" failed - -
            continue
        fi
        row "(i) file list of $count names (host)" "$(fmt "$(field "$line" ours_ms)" '%.1f ms')" \
            "$(fmt "$(field "$line" bare_ms)" '%.1f ms')" \
            "$(ratio "$(field "$line" ours_ms)" "$(field "$line" bare_ms)")"
    done
    note "(i) ours: the seven patterns' names (matched once, outside the timing) sorted with" \
        "letter case ignored and repeats dropped; the yardstick: std::sort of the same names"
}
