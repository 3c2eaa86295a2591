# The figures of the benchmarks, sourced by bench/run: medians, percentiles and ratios,
# and the table's rows and notes, printed at the end.
# shellcheck shell=bash

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2];
    else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# The 95th percentile, nearest rank: of 20 values the 19th smallest.
p95() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {
    if (NR == 0) print "nan"; else { r = int(0.95 * NR); if (r < 0.95 * NR) r++; print v[r] } }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }
fmt() { awk -v v="$1" -v f="$2" 'BEGIN { printf f, v }'; }
mib() { awk -v v="$1" 'BEGIN { printf "%.1f MiB", v / 1048576 }'; }
# The value after `key` on a line of "key value key value ...".
field() { awk -v k="$2" '{ for (i = 1; i < NF; i++) if ($i == k) { print $(i + 1); exit } }' <<<"$1"; }

ROWS=()
NOTES=()
row() { ROWS+=("$(printf '%-44s %-14s %-14s %s' "$1" "$2" "$3" "$4")"); }
note() { NOTES+=("$*"); }

print_table() {
    echo
    printf '%-44s %-14s %-14s %s\n' benchmark ours baseline ratio
    printf '%s\n' "${ROWS[@]}"
    if [ ${#NOTES[@]} -gt 0 ]; then
        echo
        printf '%s\n' "${NOTES[@]}"
    fi
}
