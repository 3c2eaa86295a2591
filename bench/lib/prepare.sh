# The preparation, sourced by bench/run: the build, the pictures and folders made once and
# kept, the display and the Wine server.
# shellcheck shell=bash

build() {
    say "building"
    cmake --preset windows >/dev/null &&
        cmake --build --preset windows --target Glimra bench_picture bench_list bench_show \
            bench_yardstick_window >/dev/null &&
        cmake --preset bench-host >/dev/null &&
        cmake --build --preset bench-host --target bench_file_list >/dev/null
}

# A photo-like JPEG: a plasma fractal with grain, at quality 90. Made once and kept.
make_picture() {
    local file=$1 size=$2
    if [ -f "$file" ] && [ "$(identify -format '%wx%h' "$file" 2>/dev/null)" = "$size" ]; then
        return 0
    fi
    say "making $file ($size)"
    mkdir -p "$(dirname "$file")"
    convert -seed 7 -size "$size" plasma:fractal -attenuate 0.3 +noise Gaussian -quality 90 \
        "$file.tmp.jpg" && mv "$file.tmp.jpg" "$file"
}

# A folder of tiny files: four in five have picture names, in either case, the rest not.
make_list_folder() {
    local folder=$1
    if [ -d "$folder" ] && [ "$(find "$folder" -maxdepth 1 -type f | wc -l)" -eq "$LIST_FILES" ]; then
        return 0
    fi
    say "making $folder ($LIST_FILES files)"
    rm -rf "$folder"
    mkdir -p "$folder"
    local names=(jpg jpg jpg JPG jpeg gif bmp ico wmf emf gif jpg png txt db) i
    for ((i = 0; i < LIST_FILES; i++)); do
        printf 'x' >"$folder/picture $i.${names[i % ${#names[@]}]}"
    done
}

prepare() {
    build || { say "the build failed"; exit 1; }
    if ! make_picture "$WORK/pictures/2mp.jpg" 1632x1224 ||
        ! make_picture "$WORK/pictures/12mp.jpg" 4000x3000 ||
        ! make_picture "$WORK/pictures/24mp.jpg" 6000x4000; then
        say "the pictures could not be made"
        exit 1
    fi
    mkdir -p "$WORK/one"
    cmp -s "$WORK/pictures/12mp.jpg" "$WORK/one/12mp.jpg" || cp "$WORK/pictures/12mp.jpg" "$WORK/one/"
    if wants f || wants g; then
        make_picture "$WORK/pictures/0.3mp.jpg" 640x480 || exit 1
        local size i
        # Three copies under three names: each change reads and decodes its file afresh.
        for size in 24 0.3; do
            mkdir -p "$WORK/show-${size}mp"
            for i in 1 2 3; do
                cmp -s "$WORK/pictures/${size}mp.jpg" "$WORK/show-${size}mp/$i.jpg" ||
                    cp "$WORK/pictures/${size}mp.jpg" "$WORK/show-${size}mp/$i.jpg"
            done
        done
    fi
    wants c && make_list_folder "$WORK/list-$LIST_FILES"

    glimra_wine_env "$PREFIX"
    glimra_wine_prefix
    GLIMRA_OWN_XVFB=1 glimra_xvfb 1920x1080x24 || exit 1
    local screen
    screen=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
    [ "$screen" = 1920x1080 ] || { say "the display is $screen, not 1920x1080"; exit 1; }
    # One server for all the runs, started before any is timed, and kept in the foreground so
    # that it is this script's own child.
    wineserver -f -p >/dev/null 2>&1 &
    # shellcheck disable=SC2034 # cleanup waits for it
    SERVER_PID=$!
    local i
    for ((i = 0; i < 50; i++)); do
        [ -n "$(server_pid)" ] && break
        sleep 0.1
    done
    # The prefix's services start here, not in a timed run.
    wine "$BIN/bench_list.exe" "$(winpath "$WORK/one")" 1 >/dev/null 2>&1
}
