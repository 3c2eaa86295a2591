# Two monitors side by side: the slide show on the primary one, the other covered in black
# while it runs, and input over the cover counted as over the window. Xephyr makes the two
# Xinerama heads (0,0-1024,768 and 1024,0-1824,600) inside an Xvfb of its own, with the
# classic stippled root so that an uncovered desktop is not black; a Wine prefix of its own
# reads the heads without XRandR, so the other tests' prefix is left as it is.

TWO_MONITORS_PREFIX="$GLIMRA_ROOT/build/wine-two-monitors"

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

# Runs "$@" with Wine on the two monitors, then puts the usual display and prefix back.
on_two_monitors() {
  local saved_display=$DISPLAY host guest host_pid guest_pid result=1
  host=$(free_display 150)
  Xvfb ":$host" -screen 0 1824x768x24 -nolisten tcp >/dev/null 2>&1 &
  host_pid=$!
  if wait_display ":$host"; then
    guest=$(free_display $((host + 1)))
    DISPLAY=":$host" Xephyr ":$guest" -retro -screen 1024x768 -screen 800x600 +xinerama \
      -nolisten tcp >/dev/null 2>&1 &
    guest_pid=$!
    if wait_display ":$guest"; then
      export DISPLAY=":$guest"
      glimra_wine_env "$TWO_MONITORS_PREFIX"
      glimra_wine_prefix
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1
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

# Starts the slide show of one red picture and waits until it is on the primary monitor.
start_on_two_monitors() {
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

  start_on_two_monitors two-monitors || return 1
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
    if ! kill -0 "$SCR_PID" 2>/dev/null; then start_on_two_monitors two-monitors || return 1; fi
    wine "$DRIVER" cover-input "$events"
    ends_within_ms "$SCR_PID" 2000 || { echo "    input $events over the cover did not end it"; return 1; }
  done
  shot two-monitors-after
  expect_eq "$(brightest two-monitors-after 800x600+1024+0)" 255 "released at the end" || return 1
}

test_a_second_monitor_is_covered_and_its_input_counts() {
  on_two_monitors two_monitors_covered
}
