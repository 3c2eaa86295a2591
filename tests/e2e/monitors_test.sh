# The monitors as the show meets them, each bed an Xephyr inside an Xvfb of its own, with the
# classic stippled root so that an uncovered desktop is not black, and a Wine prefix of its
# own, so the other tests' prefix is left as it is.
#
# Two monitors side by side: the slide show on the primary one, the other covered in black
# while it runs, and input over the cover counted as over the window. Xephyr makes the two
# Xinerama heads (0,0-1024,768 and 1024,0-1824,600); Wine reads them without XRandR.
#
# A display changed while the show runs: one head, which Wine drives through XRandR, so that
# a change of resolution made the way the system's display settings make it reaches the X
# server and every window hears of it. Xinerama heads are fixed when the server starts, and a
# change made from the X side (xrandr, a resized Xephyr window) updates Wine's monitors but
# tells no window, so adding and removing monitors is tested in the Win32 tests only.

TWO_MONITORS_PREFIX="$GLIMRA_ROOT/build/wine-two-monitors"
ONE_MONITOR_PREFIX="$GLIMRA_ROOT/build/wine-one-monitor"

free_display() {
  local number=$1
  while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
  done
  echo "$number"
}

wait_display() {
  for _ in $(seq 50); do
    DISPLAY=$1 xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "    display $1 did not start"
  return 1
}

# Runs the command after the first four arguments with Wine in the prefix $1, XRandR used
# or not ($2, Y or N), on an Xephyr of the screens $4 inside an Xvfb of the size $3; then
# puts the usual display and prefix back.
on_nested_display() {
  local prefix=$1 xrandr=$2 host_size=$3 screens=$4
  shift 4
  local saved_display=$DISPLAY host guest host_pid guest_pid result=1
  host=$(free_display 150)
  Xvfb ":$host" -screen 0 "${host_size}x24" -nolisten tcp >/dev/null 2>&1 &
  host_pid=$!
  if wait_display ":$host"; then
    guest=$(free_display $((host + 1)))
    # shellcheck disable=SC2086  # the screens are several arguments
    DISPLAY=":$host" Xephyr ":$guest" -retro $screens -nolisten tcp >/dev/null 2>&1 &
    guest_pid=$!
    if wait_display ":$guest"; then
      export DISPLAY=":$guest"
      glimra_wine_env "$prefix"
      glimra_wine_prefix
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d "$xrandr" /f \
        >/dev/null 2>&1
      wineserver -k 2>/dev/null  # the desktop process reads the monitors once, at its start
      reg_reset
      "$@" && result=0
      cleanup_program
      wineserver -k 2>/dev/null
    fi
    kill "$guest_pid" 2>/dev/null
    wait "$guest_pid" 2>/dev/null
  fi
  kill "$host_pid" 2>/dev/null
  wait "$host_pid" 2>/dev/null
  export DISPLAY=$saved_display
  glimra_wine_env
  return $result
}

on_two_monitors() {
  on_nested_display "$TWO_MONITORS_PREFIX" N 1824x768 \
    "-screen 1024x768 -screen 800x600 +xinerama" "$@"
}

# One monitor of 1024 x 768 whose resolution can change up to 1600 x 1200.
on_one_monitor() {
  on_nested_display "$ONE_MONITOR_PREFIX" Y 1600x1200 "-screen 1024x768" "$@"
}

# Starts the slide show of one red picture and waits until it is on the primary monitor.
start_on_primary() {
  start_slide_show || return 1
  wait_pixel "$1" 512 384 255,0,0 5
}

two_monitors_covered() {
  expect_eq "$(wine "$DRIVER" monitors 2>/dev/null | tr -d '\r' | tr '\n' ';')" \
    "0 0 1024 768;1024 0 1824 600;" "the test bed's monitors" || return 1
  configure_pictures two-monitors
  convert -size 640x480 xc:'rgb(255,0,0)' "BMP3:$PICTURES/red.bmp"
  reg_set SecondsToDisplay 1
  shot two-monitors-desktop
  expect_eq "$(brightest two-monitors-desktop 800x600+1024+0)" 255 "desktop before" || return 1

  start_on_primary two-monitors || return 1
  expect_match "$(window_state "$SAVER")" '^visible 0 0 1024 768 1024 768 topmost$' \
    "the slide-show window on the primary monitor" || return 1
  expect_eq "$(wine "$DRIVER" covers 2>/dev/null | tr -d '\r')" "1024 0 1824 600 topmost" \
    "one topmost cover over the second monitor" || return 1
  shot two-monitors
  expect_eq "$(brightest two-monitors 800x600+1024+0)" 0 "the second monitor is black" ||
    return 1
  expect_eq "$(pixel two-monitors 512 384)" 255,0,0 "the picture on the first" || return 1

  # Input over the cover counts as over the window: five movements do not end the show, six
  # do, and so do a click and a key.
  wine "$DRIVER" cover-input mmmmm
  sleep 0.6
  kill -0 "$SCR_PID" 2>/dev/null || { echo "    five movements ended the show"; return 1; }
  local events
  for events in mmmmmm c k; do
    if ! kill -0 "$SCR_PID" 2>/dev/null; then start_on_primary two-monitors || return 1; fi
    wine "$DRIVER" cover-input "$events"
    ends_within_ms "$SCR_PID" 2000 || { echo "    input $events over the cover did not end it"; return 1; }
  done
  shot two-monitors-after
  expect_eq "$(brightest two-monitors-after 800x600+1024+0)" 255 "released at the end" || return 1
}

test_a_second_monitor_is_covered_and_its_input_counts() {
  on_two_monitors two_monitors_covered
}

# Waits up to the given seconds for the window's state to be the one expected.
wait_window_state() {
  local caption=$1 expected=$2 limit=$3 state
  for _ in $(seq $((limit * 10))); do
    state=$(window_state "$caption")
    [ "$state" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "    expected the window [$expected], got [$state]"
  return 1
}

display_changed() {
  expect_eq "$(wine "$DRIVER" monitors 2>/dev/null | tr -d '\r')" "0 0 1024 768" \
    "the test bed's monitor" || return 1
  configure_pictures display-change
  convert -size 640x480 xc:'rgb(255,0,0)' "BMP3:$PICTURES/red.bmp"
  reg_set SecondsToDisplay 1
  reg_set displayImageNumber 0  # no caption over the picture's corner
  reg_set DisplayImageFileName 0
  start_on_primary display-change || return 1
  # Each change of resolution and where the 640 x 480 picture is then: "left top right
  # bottom", centred, and reduced to fit when the screen is smaller.
  local change size width height left top right bottom
  for change in "800x600 80 60 720 540" "320x240 0 0 320 240" "1280x1024 320 272 960 752"; do
    read -r size left top right bottom <<<"$change"
    width=${size%x*} height=${size#*x}
    wine "$DRIVER" resolution "$width" "$height" >/dev/null 2>&1 ||
      { echo "    the resolution did not change to $size"; return 1; }
    expect_eq "$(wine "$DRIVER" monitors 2>/dev/null | tr -d '\r')" "0 0 $width $height" \
      "the monitor at $size" || return 1
    wait_window_state "$SAVER" "visible 0 0 $width $height $width $height topmost" 5 || return 1
    expect_eq "$(wine "$DRIVER" covers 2>/dev/null)" "" "no cover at $size" || return 1
    wait_pixel "display-change-$size" "$left" "$top" 255,0,0 5 || return 1
    expect_eq "$(pixel "display-change-$size" $((right - 1)) $((bottom - 1)))" 255,0,0 \
      "the picture's last pixel at $size" || return 1
    if [ "$left" -gt 0 ]; then
      expect_eq "$(pixel "display-change-$size" $((left - 1)) $((top - 1)))" 0,0,0 \
        "black before the picture at $size" || return 1
      expect_eq "$(pixel "display-change-$size" "$right" "$bottom")" 0,0,0 \
        "black after the picture at $size" || return 1
    fi
  done
}

test_a_changed_display_refits_the_show() {
  on_one_monitor display_changed
}
