# Helpers of the end-to-end tests: the registry of the test prefix, the real program, its
# windows, screenshots and pixels. Sourced by tests/e2e/run after scripts/lib/common.sh.

SCR="$GLIMRA_ROOT/build/windows/Glimra.scr"
DRIVER="$GLIMRA_ROOT/build/windows/e2e_driver.exe"
SAVER="Glimra ScreenSaver"
DIALOG="Glimra ScreenSaver Options"
E2E_OUT="$GLIMRA_ROOT/build/e2e"
mkdir -p "$E2E_OUT"

# The program's settings, read and written as exact UTF-16 text by the driver.
reg_reset() { wine "$DRIVER" reset >/dev/null 2>&1; }
reg_set() { wine "$DRIVER" set "$1" "$2" >/dev/null 2>&1; }
reg_get() { wine "$DRIVER" get "$1" 2>/dev/null | tr -d '\r'; }

configure() {
  reg_set Path "$1"
  reg_set Initialized True
}

# Starts the program in the background; its process id is left in SCR_PID.
start_scr() {
  wine "$SCR" "$@" >/dev/null 2>"$E2E_OUT/program-stderr.txt" &
  SCR_PID=$!
}

# What a start that brought no window left behind: whether the program still runs or how it
# ended, what the last look at its window saw, and what Wine printed for it.
say_why_no_window() {
  local status=running
  if ! kill -0 "$SCR_PID" 2>/dev/null; then
    wait "$SCR_PID" 2>/dev/null
    status="ended with $?"
  fi
  echo "    the program: $status; its window $WAITED; the dialog: $(window_state "$DIALOG")"
  echo "    stored: Path [$(reg_get Path)] Initialized [$(reg_get Initialized)]"
  sed 's/^/    wine: /' "$E2E_OUT/program-stderr.txt" | tail -5
}

# The processes pgrep finds with the given arguments that are this run's: every process of a
# Wine prefix has the prefix in its environment, and one of another prefix is another run's.
own_pids() {
  local pid
  for pid in $(pgrep "$@"); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      echo "$pid"
  done
}

# The program's processes other than the one the test started: its decoders.
decoder_pids() { own_pids -f 'Glimra\.scr' | grep -vx "${SCR_PID:-0}"; }

# True when the process ends within the given milliseconds.
ends_within_ms() {
  local pid=$1 limit=$2 start
  start=$(date +%s%3N)
  while kill -0 "$pid" 2>/dev/null; do
    [ $(($(date +%s%3N) - start)) -ge "$limit" ] && return 1
    sleep 0.02
  done
  wait "$pid" 2>/dev/null
  return 0
}

# The window's state as the driver reports it: "visible l t r b w h topmost|normal",
# "hidden ..." or "absent".
window_state() { wine "$DRIVER" window "$1" 2>/dev/null | tr -d '\r'; }

# Waits up to the given seconds for the window to be visible.
wait_visible() {
  local caption=$1 limit=${2:-10}
  WAITED=$(wine "$DRIVER" wait-visible "$caption" $((limit * 1000)) 2>/dev/null | tr -d '\r')
  [[ $WAITED == *": visible"* ]]
}

close_window() { wine "$DRIVER" close "$1" >/dev/null 2>&1; }

# Ends whatever the test left running.
cleanup_program() {
  if [ -n "${SCR_PID:-}" ] && kill -0 "$SCR_PID" 2>/dev/null; then
    kill "$SCR_PID" 2>/dev/null
    wait "$SCR_PID" 2>/dev/null
  fi
  SCR_PID=
}

shot() { import -window root "$E2E_OUT/$1.png"; }

# The colour of one pixel of a screenshot as "r,g,b".
pixel() {
  convert "$E2E_OUT/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

# --- assertions: each prints what differed and fails the test

expect_eq() {
  if [ "$1" != "$2" ]; then
    echo "    expected [$2], got [$1]${3:+ ($3)}"
    return 1
  fi
}

expect_match() {
  if ! [[ $1 =~ $2 ]]; then
    echo "    expected to match [$2], got [$1]${3:+ ($3)}"
    return 1
  fi
}

# --- the runner

E2E_PASSED=0
E2E_FAILED=()

run_test() {
  local name=$1
  reg_reset
  if "$name"; then
    echo "  pass  $name"
    E2E_PASSED=$((E2E_PASSED + 1))
  else
    echo "  FAIL  $name"
    E2E_FAILED+=("$name")
  fi
  cleanup_program
}

e2e_summary() {
  echo "end-to-end: $E2E_PASSED passed, ${#E2E_FAILED[@]} failed"
  [ ${#E2E_FAILED[@]} -eq 0 ]
}

# A fresh folder of test pictures under build/e2e, left in PICTURES, stored as the configured
# folder.
configure_pictures() {
  PICTURES="$E2E_OUT/$1"
  rm -rf "$PICTURES"
  mkdir -p "$PICTURES"
  local windows_path
  windows_path=$(winepath -w "$PICTURES" 2>/dev/null | tr -d '\r')
  [ -n "$windows_path" ] || echo "    winepath gave no Windows path for $PICTURES"
  configure "$windows_path"
}

# The largest red, green or blue value in a region "WxH+X+Y" of a screenshot, 0 to 255:
# 0 means the region is black.
brightest() {
  convert "$E2E_OUT/$1.png" -crop "$2" +repage -format "%[fx:int(255*maxima)]" info:
}

# The number of pure red pixels (the dialog's hints, a highlighted link) in a region "WxH+X+Y"
# of a screenshot.
red_pixels() {
  convert "$E2E_OUT/$1.png" -crop "$2" +repage -fx 'r>0.8 && g<0.3 && b<0.3 ? 1 : 0' \
    -format '%[fx:int(mean*w*h)]' info:
}

# Starts the configured slide show and waits for its window.
start_slide_show() {
  start_scr /s
  wait_visible "$SAVER" 10 || { echo "    no slide show"; say_why_no_window; return 1; }
}

# Sends real X input and measures how long the program takes to end, in milliseconds; prints
# "none" when it has not ended after two seconds.
end_by() {
  local start
  start=$(date +%s%3N)
  xdotool "$@"
  if ends_within_ms "$SCR_PID" 2000; then
    echo $(($(date +%s%3N) - start))
  else
    echo none
  fi
}

# Runs the command until it succeeds, for up to the given seconds; fails when it never does.
wait_until() {
  local limit=$1 start
  shift
  start=$(date +%s%3N)
  until "$@"; do
    [ $(($(date +%s%3N) - start)) -ge $((limit * 1000)) ] && return 1
    sleep 0.1
  done
}

# Takes screenshots until the pixel has the colour "r,g,b", for up to the given seconds.
wait_pixel() {
  local name=$1 x=$2 y=$3 colour=$4 limit=${5:-10}
  for _ in $(seq $((limit * 4))); do
    shot "$name"
    [ "$(pixel "$name" "$x" "$y")" = "$colour" ] && return 0
    sleep 0.25
  done
  echo "    pixel $x,$y never became $colour"
  return 1
}

# Web pages open, until forget_opened_pages, with a command that notes what it was given (the
# prefix has no association of its own for them).
note_opened_pages() {
  wine reg add 'HKCR\.htm' /ve /d GlimraTestPage /f >/dev/null 2>&1
  wine reg add 'HKCR\GlimraTestPage\shell\open\command' /ve \
    /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened-page.txt' /f >/dev/null 2>&1
  rm -f "$WINEPREFIX/drive_c/opened-page.txt"
}

forget_opened_pages() {
  wine reg delete 'HKCR\.htm' /f >/dev/null 2>&1
  wine reg delete 'HKCR\GlimraTestPage' /f >/dev/null 2>&1
}

# Waits up to five seconds for a page to be opened and prints what was opened.
opened_page() {
  local marker="$WINEPREFIX/drive_c/opened-page.txt"
  wait_until 15 test -s "$marker"
  tr -d '\r' <"$marker" 2>/dev/null
}
