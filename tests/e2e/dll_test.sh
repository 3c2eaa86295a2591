# The DLL search: a DLL of a system's name beside the program, which Wine is told to prefer to
# its own, is never loaded, by the program or its decoder, in the slide show or on any page of
# the dialog. Wine's own user32 imports version.dll, and loads uxtheme.dll with its display
# driver (Windows' does neither): a bare program (the test driver) beside the same DLLs loads
# version.dll, which shows that the planted ones are found. The program loads user32 only after
# its first instruction has set the DLL search to the system folder.

# Every DLL the program and its decoder load under Wine that is not one of the system's known
# DLLs (WINEDEBUG=+loaddll), and those the program once imported.
PLANTED_DLLS=(version mpr oleacc windowscodecs uxtheme dwmapi propsys cryptbase msimg32
  comctl32 win32u zlib1 imm32 shcore setupapi userenv)

# Copies the marking DLL beside a program (the first argument), under each name given after it.
put_markers_beside() {
  local folder=$1 name
  shift
  for name in "$@"; do
    cp "$GLIMRA_ROOT/build/windows/marker.dll" "$folder/$name.dll"
  done
}

# The marks left in a folder, sorted, on one line.
marks_in() { (cd "$1" && ls -- *.loaded 2>/dev/null | paste -sd' '); }

test_no_dll_beside_the_program_is_ever_loaded() {
  local beside="$E2E_OUT/beside" saved=$WINEDLLOVERRIDES
  rm -rf "$beside"
  mkdir -p "$beside/help"
  cp "$SCR" "$beside/Glimra.scr"
  cp "$GLIMRA_ROOT/help/glimrascreensaver.htm" "$beside/help/"
  put_markers_beside "$beside" "${PLANTED_DLLS[@]}"
  local control="$E2E_OUT/beside-control"
  rm -rf "$control"
  mkdir -p "$control"
  cp "$DRIVER" "$control/"
  # Only those a bare program loads and still starts with.
  put_markers_beside "$control" version uxtheme
  configure_pictures beside-pictures
  cp "$GLIMRA_ROOT"/assets/samples/* "$PICTURES/"
  reg_set SecondsToDisplay 1
  export WINEDLLOVERRIDES="$saved;$(IFS=,; echo "${PLANTED_DLLS[*]}")=n,b"
  wine "$control/e2e_driver.exe" window "$SAVER" >/dev/null 2>&1
  wine "$beside/Glimra.scr" /s >/dev/null 2>&1 &
  SCR_PID=$!
  local shown=0 decoders=0
  if wait_visible "$SAVER" 10; then
    # A picture on the screen: the raster decoder has run, in the decoder process, which
    # serves the show from then on.
    picture_on_screen() {
      shot beside-slide-show
      [ "$(brightest beside-slide-show 200x200+412+284)" -gt 0 ]
    }
    wait_until 10 picture_on_screen && shown=1
    wait_until 5 decoder_pids >/dev/null && decoders=1
    [ $decoders -eq 1 ] || echo "    no decoder seen; the program's processes:" \
      "$(own_pids -f 'Glimra\.scr' | xargs -r ps -o pid=,args= -p | paste -sd';')"
    close_window "$SAVER"
    ends_within_ms "$SCR_PID" 3000
  fi
  wine "$beside/Glimra.scr" /c >/dev/null 2>&1 &
  SCR_PID=$!
  local pages=0
  if wait_visible "$DIALOG" 10; then
    for _ in 1 2 3 4 5; do
      xdotool key ctrl+Tab
      pages=$((pages + 1))
    done
    # A screen reader reads a page: the dialog's accessible objects are made.
    wine "$GLIMRA_ROOT/build/windows/e2e_reader.exe" read "$DIALOG" fraSample1 >/dev/null 2>&1
    close_window "$DIALOG"
    ends_within_ms "$SCR_PID" 3000
  fi
  export WINEDLLOVERRIDES=$saved
  expect_match "$(marks_in "$control")" 'version' "the bare program finds the planted DLLs" ||
    return 1
  expect_eq "$(marks_in "$beside")" "" "DLLs loaded from beside the program or its decoder" ||
    return 1
  expect_eq "$shown $decoders $pages" "1 1 5" \
    "the slide show ran in its decoder and every page was shown" || return 1
}
